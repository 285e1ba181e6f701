#include "common/ui/widgethelpers.h"

#include "common/ui/growtotext.h"
#include "common/ui/limitedfield.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ordalvex {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                        Qt::Orientations growth) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    if (!place.isEmpty())
        placeGrown(button, place, growth);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QPoint& at) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->adjustSize();
    label->move(at);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, const QString& text, int maxLength) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        limitTyping(field, maxLength);
    return field;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void keepSelectionVisible(QWidget* widget) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    widget->setPalette(palette);
}

} // namespace ordalvex
