#include "document/ui/teditform.h"

#include "common/core/codepage.h"
#include "common/ui/editorfont.h"
#include "common/ui/userinteraction.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/searcheditor.h"
#include "document/ui/trichedit98.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ordalvex {

namespace {

#ifdef Q_OS_WIN
constexpr int kKeypadDecimalVirtualKey = 110;
#endif

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     bool enabled) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setEnabled(enabled);
    return action;
}

void addSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

TEditForm::TEditForm(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName(QStringLiteral("EditForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("EditForm"));
    setWindowFlags(Qt::SubWindow | Qt::WindowSystemMenuHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(574, 385);

    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_panel = new QFrame(client);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFixedWidth(13);
    m_panel->setFrameShape(QFrame::NoFrame);
    m_panel->setAutoFillBackground(true);
    m_editor = new TRichEdit98(client);
    m_editor->setObjectName(QStringLiteral("Editor"));
    layout->addWidget(m_panel);
    layout->addWidget(m_editor);
    setWidget(client);
    setFocusProxy(m_editor);

    createPopupMenu();
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_editor, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Only a right click opens the menu; the keyboard's menu key does not.
        if (!m_popupArmed)
            return;
        m_popupArmed = false;
        m_popupMenu->popup(m_editor->viewport()->mapToGlobal(at));
    });
    connect(this, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                    FormActivate();
            });
    connect(m_editor, &TRichEdit98::keyDown, this, &TEditForm::EditorKeyDown);
    connect(m_editor, &TRichEdit98::keyPress, this, &TEditForm::EditorKeyPress);
    connect(m_editor, &TRichEdit98::mouseDown, this, &TEditForm::EditorMouseDown);
    connect(m_editor, &TRichEdit98::mouseMoved, this, &TEditForm::EditorMouseMove);
    // Editing keys run the same commands as the menu items.
    connect(m_editor, &TRichEdit98::commandKey, this, [this](QKeySequence::StandardKey key) {
        switch (key) {
        case QKeySequence::Copy:
            KopiujClick();
            break;
        case QKeySequence::Cut:
            WytnijClick();
            break;
        case QKeySequence::Paste:
            WklejClick();
            break;
        case QKeySequence::Undo:
            CofnijClick();
            break;
        case QKeySequence::Redo:
            PowtrzClick();
            break;
        default:
            ZaznaczwszystkoClick();
            break;
        }
    });

    // FormCreate
    bindSelectionChange(true);
}

TEditForm::~TEditForm() {
#ifdef __GLIBC__
    // A long program's buffers are freed when the window's children go; hand the freed pages
    // back to the system once they have (the allocator would keep tens of megabytes).
    QTimer::singleShot(0, qApp, [] { malloc_trim(0); });
#endif
}

void TEditForm::createPopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_cofnij = addMenuItem(m_popupMenu, "Cofnij", QStringLiteral("Cofnij"),
                           QKeySequence(QStringLiteral("Ctrl+Z")), false);
    m_powtrz = addMenuItem(m_popupMenu, "Powtrz", QStringLiteral("Powtórz"),
                           QKeySequence(QStringLiteral("Ctrl+Y")), false);
    addSeparator(m_popupMenu, "N3");
    m_wytnij = addMenuItem(m_popupMenu, "Wytnij", QStringLiteral("Wytnij"),
                           QKeySequence(QStringLiteral("Ctrl+X")), false);
    m_kopiuj = addMenuItem(m_popupMenu, "Kopiuj", QStringLiteral("Kopiuj"),
                           QKeySequence(QStringLiteral("Ctrl+C")), false);
    m_wklej = addMenuItem(m_popupMenu, "Wklej", QStringLiteral("Wklej"),
                          QKeySequence(QStringLiteral("Ctrl+V")), false);
    addSeparator(m_popupMenu, "N1");
    m_usu = addMenuItem(m_popupMenu, "Usu", QStringLiteral("Usuń"), QKeySequence(QStringLiteral("Ctrl+Del")),
                        false);
    addSeparator(m_popupMenu, "N2");
    m_zaznaczwszystko = addMenuItem(m_popupMenu, "Zaznaczwszystko", QStringLiteral("Zaznacz wszystko"),
                                    QKeySequence(QStringLiteral("Ctrl+A")), true);
    connect(m_cofnij, &QAction::triggered, this, &TEditForm::CofnijClick);
    connect(m_powtrz, &QAction::triggered, this, &TEditForm::PowtrzClick);
    connect(m_wytnij, &QAction::triggered, this, &TEditForm::WytnijClick);
    connect(m_kopiuj, &QAction::triggered, this, &TEditForm::KopiujClick);
    connect(m_wklej, &QAction::triggered, this, &TEditForm::WklejClick);
    connect(m_usu, &QAction::triggered, this, &TEditForm::UsuClick);
    connect(m_zaznaczwszystko, &QAction::triggered, this, &TEditForm::ZaznaczwszystkoClick);
    // The shortcuts are the editor's own keys; the menu shows them without taking them over.
    for (QAction* action : m_popupMenu->actions())
        action->setShortcutVisibleInContextMenu(true);
}

