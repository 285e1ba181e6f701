#pragma once

#include <initializer_list>

#include <QRect>
#include <QSize>

class QWidget;

namespace ordalvex {

// Windows laid out at fixed places keep those places as their design, and let a control grow
// where the fonts of the running system need more room for its text than the design gave it.
// Controls to its right or below move aside as far as it grew, and the window grows with them.

// Sets `control` at `intended`, made at least as wide and, unless only Qt::Horizontal growth is
// asked for (a control in a bar of fixed height), as high as its size hint.
void placeGrown(QWidget* control, const QRect& intended,
                Qt::Orientations growth = Qt::Horizontal | Qt::Vertical);

// The x at which a control meant for `intended` starts: there, or `gap` pixels right of the
// furthest right edge of `before` (controls left of it that grew into its place).
int clearOf(int intended, std::initializer_list<const QWidget*> before, int gap);

// The y at which a control meant for `intended` starts: there, or `gap` pixels below the
// lowest edge of `above`.
int clearBelow(int intended, std::initializer_list<const QWidget*> above, int gap);

// `intended` (a window's client size) grown so that `controls` fit in it with `margin` pixels
// to spare at the right and at the bottom.
QSize grownSize(const QSize& intended, std::initializer_list<const QWidget*> controls, int margin);

} // namespace ordalvex
