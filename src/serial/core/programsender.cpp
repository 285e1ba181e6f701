#include "serial/core/programsender.h"

#include "common/core/codepage.h"
#include "serial/core/tcommportdriver.h"

#include <algorithm>

namespace ordalvex {

namespace {

// Longest stretch of one timer slice: the event loop must never wait much longer.
constexpr qint64 kSliceMs = 10;
// Bytes gathered for one write when no delay per line asks for lines one by one: large
// writes keep a fast line busy with few system calls.
constexpr std::size_t kChunkBytes = 16 * 1024;
// How often a held or full line is tried again.
constexpr int kRetryMs = 2;
constexpr qint64 kReportEveryMs = 100;

QString lineRefusal(std::int64_t line, const QString& error) {
    return QStringLiteral("Nie można wysłać wiersza %1: %2").arg(line).arg(error);
}

} // namespace

ProgramSender::ProgramSender(TCommPortDriver& port, ProgramSource& source, const TransferOptions& options,
                             QObject* parent)
    : QObject(parent), m_port(port), m_source(source), m_options(options),
      m_lineEnd(lineEndBytes(options.lineEnd)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ProgramSender::tick);
    connect(&m_port, &TCommPortDriver::portLost, this, [this] {
        finish(TransferOutcome::PortLost,
               QStringLiteral("Połączenie zostało przerwane (urządzenie odłączone lub druga strona "
                              "zamknęła linię). Wysłano %1 wierszy.")
                   .arg(m_progress.lines));
    });
}

ProgramSender::~ProgramSender() = default;

void ProgramSender::start() {
    if (m_running || m_finished)
        return;
    m_running = true;
    m_progress.totalLines = m_source.lineCount();
    m_clock.start();
    m_timer.start(0);
}

void ProgramSender::cancel() {
    if (!m_running)
        return;
    m_port.PurgeBuffers(false, true);
    finish(TransferOutcome::Stopped, QString());
}

TransferProgress ProgramSender::progress() const {
    TransferProgress progress = m_progress;
    const qint64 elapsed = m_clock.isValid() ? m_clock.elapsed() : 0;
    progress.bytesPerSecond = elapsed > 0 ? double(progress.bytes) * 1000.0 / double(elapsed) : 0.0;
    return progress;
}

bool ProgramSender::refill() {
    m_pending.clear();
    m_written = 0;
    m_lineEnds.clear();
    m_nextLineEnd = 0;
    const auto encodeInto = [this](const QString& text) {
        const cp1250::EncodeResult bytes = cp1250::encode(text);
        if (!bytes.ok()) {
            finish(TransferOutcome::Failed,
                   QStringLiteral("Znak \"%1\" tekstu początku lub końca nie ma odpowiednika w "
                                  "stronie kodowej Windows-1250.")
                       .arg(QString::fromUcs4(&bytes.failedChar, 1)));
            return false;
        }
        m_pending += bytes.bytes;
        return true;
    };
    while (m_pending.empty()) {
        switch (m_phase) {
        case Phase::Leader:
            m_pending.assign(static_cast<std::size_t>(m_options.leaderNuls), '\0');
            if (!encodeInto(m_options.leaderText))
                return false;
            m_phase = Phase::Lines;
            break;
        case Phase::Lines: {
            const std::size_t chunk = m_options.lineDelayMs > 0 ? 1 : kChunkBytes;
            while (m_pending.size() < chunk) {
                QString error;
                const ProgramSource::Next next = m_source.next(m_pending, error);
                if (next == ProgramSource::Next::Failed) {
                    finish(TransferOutcome::Failed,
                           lineRefusal(m_progress.lines + std::int64_t(m_lineEnds.size()) + 1, error));
                    return false;
                }
                if (next == ProgramSource::Next::End) {
                    m_phase = Phase::Trailer;
                    break;
                }
                m_pending += m_lineEnd;
                m_lineEnds.push_back(m_pending.size());
            }
            if (m_pending.empty())
                continue; // no line left: on to the trailer
            return true;
        }
        case Phase::Trailer:
            if (!encodeInto(m_options.trailerText))
                return false;
            m_pending.append(static_cast<std::size_t>(m_options.trailerNuls), '\0');
            m_phase = Phase::Drain;
            break;
        case Phase::Drain:
            return true;
        }
    }
    return true;
}

