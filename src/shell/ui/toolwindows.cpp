#include "shell/ui/toolwindows.h"

#include <QApplication>
#include <QWidget>

namespace ordalvex {

ToolWindowIdentity toolWindowIdentity(ToolWindow kind) {
    switch (kind) {
    case ToolWindow::Otwory:
        return {"TOtworyForm", QStringLiteral("Oblicz współrzędne otworów")};
    case ToolWindow::Calc:
        return {"TCalcForm", QStringLiteral("Oblicz parametry skrawania")};
    case ToolWindow::Katy:
        return {"TKatyForm", QStringLiteral("Kąty i trójkąty")};
    case ToolWindow::Mc:
        return {"TMcForm", QStringLiteral("Przelicz")};
    case ToolWindow::Finder:
        return {"TFinder_Form", QStringLiteral("Przeglądarka plików")};
    }
    return {"", QString()};
}

QPoint toolWindowPosition(ToolWindow kind, const QRect& mainFrame, int windowWidth) {
    const int left = mainFrame.left();
    const int top = mainFrame.top();
    const int right = left + mainFrame.width() - windowWidth;
    switch (kind) {
    case ToolWindow::Otwory:
    case ToolWindow::Katy:
        return {right - 5, top + 20};
    case ToolWindow::Calc:
        return {right - 50, top + 20};
    case ToolWindow::Mc:
        return {right - 50, top + 50};
    case ToolWindow::Finder:
        return {left + 20, top + 60};
    }
    return {left, top};
}

namespace {

// Qt reports class names with their namespace ("ordalvex::TCalcForm"); either form matches.
bool classMatches(const QWidget* widget, const char* className) {
    const QLatin1String actual(widget->metaObject()->className());
    const QLatin1String wanted(className);
    if (actual == wanted)
        return true;
    return actual.endsWith(wanted) && actual.size() > wanted.size() + 1 &&
           actual.sliced(0, actual.size() - wanted.size()).endsWith(QLatin1String("::"));
}

} // namespace

QWidget* findTopLevelWindow(const char* className, const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        // A closed tool window lingers hidden until the event loop deletes it; the user
        // cannot see a hidden window, so it must not stop a new one from being made.
        if (widget->isHidden())
            continue;
        if (classMatches(widget, className) && widget->windowTitle() == title)
            return widget;
    }
    return nullptr;
}

void bringForward(QWidget* window) {
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
}

QWidget* openToolWindow(ToolWindow kind, QWidget* mainWindow, const std::function<QWidget*()>& create) {
    const ToolWindowIdentity identity = toolWindowIdentity(kind);
    if (QWidget* open = findTopLevelWindow(identity.className, identity.title)) {
        bringForward(open);
        return open;
    }
    QWidget* window = create ? create() : nullptr;
    if (!window)
        return nullptr;
    window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    window->setWindowTitle(identity.title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The window's width is known only once it has its size; take the size show() would give.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    const QRect mainFrame = mainWindow ? mainWindow->frameGeometry() : QRect();
    window->move(toolWindowPosition(kind, mainFrame, window->frameGeometry().width()));
    window->show();
    return window;
}

} // namespace ordalvex
