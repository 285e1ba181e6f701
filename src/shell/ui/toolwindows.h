#pragma once

#include <functional>

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace ordalvex {

// The tool windows the main window opens, each at most once.
enum class ToolWindow {
    Otwory, // bolt-hole circle calculator, TOtworyForm
    Calc,   // cutting parameters, TCalcForm
    Katy,   // right-triangle solver, TKatyForm
    Mc,     // millimetre/inch converter, TMcForm
    Finder, // file browser, TFinder_Form
};

// The class name and the exact title by which an open tool window is found.
struct ToolWindowIdentity {
    const char* className;
    QString title;
};
ToolWindowIdentity toolWindowIdentity(ToolWindow kind);

// Where a new tool window of `kind` and outer width `windowWidth` goes, given the main
// window's outer frame (left, top and width in screen pixels).
QPoint toolWindowPosition(ToolWindow kind, const QRect& mainFrame, int windowWidth);

// The open top-level window whose class is `className` and whose title is exactly `title`;
// nullptr when there is none. Hidden windows (a closed one waits hidden to be deleted) are
// skipped.
QWidget* findTopLevelWindow(const char* className, const QString& title);

// Brings `window` forward: restores it when minimised, shows it when hidden, raises and
// activates it.
void bringForward(QWidget* window);

// Opens the tool window of `kind`: an open one is brought forward; otherwise `create()` makes
// one (set up but not shown, e.g. with OpenBrowser already called; without a parent, so that
// the window manager minimises and stacks it apart from the main window), which becomes a
// window of the plain window type (not a dialog, which the window manager would tie to the
// program's other windows), gets its title,
// deletes itself when closed, is put at toolWindowPosition() from `mainWindow`'s frame and is
// shown without blocking. Returns the window, or nullptr when `create` gave none.
QWidget* openToolWindow(ToolWindow kind, QWidget* mainWindow, const std::function<QWidget*()>& create);

} // namespace ordalvex
