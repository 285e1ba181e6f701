#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace ordalvex::testing {

// What cuts or covers the texts of `window`'s visible labels, radio buttons, check boxes and
// buttons as the running system's fonts draw them: a control narrower than its size hint, a
// text running past the edge of the control's parent, or a visible sibling lying over the
// text. One line per fault, empty when every text shows whole. Render the window first.
inline QStringList textsCutOrCovered(const QWidget* window) {
    QStringList faults;
    const auto name = [](const QWidget* widget) {
        const QString text = widget->property("text").toString();
        return QStringLiteral("%1 \"%2\"").arg(widget->objectName(), text);
    };
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        if ((!label && !button) || !control->isVisibleTo(window))
            continue;
        if (control->property("text").toString().isEmpty() || (label && label->wordWrap()))
            continue;
        const QSize hint = control->sizeHint();
        if (control->width() < hint.width())
            faults << QStringLiteral("%1 is %2 pixels wide, its text needs %3")
                          .arg(name(control))
                          .arg(control->width())
                          .arg(hint.width());
        const QRect text(control->pos(), QSize(std::min(control->width(), hint.width()), control->height()));
        const QWidget* parent = control->parentWidget();
        if (!parent->rect().contains(text))
            faults << QStringLiteral("%1 runs past the edge of %2").arg(name(control), parent->objectName());
        for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == control || !sibling->isVisibleTo(window) || sibling->isWindow())
                continue;
            if (sibling->geometry().intersects(text))
                faults << QStringLiteral("%1 is covered by %2").arg(name(control), name(sibling));
        }
    }
    return faults;
}

} // namespace ordalvex::testing