void TEditForm::bindSelectionChange(bool bound) {
    if (bound == m_selectionBound)
        return;
    m_selectionBound = bound;
    if (bound)
        connect(m_editor, &TRichEdit98::selectionChange, this, &TEditForm::EditorSelectionChange);
    else
        disconnect(m_editor, &TRichEdit98::selectionChange, this, &TEditForm::EditorSelectionChange);
}

void TEditForm::setFileName(const QString& path) {
    m_document.setFileName(path);
    setWindowTitle(path);
    setToolTip(path);
}

namespace {

// `settings` with the face the editor uses in place of a missing one.
FormatSettings withFaceInUse(FormatSettings settings) {
    settings.FontName = editorFaceInUse(settings.FontName);
    return settings;
}

} // namespace

void TEditForm::OpenFile(const QString& path) {
    setFileName(path);
    if (!QFileInfo(path).isFile()) {
        close();
        return;
    }
    QPointer<TEditForm> guard(this);
    LoadIntoEditor(*this, path, [guard](bool loaded, const std::optional<QString>& name) {
        if (!guard || !loaded)
            return;
        guard->m_editor->setModified(false);
        guard->ShowProgramName(name);
        guard->m_editor->setSelStart(0);
        guard->m_editor->clearUndo();
    });
}

void TEditForm::RestoreWindow(const DocumentPlacement& placement, const FormatSettings& settings) {
    m_document.setFormat(withFaceInUse(settings));
    setFileName(placement.FileName);
    setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
    m_editor->setEditorFont(m_document.format().FontName, m_document.format().FontSize);
    QPointer<TEditForm> guard(this);
    const qsizetype caret = placement.SelStart;
    LoadIntoEditor(*this, placement.FileName,
                   [guard, caret](bool loaded, const std::optional<QString>& name) {
                       if (!guard || !loaded)
                           return;
                       guard->m_editor->setSelStart(caret);
                       guard->m_editor->setModified(false);
                       guard->ShowProgramName(name);
                       guard->m_editor->clearUndo();
                   });
}

DocumentPlacement TEditForm::GetWindowState() const {
    DocumentPlacement placement;
    const QRect frame = geometry();
    placement.Left = frame.left();
    placement.Top = frame.top();
    placement.Height = frame.height();
    placement.Width = frame.width();
    placement.SelStart = m_editor->selStart();
    placement.FileName = m_document.fileName();
    return placement;
}

void TEditForm::ApplyFormat(const FormatSettings& settings) {
    if (isLoading()) {
        // The running load colours the text as the settings said when it started. A new font
        // applies at once; only a change of the colouring itself waits for the load's end and
        // colours the text again (so a program opened from the command line, whose window
        // takes the settings right after the load began, is loaded once).
        const bool recolour =
            m_pendingFormat || settings.SyntaxHighlighting != m_document.format().SyntaxHighlighting;
        m_document.setFormat(withFaceInUse(settings));
        m_editor->setEditorFont(m_document.format().FontName, m_document.format().FontSize);
        if (recolour)
            m_pendingFormat = settings;
        return;
    }
    m_document.setFormat(withFaceInUse(settings));
    m_editor->setEditorFont(m_document.format().FontName, m_document.format().FontSize);
    Rehighlight(*this);
}

void TEditForm::ShowProgramName() {
    ShowProgramName(programNameInUtf8(m_editor->utf8()));
}

void TEditForm::ShowProgramName(const std::optional<QString>& name) {
    bindSelectionChange(false);
    m_editor->beginUpdate();
    const qsizetype caret = m_editor->selStart();
    if (name)
        setWindowTitle(windowTitle() + QStringLiteral("  ---> ") + *name);
    m_editor->setSelStart(caret);
    m_editor->endUpdate();
    bindSelectionChange(true);
}

