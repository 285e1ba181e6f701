#pragma once

#include "calculators/core/keyfilter.h"

#include <functional>

#include <QHash>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace ordalvex {

// Which entries of the edit menu are enabled when it opens on a field ("Wytnij" never is,
// "Zaznacz wszystko" always is).
struct EditMenuState {
    bool undo = false;
    bool copy = false;
    bool paste = false;
    bool remove = false;
};

// The behaviour every calculator window gives its edit fields: a click selects the whole
// text, typed keys pass a filter, an emptied field gets a fallback text when it is left, the
// edit context menu with the window's enabling rule, and the window taking the keyboard focus
// when the mouse moves over it. The menu's entries act on the field the menu was opened on.
class EditFieldBehaviour : public QObject {
    Q_OBJECT
public:
    using MenuRule = std::function<EditMenuState(QLineEdit* field)>;

    // `window` owns the behaviour and the menu; the menu gets `menuName` as objectName and its
    // "select all" entry `selectAllName` ("Zaznaczwszystko1" or "Zaznaczwszystko2").
    EditFieldBehaviour(QWidget* window, const QString& menuName, const QString& selectAllName, MenuRule rule);

    // Gives `field` the click, context menu and key filter behaviour.
    void addField(QLineEdit* field, KeyFilter filter);
    // Changes the key filter of a field already added.
    void setKeyFilter(QLineEdit* field, KeyFilter filter);
    // Leaving `field` while it is empty sets `text`.
    void setLeaveFallback(QLineEdit* field, const QString& text);
    // A double click in `field` sets `text`.
    void setDoubleClickText(QLineEdit* field, const QString& text);
    // Mouse movement over `widget` (the window itself, a grid, a picture) activates the window.
    void followMouse(QWidget* widget);

    // Enables the entries for `field` by the window's rule and makes it the menu's target.
    void prepareMenu(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKey(QLineEdit* field, QEvent* event);
    void showMenu(QLineEdit* field, const QPoint& position);

    QWidget* m_window;
    MenuRule m_rule;
    QMenu* m_menu;
    QAction* m_undo;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_remove;
    QAction* m_selectAll;
    QPointer<QLineEdit> m_target;
    QHash<QLineEdit*, KeyFilter> m_filters;
    QHash<QLineEdit*, QString> m_fallbacks;
    QHash<QLineEdit*, QString> m_doubleClickTexts;
    QHash<QObject*, bool> m_mouseFollowers;
};

} // namespace ordalvex
