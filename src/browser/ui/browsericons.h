#pragma once

#include <QIcon>

namespace ordalvex {

// The icons of the browser's list lines, one per kind of line.
struct LineIcons {
    QIcon folder;
    QIcon file;
    QIcon program;
    QIcon comment;
};

// Draws the icons (16 x 16, the program's own design); needs a running application.
LineIcons drawLineIcons();

} // namespace ordalvex
