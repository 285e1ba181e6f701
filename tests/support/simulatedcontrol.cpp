#include "simulatedcontrol.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace ordalvex::testing {

namespace {

long long milliseconds(std::chrono::steady_clock::time_point at) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

} // namespace

SimulatedControl::SimulatedControl(int masterFd, Options options) : m_fd(masterFd), m_options(options) {
    m_thread = std::thread([this] { run(); });
}

SimulatedControl::~SimulatedControl() {
    stop();
}

void SimulatedControl::play(const QByteArray& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_toPlay += bytes;
}

void SimulatedControl::stop() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

int SimulatedControl::pausedForMs() const {
    const long long since = m_pausedSinceMs;
    return since < 0 ? -1 : int(milliseconds(std::chrono::steady_clock::now()) - since);
}

QByteArray SimulatedControl::received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void SimulatedControl::run() {
    using Clock = std::chrono::steady_clock;
    double buffered = 0;
    bool paused = false;
    Clock::time_point last = Clock::now();
    Clock::time_point pausedAt{};
    char chunk[4096];
    while (!m_stop) {
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        buffered = std::max(0.0, buffered - seconds * m_options.bytesPerSecond);

        if (m_options.xonXoff && !paused && buffered >= m_options.xoffAt) {
            (void)::write(m_fd, "\x13", 1);
            paused = true;
            pausedAt = now;
            m_pausedSinceMs = milliseconds(now);
            ++m_pauses;
        } else if (paused && buffered <= m_options.xonAt &&
                   now - pausedAt >= std::chrono::milliseconds(m_options.holdMs)) {
            m_pausedSinceMs = -1;
            (void)::write(m_fd, "\x11", 1);
            paused = false;
        }

        const int room = m_options.bufferSize - int(buffered);
        bool busy = false;
        if (room > 0) {
            const ssize_t n = ::read(m_fd, chunk, std::min<std::size_t>(sizeof chunk, std::size_t(room)));
            if (n > 0) {
                busy = true;
                buffered += double(n);
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.append(chunk, n);
            }
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_toPlay.isEmpty()) {
                const ssize_t n = ::write(m_fd, m_toPlay.constData(),
                                          std::size_t(std::min<qsizetype>(m_toPlay.size(), 4096)));
                if (n > 0)
                    m_toPlay.remove(0, n);
            }
        }
        if (!busy)
            (void)::poll(nullptr, 0, 1);
    }
}

} // namespace ordalvex::testing
