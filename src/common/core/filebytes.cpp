#include "common/core/filebytes.h"

#include <cerrno>

#include <QFile>
#include <QSaveFile>

namespace ordalvex {

std::optional<QByteArray> readWholeFile(const QString& path, QString* error) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

FileWriteResult writeFileSafely(const QString& path, std::string_view bytes) {
    FileWriteResult result;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = FileWriteResult::CannotCreate;
        result.errorNumber = errno;
        result.systemMessage = file.errorString();
        return result;
    }
    // The error number is taken right after the call that failed, before cleanup overwrites it.
    errno = 0;
    const auto size = static_cast<qint64>(bytes.size());
    bool ok = file.write(bytes.data(), size) == size;
    ok = ok && file.flush();
    int error = errno;
    if (ok) {
        errno = 0;
        ok = file.commit();
        error = errno;
    } else {
        file.cancelWriting();
    }
    if (!ok) {
        result.status = FileWriteResult::WriteFailed;
        result.errorNumber = error;
        result.systemMessage = file.errorString();
    }
    return result;
}

QString fileWriteErrorText(const QString& path, const FileWriteResult& result) {
    switch (result.status) {
    case FileWriteResult::Written:
        return {};
    case FileWriteResult::CannotCreate:
        return QStringLiteral("Nie można utworzyć pliku \"%1\".\r%2").arg(path, result.systemMessage);
    case FileWriteResult::WriteFailed:
        break;
    }
    QString text = QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(result.errorNumber);
    if (!result.previousKept)
        text += QStringLiteral("\rPlik \"%1\" może być niekompletny.").arg(path);
    return text;
}

} // namespace ordalvex
