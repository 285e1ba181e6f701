#pragma once

#include <QIcon>
#include <QString>

namespace ordalvex {

// The small picture of a main window tool button, drawn in code (24 x 24 pixels), for the
// button's component name; a plain frame for a name it does not know.
QIcon commandGlyph(const QString& buttonName);

} // namespace ordalvex