void ProgramSender::tick() {
    if (!m_running)
        return;
    const qint64 sliceEnd = m_clock.elapsed() + kSliceMs;
    for (;;) {
        if (m_written == m_pending.size()) {
            const qint64 now = m_clock.elapsed();
            if (now < m_nextLineAt) {
                m_timer.start(int(std::min<qint64>(m_nextLineAt - now, 50)));
                report(false);
                return;
            }
            // A pause asked for by the delay per line is no stall of the line.
            m_lastProgressAt = std::max(m_lastProgressAt, m_nextLineAt);
            if (m_phase == Phase::Drain) {
                // The program is in the port's queue; it is done once the queue has gone out.
                const std::uint16_t free = m_port.FreeOutputSpace();
                if (free >= m_port.ComPortOutBufSize()) {
                    report(true);
                    finish(TransferOutcome::Done, QString());
                    return;
                }
                // A queue that stops shrinking is a line the far end holds.
                if (free != m_drainFree) {
                    m_drainFree = free;
                    m_lastProgressAt = now;
                }
                setHeld(now - m_lastProgressAt >= kHeldAfterMs ||
                        (m_port.ComPortHwHandshaking() == hhRTSCTS && m_port.CtsHeld()));
                m_timer.start(kRetryMs);
                return;
            }
            if (!refill())
                return;
            continue;
        }
        const auto count = static_cast<std::int32_t>(
            std::min<std::size_t>(m_pending.size() - m_written, std::size_t{1} << 20));
        const std::int32_t written = m_port.WriteAvailable(m_pending.data() + m_written, count);
        if (written < 0)
            return; // portLost has finished the send
        qint64 now = m_clock.elapsed();
        // A full queue on a running line drains within the slice: waiting for it here keeps
        // a fast line busy, where a timer's round trip would leave it idle.
        if (written == 0 && now < sliceEnd && now - m_lastProgressAt < kHeldAfterMs &&
            m_port.WaitWritable(
                int(std::min<qint64>(sliceEnd - now, kHeldAfterMs - (now - m_lastProgressAt)))))
            continue;
        now = m_clock.elapsed();
        if (written == 0) {
            setHeld(now - m_lastProgressAt >= kHeldAfterMs ||
                    (m_port.ComPortHwHandshaking() == hhRTSCTS && m_port.CtsHeld()));
            report(false);
            m_timer.start(kRetryMs);
            return;
        }
        m_lastProgressAt = now;
        setHeld(false);
        m_written += static_cast<std::size_t>(written);
        m_progress.bytes += written;
        while (m_nextLineEnd < m_lineEnds.size() && m_lineEnds[m_nextLineEnd] <= m_written) {
            ++m_nextLineEnd;
            ++m_progress.lines;
            if (m_options.lineDelayMs > 0)
                m_nextLineAt = now + m_options.lineDelayMs;
        }
        if (now >= sliceEnd) {
            report(false);
            m_timer.start(0);
            return;
        }
    }
}

void ProgramSender::setHeld(bool held) {
    if (held == m_progress.held)
        return;
    m_progress.held = held;
    report(true);
}

void ProgramSender::report(bool force) {
    const qint64 now = m_clock.elapsed();
    if (!force && now - m_lastReportAt < kReportEveryMs)
        return;
    m_lastReportAt = now;
    Q_EMIT progressed(progress());
}

void ProgramSender::finish(TransferOutcome outcome, const QString& message) {
    if (m_finished)
        return;
    m_finished = true;
    m_running = false;
    m_timer.stop();
    Q_EMIT finished(outcome, message);
}

} // namespace ordalvex
