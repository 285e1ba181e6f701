#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

namespace ordalvex {

// The desktop's own calculator, started on demand as a process detached from the editor.
// It is started at most once while it runs; the editor closes it when it ends.
class SystemCalculator : public QObject {
    Q_OBJECT
public:
    // Each candidate is a program name (looked up on PATH) followed by its arguments.
    using Candidate = QStringList;

    // The calculators tried, in order: the common Linux desktops' ones, calc.exe on Windows.
    static QList<Candidate> defaultCandidates();

    explicit SystemCalculator(QList<Candidate> candidates = defaultCandidates(), QObject* parent = nullptr);
    ~SystemCalculator() override; // closes the calculator

    // Shows the calculator: when the one started earlier still runs nothing new is started;
    // otherwise the first candidate that is found and starts is started. Returns whether a
    // calculator runs afterwards; failing to start one is silent.
    bool show();
    bool isRunning() const;
    // The program names looked for, in order (the first word of each candidate).
    QStringList programNames() const;
    // The process id of the running calculator, 0 when none runs.
    qint64 processId() const;
    // Ends the calculator started by show(), if it still runs.
    void close();

private:
    QList<Candidate> m_candidates;
    qint64 m_pid = 0;
};

} // namespace ordalvex
