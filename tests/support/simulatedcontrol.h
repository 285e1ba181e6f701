#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include <QByteArray>

namespace ordalvex::testing {

// A machine control at the far end of a serial line (the master side of a pseudo-terminal):
// it takes bytes into a small buffer, works them off at a fixed rate, sends XOFF when the
// buffer is nearly full and XON once it has drained, and records everything it took. It can
// also play bytes back down the line, as a control sending a program. Runs on a thread of its
// own until stop() or destruction.
class SimulatedControl {
public:
    struct Options {
        int bytesPerSecond = 200000; // rate the buffer is worked off
        int bufferSize = 256;        // bytes the control holds
        int xoffAt = 200;            // buffer fill that sends XOFF (with xonXoff)
        int xonAt = 32;              // buffer fill that sends XON again
        bool xonXoff = true;
        int holdMs = 0; // least time between an XOFF and the XON after it
    };
    SimulatedControl(int masterFd, Options options);
    ~SimulatedControl();
    SimulatedControl(const SimulatedControl&) = delete;
    SimulatedControl& operator=(const SimulatedControl&) = delete;

    // Queues bytes to be written down the line to the port.
    void play(const QByteArray& bytes);
    void stop();

    QByteArray received() const;
    int pauses() const { return m_pauses; }
    // Milliseconds since the XOFF now in force, or -1 while the line runs.
    int pausedForMs() const;

private:
    void run();

    int m_fd;
    Options m_options;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QByteArray m_received;
    QByteArray m_toPlay;
    std::atomic<int> m_pauses{0};
    std::atomic<long long> m_pausedSinceMs{-1}; // steady clock, -1 while the line runs
};

} // namespace ordalvex::testing
