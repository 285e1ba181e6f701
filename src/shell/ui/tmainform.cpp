#include "shell/ui/tmainform.h"

#include "document/ui/teditform.h"
#include "shell/core/shellsettings.h"
#include "shell/ui/documentstatus.h"
#include "shell/ui/systemcalculator.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace ordalvex {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    // FormCreate
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Ordalvex"));
    setMinimumSize(750, 440);
    setAcceptDrops(true);
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("ClientArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // When the active window closes, the frame activates the next one in this order: the
    // window that was active before it, not the first one made.
    m_mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(m_mdiArea);
    createCommands();
    createToolServices();
    m_status = new DocumentStatus(statusBar());

    const ShellSettings defaults;
    Settings = defaults.format;
    LastOpenPath = defaults.lastOpenPath;
    NewFileCounter = 1;

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        auto* document = qobject_cast<TEditForm*>(window);
        if (document && m_closingTop && document != m_closingTop) {
            // The one below the closing window (which the frame may have dropped from its list
            // already) comes up once the frame has finished its own choice.
            QList<TEditForm*> windows = documents();
            windows.removeAll(m_closingTop.data());
            TEditForm* below = windows.value(0);
            m_closingTop = nullptr;
            if (below && below != document) {
                QTimer::singleShot(0, this, [this, below = QPointer<TEditForm>(below)] {
                    if (below && !below->isHidden())
                        raiseToTop(below);
                });
                UpdateCommandState();
                return;
            }
        }
        if (document) {
            documents();
            m_stack.removeAll(document);
            m_stack.prepend(document);
        }
        UpdateCommandState();
    });
    // The active window of the program changes whenever the focus moves into another window.
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::UpdateCommandState);
}

TMainForm::~TMainForm() {
    m_status->follow(nullptr);
    // FormDestroy: the child windows are torn down after this body, when the members are gone
    // already; the focus changes and window notifications they cause must not reach us.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        disconnect(window, nullptr, this, nullptr);
    // The tool windows have no parent to take them along; a closed one may still wait for its
    // deferred deletion.
    for (const QPointer<QWidget>& window : std::as_const(m_toolWindows))
        delete window.data();
}

QList<TEditForm*> TMainForm::documents() const {
    const QList<QMdiSubWindow*> inFrame = m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    auto isOpen = [&inFrame](TEditForm* document) {
        // A closed window stays in the frame, hidden, until it is deleted.
        return document && !document->isHidden() && inFrame.contains(document);
    };
    m_stack.removeIf([&isOpen](const QPointer<TEditForm>& document) { return !isOpen(document); });
    // Windows made elsewhere join below the known ones, most recently active first.
    for (auto it = inFrame.crbegin(); it != inFrame.crend(); ++it) {
        auto* document = qobject_cast<TEditForm*>(*it);
        if (isOpen(document) && !m_stack.contains(document))
            m_stack.append(document);
    }
    QList<TEditForm*> list;
    for (const QPointer<TEditForm>& document : std::as_const(m_stack))
        list.append(document.data());
    return list;
}

TEditForm* TMainForm::activeDocument() const {
    return documents().value(0, nullptr);
}

void TMainForm::raiseToTop(QMdiSubWindow* window) {
    auto* document = qobject_cast<TEditForm*>(window);
    if (!document)
        return;
    documents();
    m_stack.removeAll(document);
    m_stack.prepend(document);
    m_mdiArea->setActiveSubWindow(document);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        auto* document = qobject_cast<TEditForm*>(watched);
        if (document && document == activeDocument()) {
            m_closingTop = document;
            // A refused close activates nothing; the note is stale after this turn of events.
            QTimer::singleShot(0, this, [this] { m_closingTop = nullptr; });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

TEditForm* TMainForm::createDocument() {
    auto* document = new TEditForm();
    document->installEventFilter(this);
    connect(document, &TEditForm::editStateChanged, this, &TMainForm::NotifyEditState);
    // Its destruction changes the active window; the command state follows once it is gone.
    connect(document, &QObject::destroyed, this, &TMainForm::UpdateCommandState, Qt::QueuedConnection);
    m_mdiArea->addSubWindow(document);
    document->show();
    raiseToTop(document);
    return document;
}

TEditForm* TMainForm::openInNewWindow(const QString& path) {
    TEditForm* document = createDocument();
    QPointer<TEditForm> guard(document);
    document->ApplyFormat(Settings);
    if (guard)
        document->OpenFile(path);
    return guard;
}

void TMainForm::openCommandLineFiles(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const QFileInfo file(argument);
        if (!file.isFile())
            continue;
        TEditForm* document = createDocument();
        QPointer<TEditForm> guard(document);
        document->OpenFile(file.absoluteFilePath());
        if (guard)
            document->ApplyFormat(Settings);
    }
}

void TMainForm::openDroppedFiles(const QStringList& paths) {
    for (const QString& path : paths)
        openInNewWindow(path);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    openDroppedFiles(paths);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Once the frame has its shown (maximized) size, so that restored geometry fits it.
    if (!m_shown)
        QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!askDocumentsToClose()) {
        event->ignore();
        return;
    }
    // FormClose
    SaveSettings();
    m_calculator->close();
    closeToolWindows();
    event->accept();
}

