#pragma once

#include "editorwait.h"
#include "shell/ui/tmainform.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

namespace ordalvex::testing {

// Clicks the main window's tool button of that object name, as the user does: nothing happens
// while its command is disabled.
inline void clickToolButton(TMainForm& form, const char* name) {
    QToolButton* button = form.toolButton(QLatin1String(name));
    if (!button)
        qFatal("the main window has no tool button %s", name);
    button->click();
}

// Chooses the main window's menu item of that object name; a disabled item does nothing.
inline void chooseMenuItem(TMainForm& form, const char* name) {
    QAction* item = form.menuItem(QLatin1String(name));
    if (!item)
        qFatal("the main window has no menu item %s", name);
    item->trigger();
}

// Shows the main window at a fixed size, waits until it is active and has started (settings,
// last run's windows) and every load has ended, as the user finds it. False when it did not
// become active.
inline bool showStarted(TMainForm& form) {
    form.setGeometry(0, 0, 1000, 700);
    form.show();
    if (!QTest::qWaitForWindowActive(&form))
        return false;
    form.FormShow();
    return waitForEditors();
}

} // namespace ordalvex::testing
