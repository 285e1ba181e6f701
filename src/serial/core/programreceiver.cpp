#include "serial/core/programreceiver.h"

#include "common/core/codepage.h"
#include "serial/core/tcommportdriver.h"

namespace ordalvex {

namespace {

constexpr qint64 kReportEveryMs = 100;

bool blank(unsigned char byte) {
    return byte == 0 || byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == 0x11 ||
           byte == 0x13;
}

} // namespace

ProgramReceiver::ProgramReceiver(TCommPortDriver& port, const TransferOptions& options, QObject* parent)
    : QObject(parent), m_port(port), m_options(options) {
    if (!options.endCharacter.isEmpty()) {
        if (const auto byte = cp1250::fromUnicode(options.endCharacter.front().unicode()))
            m_endByte = *byte;
    }
    m_silence.setSingleShot(true);
    m_grace.setSingleShot(true);
    connect(&m_silence, &QTimer::timeout, this, [this] { finish(TransferOutcome::TimedOut, QString()); });
    connect(&m_grace, &QTimer::timeout, this, [this] { finish(TransferOutcome::Done, QString()); });
    connect(&m_port, &TCommPortDriver::portLost, this, [this] {
        finish(TransferOutcome::PortLost,
               QStringLiteral("Połączenie zostało przerwane (urządzenie odłączone lub druga strona "
                              "zamknęła linię). Odebrano %1 bajtów.")
                   .arg(m_bytes.size()));
    });
}

ProgramReceiver::~ProgramReceiver() {
    m_port.setOnReceiveData({});
}

void ProgramReceiver::start() {
    if (m_running || m_finished)
        return;
    m_running = true;
    m_clock.start();
    m_port.setOnReceiveData(
        [this](TCommPortDriver&, const char* data, std::int32_t size) { take(data, size); });
}

void ProgramReceiver::stop() {
    finish(TransferOutcome::Stopped, QString());
}

TransferProgress ProgramReceiver::progress() const {
    TransferProgress progress;
    progress.lines = m_lines;
    progress.bytes = static_cast<std::int64_t>(m_bytes.size());
    const qint64 elapsed = m_clock.isValid() ? m_clock.elapsed() : 0;
    progress.bytesPerSecond = elapsed > 0 ? double(progress.bytes) * 1000.0 / double(elapsed) : 0.0;
    return progress;
}

void ProgramReceiver::take(const char* data, std::int32_t size) {
    if (!m_running)
        return;
    for (std::int32_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        const char previous = m_bytes.empty() ? '\0' : m_bytes.back();
        if (m_ending) {
            if (byte != '\r' && byte != '\n') {
                finish(TransferOutcome::Done, QString());
                return;
            }
            m_bytes += char(byte);
            if (byte == '\r' || previous != '\r')
                ++m_lines;
            if (byte == '\n') {
                finish(TransferOutcome::Done, QString());
                return;
            }
            continue;
        }
        m_bytes += char(byte);
        if (byte == '\r' || (byte == '\n' && previous != '\r'))
            ++m_lines;
        if (int(byte) == m_endByte) {
            if (m_sawProgram) {
                m_ending = true;
                m_silence.stop();
                m_grace.start(kLineEndGraceMs);
            }
        } else if (!blank(byte)) {
            m_sawProgram = true;
        }
    }
    if (!m_ending && m_options.silenceTimeoutS > 0)
        m_silence.start(m_options.silenceTimeoutS * 1000);
    const qint64 now = m_clock.elapsed();
    if (now - m_lastReportAt >= kReportEveryMs) {
        m_lastReportAt = now;
        Q_EMIT progressed(progress());
    }
}

void ProgramReceiver::finish(TransferOutcome outcome, const QString& message) {
    if (m_finished)
        return;
    m_finished = true;
    m_running = false;
    m_silence.stop();
    m_grace.stop();
    // The handler stays bound (this may run inside it) and ignores whatever comes later.
    Q_EMIT progressed(progress());
    Q_EMIT finished(outcome, message);
}

} // namespace ordalvex