// Commands handed to the active document window.

void TMainForm::Zamknij1Click() {
    if (TEditForm* document = activeDocument())
        document->close();
}

void TMainForm::ZamknijwszystkieClick() {
    const QList<TEditForm*> windows = documents();
    QList<QPointer<TEditForm>> guarded(windows.cbegin(), windows.cend());
    for (auto it = guarded.crbegin(); it != guarded.crend(); ++it) {
        if (*it)
            (*it)->close();
    }
    UpdateCommandState();
}

void TMainForm::Zakocz1Click() {
    close();
}

void TMainForm::Cofnij1Click() {
    if (TEditForm* document = activeDocument())
        document->CofnijClick();
}

void TMainForm::Powtrz1Click() {
    if (TEditForm* document = activeDocument())
        document->PowtrzClick();
}

void TMainForm::CutSpeedButtonClick() {
    if (TEditForm* document = activeDocument())
        document->WytnijClick();
}

void TMainForm::CopySpeedButtonClick() {
    if (TEditForm* document = activeDocument())
        document->KopiujClick();
}

void TMainForm::PasteSpeedButtonClick() {
    if (TEditForm* document = activeDocument())
        document->WklejClick();
}

void TMainForm::Usu1Click() {
    if (TEditForm* document = activeDocument())
        document->UsuClick();
}

void TMainForm::Zaznaczwszystko1Click() {
    if (TEditForm* document = activeDocument())
        document->ZaznaczwszystkoClick();
}

// Highlighting switches.

void TMainForm::applyFormatToAll() {
    const QList<TEditForm*> windows = documents();
    QList<QPointer<TEditForm>> guarded(windows.cbegin(), windows.cend());
    // From the last to the first; a window may close while another one is being coloured.
    for (auto it = guarded.crbegin(); it != guarded.crend(); ++it) {
        if (*it)
            (*it)->ApplyFormat(Settings);
    }
}

void TMainForm::PodwietlajskadniClick() {
    Settings.SyntaxHighlighting = m_highlighting->isChecked();
    applyFormatToAll();
}

void TMainForm::PodwietlajskadniprzypisaniuClick() {
    Settings.SyntaxHighlightingOnWriting = m_highlightingOnWriting->isChecked();
    applyFormatToAll();
}

// Window commands.

void TMainForm::Kaskada1Click() {
    m_mdiArea->cascadeSubWindows();
}

void TMainForm::tile(Qt::Orientation orientation) {
    QList<TEditForm*> windows;
    for (TEditForm* document : documents()) {
        if (!document->isMinimized())
            windows.append(document);
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        TEditForm* document = windows.at(i);
        if (document->isMaximized())
            document->showNormal();
        if (orientation == Qt::Horizontal) {
            // One above the other, each as wide as the client area.
            const int top = area.height() * i / count;
            const int bottom = area.height() * (i + 1) / count;
            document->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / count;
            const int right = area.width() * (i + 1) / count;
            document->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void TMainForm::Rozmiewpozziomie1Click() {
    tile(Qt::Horizontal);
}

void TMainForm::Rozmiewpionie1Click() {
    tile(Qt::Vertical);
}

void TMainForm::PrevSpeedButtonClick() {
    const QList<TEditForm*> windows = documents();
    if (windows.size() < 2)
        return;
    // The window below the active one comes up; the active one goes to the bottom.
    m_stack.removeFirst();
    m_stack.append(windows.first());
    raiseToTop(windows.at(1));
}

void TMainForm::NextSpeedButtonClick() {
    const QList<TEditForm*> windows = documents();
    if (windows.size() < 2)
        return;
    raiseToTop(windows.last());
}

} // namespace ordalvex
