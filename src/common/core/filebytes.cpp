#include "common/core/filebytes.h"

#include <QFile>

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

} // namespace ordalvex
