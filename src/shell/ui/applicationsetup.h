#pragma once

class QApplication;

namespace ordalvex {

// Names the running program "Ordalvex" (and its desktop entry), gives its windows
// the built-in icon and Qt's standard buttons and dialogs in Polish when Qt's translation is
// installed. No display name is set: the platform would add " — " and it to every window
// title, and the titles are to be exactly the program's own.
void setUpApplication(QApplication& app);

} // namespace ordalvex
