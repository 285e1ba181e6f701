#pragma once

#include "serial/core/programsource.h"
#include "serial/core/transferoptions.h"

#include <cstdint>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace ordalvex {

class TCommPortDriver;

// Where a send or receive stands, for a progress window or a progress line.
struct TransferProgress {
    std::int64_t lines = 0;       // lines sent (wholly written) or received
    std::int64_t totalLines = -1; // lines to send; -1 when unknown (and when receiving)
    std::int64_t bytes = 0;       // bytes written to or read from the port
    double bytesPerSecond = 0;    // average since the start
    bool held = false;            // the far end holds the line (XOFF, CTS low or a full line)
};

// The outcome of a send or receive.
enum class TransferOutcome {
    Done,     // all sent; or received up to the end character
    TimedOut, // receive: the line fell silent for the time-out after the first byte
    Stopped,  // ended by the user: a send cancelled, a receive stopped
    PortLost, // the port failed (adapter pulled, far end gone); the driver has closed it
    Failed    // the program could not be sent (a line the code page cannot hold)
};

// Sends a program over an open port line by line with the options' line end, leader,
// trailer and delay per line. Streaming and non-blocking: a timer on the owning thread writes
// what the port takes in slices of at most about 10 ms, so the event loop keeps running; the
// port's own flow control (XON/XOFF, RTS/CTS, set up in the driver) pauses the writes.
// The source is read once, line by line, and must outlive the sender.
class ProgramSender : public QObject {
    Q_OBJECT
public:
    ProgramSender(TCommPortDriver& port, ProgramSource& source, const TransferOptions& options,
                  QObject* parent = nullptr);
    ~ProgramSender() override;

    // Starts sending (once); finished() follows later, never within this call.
    void start();
    // Stops: what the port still holds in its output queue is discarded; finished(Stopped).
    // Nothing after the end.
    void cancel();
    bool isRunning() const { return m_running; }

    TransferProgress progress() const;
    // Milliseconds without a byte taken after which the line counts as held.
    static constexpr int kHeldAfterMs = 100;

Q_SIGNALS:
    // At most every 100 ms, and whenever the held state changes.
    void progressed(const ordalvex::TransferProgress& progress);
    // Once; message in Polish for PortLost and Failed, empty otherwise.
    void finished(ordalvex::TransferOutcome outcome, const QString& message);

private:
    enum class Phase { Leader, Lines, Trailer, Drain };
    void tick();
    bool refill();
    void setHeld(bool held);
    void finish(TransferOutcome outcome, const QString& message);
    void report(bool force);

    TCommPortDriver& m_port;
    ProgramSource& m_source;
    TransferOptions m_options;
    std::string m_lineEnd;
    QTimer m_timer;
    QElapsedTimer m_clock;
    Phase m_phase = Phase::Leader;
    std::string m_pending;               // bytes taken from the source, not yet written
    std::size_t m_written = 0;           // of m_pending
    std::vector<std::size_t> m_lineEnds; // offsets in m_pending just past each line's end
    std::size_t m_nextLineEnd = 0;       // index into m_lineEnds
    qint64 m_lastProgressAt = 0;
    int m_drainFree = -1; // free output space last seen while the queue drains
    qint64 m_lastReportAt = -1000;
    qint64 m_nextLineAt = 0;
    TransferProgress m_progress;
    bool m_running = false;
    bool m_finished = false;
};

} // namespace ordalvex

Q_DECLARE_METATYPE(ordalvex::TransferProgress)
Q_DECLARE_METATYPE(ordalvex::TransferOutcome)
