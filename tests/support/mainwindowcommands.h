#pragma once

#include "shell/ui/tmainform.h"

#include <QAction>
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

} // namespace ordalvex::testing
