#include "calculators/ui/editfieldbehaviour.h"

#include "common/ui/limitedfield.h"
#include "common/ui/userinteraction.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace ordalvex {

namespace {

QAction* addEntry(QMenu* menu, const QString& name, const QString& text, const QKeySequence& keys) {
    auto* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    // The keys are shown in the menu; in a field its own editing keys apply.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    action->setEnabled(false);
    return action;
}

} // namespace

EditFieldBehaviour::EditFieldBehaviour(QWidget* window, const QString& menuName, const QString& selectAllName,
                                       MenuRule rule)
    : QObject(window), m_window(window), m_rule(std::move(rule)), m_menu(new QMenu(window)) {
    m_menu->setObjectName(menuName);
    m_undo = addEntry(m_menu, QStringLiteral("Cofnij1"), QStringLiteral("Cofnij"),
                      QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_menu->addSeparator();
    m_cut = addEntry(m_menu, QStringLiteral("Wytnij1"), QStringLiteral("Wytnij"),
                     QKeySequence(Qt::CTRL | Qt::Key_X));
    m_copy = addEntry(m_menu, QStringLiteral("Kopiuj1"), QStringLiteral("Kopiuj"),
                      QKeySequence(Qt::CTRL | Qt::Key_C));
    m_paste = addEntry(m_menu, QStringLiteral("Wklej1"), QStringLiteral("Wklej"),
                       QKeySequence(Qt::CTRL | Qt::Key_V));
    m_menu->addSeparator();
    m_remove = addEntry(m_menu, QStringLiteral("Usu1"), QStringLiteral("Usuń"),
                        QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_menu->addSeparator();
    m_selectAll = addEntry(m_menu, selectAllName, QStringLiteral("Zaznacz wszystko"),
                           QKeySequence(Qt::CTRL | Qt::Key_A));
    m_selectAll->setEnabled(true);

    connect(m_undo, &QAction::triggered, this, [this] {
        if (m_target)
            m_target->undo();
    });
    connect(m_copy, &QAction::triggered, this, [this] {
        if (m_target && m_target->hasSelectedText())
            interaction().setClipboardText(m_target->selectedText());
    });
    connect(m_paste, &QAction::triggered, this, [this] {
        if (m_target)
            m_target->insert(interaction().clipboardText());
    });
    connect(m_remove, &QAction::triggered, this, [this] {
        if (m_target) {
            // Empties the whole field as one undoable edit.
            m_target->selectAll();
            m_target->del();
        }
    });
    connect(m_selectAll, &QAction::triggered, this, [this] {
        if (m_target)
            m_target->selectAll();
    });
}

void EditFieldBehaviour::addField(QLineEdit* field, KeyFilter filter) {
    m_filters.insert(field, filter);
    field->installEventFilter(this);
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this,
            [this, field](const QPoint& position) { showMenu(field, position); });
}

void EditFieldBehaviour::setKeyFilter(QLineEdit* field, KeyFilter filter) {
    m_filters.insert(field, filter);
}

void EditFieldBehaviour::setLeaveFallback(QLineEdit* field, const QString& text) {
    m_fallbacks.insert(field, text);
}

void EditFieldBehaviour::setDoubleClickText(QLineEdit* field, const QString& text) {
    m_doubleClickTexts.insert(field, text);
}

void EditFieldBehaviour::followMouse(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_mouseFollowers.insert(widget, true);
}

void EditFieldBehaviour::prepareMenu(QLineEdit* field) {
    m_target = field;
    const EditMenuState state = m_rule ? m_rule(field) : EditMenuState{};
    m_undo->setEnabled(state.undo);
    m_cut->setEnabled(false);
    m_copy->setEnabled(state.copy);
    m_paste->setEnabled(state.paste);
    m_remove->setEnabled(state.remove);
    m_selectAll->setEnabled(true);
}

void EditFieldBehaviour::showMenu(QLineEdit* field, const QPoint& position) {
    field->setFocus(Qt::PopupFocusReason);
    prepareMenu(field);
    m_menu->popup(field->mapToGlobal(position));
}

bool EditFieldBehaviour::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && m_mouseFollowers.contains(watched)) {
        if (!m_window->isActiveWindow())
            m_window->activateWindow();
        return false;
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || !m_filters.contains(field))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(field, event);
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            field->selectAll();
        break;
    case QEvent::MouseButtonDblClick:
        if (m_doubleClickTexts.contains(field)) {
            showWhole(field, m_doubleClickTexts.value(field));
            return true;
        }
        break;
    case QEvent::FocusOut:
        if (field->text().isEmpty() && m_fallbacks.contains(field))
            showWhole(field, m_fallbacks.value(field));
        break;
    default:
        break;
    }
    return false;
}

// Typed characters pass the field's filter, a "," turning into "."; keys without text
// (arrows, Delete), the window's keys (Enter for the default button, Esc, Tab) and
// combinations with Ctrl or Alt (the field's own editing keys) pass.
bool EditFieldBehaviour::filterKey(QLineEdit* field, QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (text.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const KeyFilter filter = m_filters.value(field);
    QString accepted;
    for (const QChar ch : text) {
        const auto passed = filterTypedCharacter(ch, filter);
        if (!passed)
            return true;
        accepted += *passed;
    }
    if (accepted == text)
        return false;
    if (!field->isReadOnly())
        field->insert(accepted);
    return true;
}

} // namespace ordalvex
