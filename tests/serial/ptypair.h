#pragma once

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTest>

namespace ordalvex::testing {

// A pseudo-terminal pair standing in for a serial line: the driver opens the far end
// (slavePath()), the test reads and writes the master side like a machine control would.
class PtyPair {
public:
    PtyPair() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        char name[128] = {};
        if (ptsname_r(m_master, name, sizeof name) == 0)
            m_slavePath = QString::fromLocal8Bit(name);
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    int master() const { return m_master; }
    const QString& slavePath() const { return m_slavePath; }

    void closeMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    bool write(const QByteArray& bytes) {
        return ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }

    // Everything that arrives on the master side within `milliseconds` of quiet.
    QByteArray readAll(int milliseconds = 100) {
        QByteArray all;
        char buffer[4096];
        for (;;) {
            pollfd state{m_master, POLLIN, 0};
            if (::poll(&state, 1, milliseconds) <= 0)
                return all;
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                return all;
            all.append(buffer, static_cast<qsizetype>(n));
        }
    }

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace ordalvex::testing