void TEditForm::CofnijClick() {
    m_editor->undo();
}
void TEditForm::PowtrzClick() {
    m_editor->redo();
}

void TEditForm::WytnijClick() {
    m_editor->cut();
    EditorSelectionChange();
}

void TEditForm::KopiujClick() {
    m_editor->copy();
    EditorSelectionChange();
}

void TEditForm::WklejClick() {
    m_editor->setSelectionBold(m_document.format().SyntaxHighlightingOnWriting);
    m_editor->paste();
    EditorSelectionChange();
}

void TEditForm::UsuClick() {
    m_editor->deleteSelection();
}
void TEditForm::ZaznaczwszystkoClick() {
    m_editor->selectAll();
}

void TEditForm::EditorSelectionChange() {
    const bool selected = m_editor->selLength() > 0;
    m_wytnij->setEnabled(selected);
    m_kopiuj->setEnabled(selected);
    m_usu->setEnabled(selected);
    m_wklej->setEnabled(!interaction().clipboardText().isEmpty());
    m_cofnij->setEnabled(m_editor->canUndo());
    m_powtrz->setEnabled(m_editor->canRedo());
    Q_EMIT editStateChanged(selected ? 1 : 0, (m_editor->canUndo() ? 1 : 0) + (m_editor->canRedo() ? 10 : 0));
}

void TEditForm::EditorKeyDown(int key, int nativeVirtualKey, bool keypad) {
    // The keypad's decimal key: Key_Period or Key_Comma with the keypad modifier; on Windows
    // also its virtual key 110 (elsewhere native codes are key symbols, and 110 is "n").
#ifdef Q_OS_WIN
    const bool decimalVirtualKey = nativeVirtualKey == kKeypadDecimalVirtualKey;
#else
    const bool decimalVirtualKey = false;
    Q_UNUSED(nativeVirtualKey);
#endif
    if (decimalVirtualKey || (keypad && (key == Qt::Key_Period || key == Qt::Key_Comma)))
        m_decimalKeyDown = true;
}

void TEditForm::EditorKeyPress(QChar& ch) {
    if (ch == QLatin1Char('\b') || !m_document.format().SyntaxHighlightingOnWriting)
        return;
    if (ch == QLatin1Char(',') && m_decimalKeyDown)
        ch = QLatin1Char('.');
    m_decimalKeyDown = false;
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
        ch = QChar(ch.unicode() - 32);
    m_editor->setSelectionBold(true);
}

void TEditForm::EditorMouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        m_popupArmed = true;
}

void TEditForm::EditorMouseMove() {
    if (mdiArea() && mdiArea()->activeSubWindow() != this)
        mdiArea()->setActiveSubWindow(this);
}

void TEditForm::FormActivate() {
    if (!m_closed)
        EditorSelectionChange();
}

bool TEditForm::event(QEvent* event) {
    // A window outside a multiple-document area is activated as a top-level window.
    if (event->type() == QEvent::WindowActivate && !mdiArea())
        FormActivate();
    return QMdiSubWindow::event(event);
}

void TEditForm::beginTextWork() {
    if (m_loading++ == 0) {
        m_readOnlyBeforeWork = m_editor->isReadOnly();
        m_editor->setReadOnly(true); // typing into a text about to be replaced would be lost
        m_editor->setBusyCursor(true);
    }
}

void TEditForm::endTextWork() {
    if (m_loading == 0 || --m_loading != 0)
        return;
    m_editor->setReadOnly(m_readOnlyBeforeWork);
    m_editor->setBusyCursor(false);
    if (m_closeDeferred) {
        m_closeDeferred = false;
        m_pendingFormat.reset();
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    } else if (m_pendingFormat) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_pendingFormat || isLoading())
                    return;
                const FormatSettings settings = *m_pendingFormat;
                m_pendingFormat.reset();
                ApplyFormat(settings);
            },
            Qt::QueuedConnection);
    }
    Q_EMIT textWorkFinished();
}

void TEditForm::closeEvent(QCloseEvent* event) {
    if (isLoading()) {
        // The load in progress finishes first; the window closes right after it.
        m_closeDeferred = true;
        event->ignore();
        return;
    }
    if (!m_closeWithoutQuestion && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QMdiSubWindow::closeEvent(event);
}

void TEditForm::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    bindSelectionChange(false);
    Q_EMIT editStateChanged(0, 0);
}

} // namespace ordalvex
