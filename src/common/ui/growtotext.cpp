#include "common/ui/growtotext.h"

#include <algorithm>

#include <QWidget>

namespace ordalvex {

void placeGrown(QWidget* control, const QRect& intended, Qt::Orientations growth) {
    const QSize hint = control->sizeHint();
    const int height = growth & Qt::Vertical ? std::max(intended.height(), hint.height()) : intended.height();
    control->setGeometry(intended.x(), intended.y(), std::max(intended.width(), hint.width()), height);
}

int clearOf(int intended, std::initializer_list<const QWidget*> before, int gap) {
    int x = intended;
    for (const QWidget* widget : before)
        x = std::max(x, widget->geometry().right() + 1 + gap);
    return x;
}

int clearBelow(int intended, std::initializer_list<const QWidget*> above, int gap) {
    int y = intended;
    for (const QWidget* widget : above)
        y = std::max(y, widget->geometry().bottom() + 1 + gap);
    return y;
}

QSize grownSize(const QSize& intended, std::initializer_list<const QWidget*> controls, int margin) {
    QSize size = intended;
    for (const QWidget* control : controls) {
        const QRect place = control->geometry();
        size = size.expandedTo(QSize(place.right() + 1 + margin, place.bottom() + 1 + margin));
    }
    return size;
}

} // namespace ordalvex
