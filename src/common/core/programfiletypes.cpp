#include "common/core/programfiletypes.h"

#include <algorithm>

namespace ordalvex {

namespace {

// Where the extension of the file name in `path` begins (at its dot), or the path's length.
qsizetype extensionStart(const QString& path) {
    const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > nameStart ? dot : path.size();
}

} // namespace

QString cncProgramMasks() {
    return QStringLiteral("*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia");
}

QString cncProgramFilter() {
    return QStringLiteral("Programy CNC (%1)").arg(cncProgramMasks());
}

QString extensionOf(const QString& path) {
    return path.mid(extensionStart(path));
}

QString withExtension(const QString& path, const QString& extension) {
    return path.left(extensionStart(path)) + extension;
}

} // namespace ordalvex
