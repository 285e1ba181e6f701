#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ordalvex::testing {

// A folder in which no file can be created while the given files in it stay writable, as a
// shared program folder often is, for the calling thread and the lifetime of the object.
// As root, who may write anywhere, the thread's file-system user becomes an unprivileged one
// who owns the files but not the folder; another user write-protects the folder. `active()`
// is false (with `reason()`) where neither is possible; the caller then skips.
class LockedFolder {
public:
    LockedFolder(const QString& folder, const QStringList& writableFiles) : m_folder(folder) {
#ifdef Q_OS_LINUX
        const QByteArray path = QFile::encodeName(folder);
        if (geteuid() == 0) {
            m_switchUser = true;
            // The unprivileged user must reach the folder and write the files, not more.
            if (chmod(path.constData(), 0755) != 0) {
                m_reason = QStringLiteral("cannot open the folder to other users");
                return;
            }
            for (const QString& file : writableFiles) {
                const QByteArray name = QFile::encodeName(file);
                if (chown(name.constData(), kUnprivileged, kUnprivileged) != 0 ||
                    chmod(name.constData(), 0644) != 0) {
                    m_reason = QStringLiteral("cannot hand the files to an unprivileged user");
                    return;
                }
            }
            setfsuid(kUnprivileged);
            if (setfsuid(static_cast<uid_t>(-1)) != kUnprivileged) {
                m_reason = QStringLiteral("setfsuid is not permitted here");
                return;
            }
        } else if (chmod(path.constData(), 0555) != 0) {
            m_reason = QStringLiteral("cannot write-protect the folder");
            return;
        }
        m_locked = true;
        // Whatever the set-up, the test needs exactly this: no new file, the files writable.
        const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/probe.tmp"));
        const int created = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (created >= 0) {
            ::close(created);
            ::unlink(probe.constData());
            m_reason = QStringLiteral("a file could still be created in the folder");
            return;
        }
        for (const QString& file : writableFiles) {
            const int opened = ::open(QFile::encodeName(file).constData(), O_WRONLY);
            if (opened < 0) {
                m_reason = QStringLiteral("a file of the folder is not writable");
                return;
            }
            ::close(opened);
        }
        m_active = true;
#else
        Q_UNUSED(writableFiles);
        m_reason = QStringLiteral("needs Linux file-system users");
#endif
    }

    ~LockedFolder() {
        unlock();
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

    bool active() const {
        return m_active;
    }
    QString reason() const {
        return m_reason;
    }

    // Gives the folder back to its owner (also done when the object goes).
    void unlock() {
#ifdef Q_OS_LINUX
        if (m_switchUser)
            setfsuid(0);
        if (m_locked && !m_switchUser)
            chmod(QFile::encodeName(m_folder).constData(), 0700);
#endif
        m_switchUser = false;
        m_locked = false;
        m_active = false;
    }

private:
#ifdef Q_OS_LINUX
    static constexpr uid_t kUnprivileged = 65534; // "nobody" on Debian
#endif
    QString m_folder;
    QString m_reason;
    bool m_switchUser = false;
    bool m_locked = false;
    bool m_active = false;
};

} // namespace ordalvex::testing
