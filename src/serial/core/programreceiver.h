#pragma once

#include "serial/core/programsender.h"
#include "serial/core/transferoptions.h"

#include <string>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace ordalvex {

class TCommPortDriver;

// Receives a program from an open port, taking the bytes the driver's poll delivers (it
// becomes the driver's OnReceiveData) and keeping every byte as it came. It ends:
// - at the options' end character that follows program text: a "%" that opens the tape
//   (nothing but blanks, NULs and line ends before it) does not end it, the next one does;
//   the end character and the line end right after it are kept, anything later is not;
// - when the line stays silent for the options' time-out after the first byte (TimedOut);
// - when the user stops it (Stopped), or the port is lost (PortLost).
// The port must outlive the receiver.
class ProgramReceiver : public QObject {
    Q_OBJECT
public:
    ProgramReceiver(TCommPortDriver& port, const TransferOptions& options, QObject* parent = nullptr);
    ~ProgramReceiver() override;

    // Starts listening (once).
    void start();
    // Ends the receive as the user asks: finished(Stopped), what came so far kept.
    void stop();
    bool isRunning() const { return m_running; }

    TransferProgress progress() const;
    // The bytes received so far; all of them once finished.
    const std::string& bytes() const { return m_bytes; }

    // How long after the end character a line end that belongs to it is waited for.
    static constexpr int kLineEndGraceMs = 200;

Q_SIGNALS:
    // At most every 100 ms while bytes come.
    void progressed(const ordalvex::TransferProgress& progress);
    // Once; message in Polish for PortLost, empty otherwise.
    void finished(ordalvex::TransferOutcome outcome, const QString& message);

private:
    void take(const char* data, std::int32_t size);
    void finish(TransferOutcome outcome, const QString& message);

    TCommPortDriver& m_port;
    TransferOptions m_options;
    int m_endByte = -1; // the end character's byte, -1 for none
    std::string m_bytes;
    QTimer m_silence;
    QTimer m_grace;
    QElapsedTimer m_clock;
    qint64 m_lastReportAt = -1000;
    std::int64_t m_lines = 0;
    bool m_sawProgram = false; // a byte other than blanks, NULs, line ends and the end character came
    bool m_ending = false;     // the end character came; only its line end is still taken
    bool m_running = false;
    bool m_finished = false;
};

} // namespace ordalvex
