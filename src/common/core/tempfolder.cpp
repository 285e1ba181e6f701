#include "common/core/tempfolder.h"

#include <QDir>
#include <QTemporaryDir>

namespace ordalvex {

QString privateTempDir() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ordalvex-XXXXXX"));
    return folder.isValid() ? folder.path() + QLatin1Char('/') : QString();
}

} // namespace ordalvex
