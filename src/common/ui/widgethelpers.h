#pragma once

#include <QPalette>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace ordalvex {

// The controls the windows make many of, each named (objectName `name`, which tests and
// settings find it by) and shown in `parent`.

// A push button showing `caption`. Placed at `place` by placeGrown() with `growth` unless
// `place` is empty (a layout places it then). It never takes Enter on its own: in a dialog
// every push button would otherwise take Enter typed into an edit field.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place = {},
                        Qt::Orientations growth = Qt::Horizontal | Qt::Vertical);

// A label showing `caption`, as large as its text, with its top left corner at `at`.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QPoint& at = {});

// A one-line field showing `text`, in which the user may type at most `maxLength` characters
// (limitTyping(); 0 for no limit).
QLineEdit* makeField(QWidget* parent, const char* name, const QString& text = {}, int maxLength = 0);

// A radio button showing `caption`.
QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption);

// Sets the colour of `role` in the widget's own palette, leaving its other colours alone.
void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// Keeps a selection drawn as when focused after the widget loses the focus.
void keepSelectionVisible(QWidget* widget);

} // namespace ordalvex
