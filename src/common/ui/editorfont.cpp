#include "common/ui/editorfont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace ordalvex {

QString editorFaceInUse(const QString& face) {
    if (face.isEmpty() || QFontDatabase::hasFamily(face))
        return face;
    QFont wanted(face);
    wanted.setStyleHint(QFont::TypeWriter);
    const QFontInfo substitute(wanted);
    if (substitute.fixedPitch())
        return substitute.family();
    const QFontInfo system(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (system.fixedPitch())
        return system.family();
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (QFontDatabase::isFixedPitch(family))
            return family;
    }
    return face;
}

} // namespace ordalvex
