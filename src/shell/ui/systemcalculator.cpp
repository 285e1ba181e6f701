#include "shell/ui/systemcalculator.h"

#include "common/core/filebytes.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace ordalvex {

namespace {

#ifdef Q_OS_WIN
bool processRuns(qint64 pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return false;
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

void endProcess(qint64 pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}
#else
bool processRuns(qint64 pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // An ended process whose parent does not reap it still answers kill(); its state says Z.
    const std::optional<QByteArray> line = readWholeFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype afterName = line ? line->lastIndexOf(')') : -1;
    return afterName < 0 || afterName + 2 >= line->size() || line->at(afterName + 2) != 'Z';
}

void endProcess(qint64 pid) {
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}
#endif

} // namespace

QList<SystemCalculator::Candidate> SystemCalculator::defaultCandidates() {
#ifdef Q_OS_WIN
    return {{QStringLiteral("calc.exe")}};
#else
    return {{QStringLiteral("gnome-calculator")},
            {QStringLiteral("kcalc")},
            {QStringLiteral("galculator")},
            {QStringLiteral("mate-calc")},
            {QStringLiteral("xcalc")}};
#endif
}

SystemCalculator::SystemCalculator(QList<Candidate> candidates, QObject* parent)
    : QObject(parent), m_candidates(std::move(candidates)) {
}

SystemCalculator::~SystemCalculator() {
    close();
}

bool SystemCalculator::isRunning() const {
    return m_pid > 0 && processRuns(m_pid);
}

QStringList SystemCalculator::programNames() const {
    QStringList names;
    for (const Candidate& candidate : m_candidates) {
        if (!candidate.isEmpty())
            names.append(candidate.first());
    }
    return names;
}

qint64 SystemCalculator::processId() const {
    return isRunning() ? m_pid : 0;
}

bool SystemCalculator::show() {
    // A foreign window cannot be raised portably; not starting a second one is what matters.
    if (isRunning())
        return true;
    m_pid = 0;
    for (const Candidate& candidate : m_candidates) {
        if (candidate.isEmpty())
            continue;
        const QString program = QStandardPaths::findExecutable(candidate.first());
        if (program.isEmpty())
            continue;
        QProcess process;
        process.setProgram(program);
        process.setArguments(candidate.mid(1));
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        qint64 pid = 0;
        if (process.startDetached(&pid) && pid > 0) {
            m_pid = pid;
            return true;
        }
    }
    return false;
}

void SystemCalculator::close() {
    if (isRunning())
        endProcess(m_pid);
    m_pid = 0;
}

} // namespace ordalvex
