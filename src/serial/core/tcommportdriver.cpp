#include "serial/core/tcommportdriver.h"

#include "serial/core/lineattributes.h"
#include "serial/core/linespeed.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>

namespace ordalvex {

namespace {

// Windows never polls faster than every 10 ms; a shorter period would only burn the
// processor on the interface thread.
constexpr int kShortestPollPeriod = 10;

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

void setModemLine(int fd, int line, bool on) {
    // Errors are ignored: a pseudo-terminal, for one, has no modem lines.
    (void)ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

unsigned bitsPerSecond(TComPortBaudRate rate) {
    static constexpr unsigned kRates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                          14400, 19200, 38400, 56000, 57600, 115200};
    return rate <= br115200 ? kRates[rate] : 9600;
}

PortDevicePaths defaultPortDevicePaths() {
    return {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1"), QStringLiteral("/dev/ttyS2"),
            QStringLiteral("/dev/ttyS3")};
}

TCommPortDriver::TCommPortDriver(QObject* parent)
    : QObject(parent), m_devicePaths(defaultPortDevicePaths()), m_receiveBuffer(m_inBufSize) {
    connect(&m_pollTimer, &QTimer::timeout, this, &TCommPortDriver::poll);
}

TCommPortDriver::~TCommPortDriver() {
    ClosePort();
}

void TCommPortDriver::setComPort(TComPortNumber port) {
    if (!IsOpen() && port <= pnCOM4)
        m_comPort = port;
}

void TCommPortDriver::setComPortInBufSize(std::uint16_t size) {
    if (IsOpen())
        return;
    m_inBufSize = size;
    std::vector<char>(size).swap(m_receiveBuffer);
}

void TCommPortDriver::setComPortPollingDelay(std::uint16_t milliseconds) {
    if (milliseconds == m_pollingDelay)
        return;
    m_pollingDelay = milliseconds;
    if (IsOpen())
        restartTimer();
}

bool TCommPortDriver::OpenPort() {
    if (IsOpen())
        return true;
    const QString& path = m_devicePaths[m_comPort];
    if (path.isEmpty()) {
        m_lastOpenError = ENODEV;
        return false;
    }
    // Non-blocking, so that neither the open (waiting for a carrier) nor a read or write can
    // ever hold the interface thread.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_lastOpenError = errno;
        return false;
    }
    // A file that is not a terminal is no port; a lock held by another program means the
    // port is in use (exclusive terminal mode alone does not stop a privileged process).
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastOpenError = isatty(fd) ? EBUSY : ENOTTY;
        ::close(fd);
        return false;
    }
    m_lastOpenError = 0;
    (void)ioctl(fd, TIOCEXCL);
    m_fd = fd;
    ConfigurePort();
    restartTimer();
    return true;
}

void TCommPortDriver::ClosePort() {
    if (!IsOpen())
        return;
    m_pollTimer.stop();
    (void)ioctl(m_fd, TIOCNXCL);
    ::close(m_fd); // also drops the lock
    m_fd = -1;
}

void TCommPortDriver::ConfigurePort() {
    if (!IsOpen())
        return;
    termios current{};
    (void)tcgetattr(m_fd, &current);
    const LineAttributes line = lineAttributes(current, m_line);
    (void)tcsetattr(m_fd, TCSANOW, &line.attributes);
    if (line.arbitrarySpeed != 0)
        (void)setArbitraryLineSpeed(m_fd, line.arbitrarySpeed);
    setModemLine(m_fd, TIOCM_DTR, m_enableDtrOnOpen);
    setModemLine(m_fd, TIOCM_RTS, m_line.hwHandshaking == hhRTSCTS);
    PurgeBuffers(true, true);
}

void TCommPortDriver::PurgeBuffers(bool input, bool output) {
    if (!IsOpen() || (!input && !output))
        return;
    (void)tcflush(m_fd, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

std::uint16_t TCommPortDriver::FreeOutputSpace() {
    if (!IsOpen())
        return 65535;
    int queued = 0;
    if (ioctl(m_fd, TIOCOUTQ, &queued) != 0)
        queued = 0;
    // A platform queue larger than ComPortOutBufSize must read as full, not wrap around.
    return queued >= m_outBufSize ? 0 : static_cast<std::uint16_t>(m_outBufSize - std::max(queued, 0));
}

std::int32_t TCommPortDriver::SendBytes(const char* data, std::int32_t count) {
    if (!IsOpen() || data == nullptr || count <= 0)
        return 0;
    std::int32_t sent = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (sent < count) {
        const std::uint16_t free = FreeOutputSpace();
        if (free > 0) {
            const auto chunk = static_cast<std::size_t>(std::min<std::int32_t>(free, count - sent));
            const ssize_t written = ::write(m_fd, data + sent, chunk);
            if (written > 0) {
                sent += static_cast<std::int32_t>(written);
                sinceProgress.restart();
                continue;
            }
            if (written < 0 && !wouldBlock(errno)) {
                loseTheLine();
                return -sent;
            }
        }
        if (sinceProgress.elapsed() > m_outputTimeout)
            return -sent;
        // The queue drains at line speed; a millisecond's sleep instead of spinning keeps the
        // wait as short while leaving the processor to others.
        (void)::poll(nullptr, 0, 1);
    }
    return sent;
}

std::int32_t TCommPortDriver::WriteAvailable(const char* data, std::int32_t count) {
    if (!IsOpen())
        return -1;
    if (data == nullptr || count <= 0)
        return 0;
    const ssize_t written = ::write(m_fd, data, static_cast<std::size_t>(count));
    if (written >= 0)
        return static_cast<std::int32_t>(written);
    if (wouldBlock(errno))
        return 0;
    loseTheLine();
    return -1;
}

bool TCommPortDriver::WaitWritable(int milliseconds) {
    if (!IsOpen())
        return false;
    pollfd state{m_fd, POLLOUT, 0};
    return ::poll(&state, 1, std::max(milliseconds, 0)) > 0 && (state.revents & POLLOUT) != 0;
}

bool TCommPortDriver::CtsHeld() {
    int lines = 0;
    return IsOpen() && ioctl(m_fd, TIOCMGET, &lines) == 0 && (lines & TIOCM_CTS) == 0;
}

void TCommPortDriver::SetDtrLine(bool on) {
    if (IsOpen())
        setModemLine(m_fd, TIOCM_DTR, on);
}

void TCommPortDriver::SetRtsLine(bool on) {
    if (IsOpen())
        setModemLine(m_fd, TIOCM_RTS, on);
}

void TCommPortDriver::poll() {
    if (!IsOpen())
        return;
    const ssize_t received = ::read(m_fd, m_receiveBuffer.data(), m_receiveBuffer.size());
    if (received > 0) {
        if (m_onReceiveData)
            m_onReceiveData(*this, m_receiveBuffer.data(), static_cast<std::int32_t>(received));
        return;
    }
    if (received < 0) {
        if (!wouldBlock(errno))
            loseTheLine();
        return;
    }
    // An empty read is what an idle line gives, but also what a hung-up terminal (an adapter
    // pulled out, the far end of a pseudo-terminal closed) gives for ever.
    pollfd state{m_fd, POLLIN, 0};
    if (::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        loseTheLine();
}

void TCommPortDriver::restartTimer() {
    m_pollTimer.stop();
    m_pollTimer.start(std::max<int>(m_pollingDelay, kShortestPollPeriod));
}

void TCommPortDriver::loseTheLine() {
    ClosePort();
    Q_EMIT portLost();
}

} // namespace ordalvex
