#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

namespace ordalvex::testing {

// Where the window system delivers a key: to the open popup, else to the focused widget.
inline QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

// Types `text` key by key into whatever has the keyboard focus (ASCII text only).
inline void typeKeys(const QString& text) {
    for (const QChar ch : text)
        QTest::keyClick(keyTarget(), ch.toLatin1());
}

// Clicks `field` of a shown, active window and types `text` over its whole contents, as a
// user replaces the value of a field. False when the click left the focus elsewhere.
[[nodiscard]] inline bool clickAndType(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    if (QApplication::focusWidget() != field)
        return false;
    QTest::keyClick(keyTarget(), Qt::Key_A, Qt::ControlModifier);
    typeKeys(text);
    return true;
}

} // namespace ordalvex::testing
