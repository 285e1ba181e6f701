#include "browser/ui/tfinder_form.h"

#include "browser/core/folderlisting.h"
#include "browser/core/wholeword.h"
#include "browser/ui/browsericons.h"
#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/core/programfiletypes.h"
#include "common/ui/growtotext.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"
#include "document/ui/trichedit98.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace ordalvex {

namespace {

// Work done per turn of the event loop while a folder is listed: short enough that the
// window answers the user within a few tens of milliseconds.
constexpr std::chrono::milliseconds kListingSlice(10);

const QString kMemoIntro = QStringLiteral("Podwójne kliknięcie w liście plików otwiera plik do edycji, \r\n"
                                          "pojedyńcze wyświetla podgląd pliku.\r\n");

struct FileType {
    QString description;
    QString mask;
};

// The window's own types first, so that their positions in the list keep their meaning.
QList<FileType> fileTypes() {
    return {{QStringLiteral("Programy CNC (*.nc)"), QStringLiteral("*.nc")},
            {QStringLiteral("Programy CNC (*.min)"), QStringLiteral("*.min")},
            {QStringLiteral("Pliki tekstowe (*.txt)"), QStringLiteral("*.txt")},
            {cncProgramFilter(), cncProgramMasks()},
            {QStringLiteral("Wszystkie pliki (*)"), QStringLiteral("*")}};
}

QTreeWidgetItem* makeLine(const ScanLine& line, const LineIcons& icons) {
    auto* item = new QTreeWidgetItem(QStringList{line.text});
    switch (line.kind) {
    case ScanLineKind::Folder:
        item->setIcon(0, icons.folder);
        break;
    case ScanLineKind::File:
        item->setIcon(0, icons.file);
        break;
    case ScanLineKind::ProgramName:
        item->setIcon(0, icons.program);
        break;
    case ScanLineKind::Comment:
        item->setIcon(0, icons.comment);
        break;
    }
    for (const auto& child : line.children)
        item->addChild(makeLine(child, icons));
    return item;
}

// The nearest existing folder at or above `folder`; the home folder when there is none.
QString existingFolder(const QString& folder) {
    if (folder.isEmpty())
        return QDir::homePath();
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::homePath();
        path = parent;
    }
    return path;
}

} // namespace

TFinder_Form::TFinder_Form(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Przeglądarka plików"));
    m_icons = drawLineIcons();
    buildControls();
    setFixedSize(grownSize({538, 465}, {m_znajdzButton, m_button2}, 8));

    m_listingTimer = new QTimer(this);
    m_listingTimer->setInterval(0);
    connect(m_listingTimer, &QTimer::timeout, this, &TFinder_Form::continueListing);
}

TFinder_Form::~TFinder_Form() = default;

void TFinder_Form::buildControls() {
    m_treeView = new QTreeWidget(this);
    m_treeView->setObjectName(QStringLiteral("TreeView"));
    m_treeView->setGeometry(0, 0, 281, 313);
    m_treeView->setHeaderHidden(true);
    m_treeView->setColumnCount(1);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treeView->setToolTip(
        QStringLiteral("Lista plików i zawartych w nich komentarzy. Tylko w wybranym katalogu !"));
    keepSelectionVisible(m_treeView);
    connect(m_treeView, &QTreeWidget::itemClicked, this, &TFinder_Form::TreeViewClick);
    connect(m_treeView, &QTreeWidget::itemDoubleClicked, this, &TFinder_Form::TreeViewDblClick);

    m_folders = new QFileSystemModel(this);
    m_folders->setObjectName(QStringLiteral("ShellTreeViewModel"));
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    m_folders->setRootPath(QString());
    m_shellTreeView = new QTreeView(this);
    m_shellTreeView->setObjectName(QStringLiteral("ShellTreeView"));
    m_shellTreeView->setGeometry(296, 0, 233, 177);
    m_shellTreeView->setModel(m_folders);
    m_shellTreeView->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_shellTreeView->hideColumn(column);
    m_shellTreeView->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_shellTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFinder_Form::ShellTreeViewChange);

    makeLabel(this, "Label1", QStringLiteral("Wyswietl pliki typu :"), {296, 192});

    m_filterComboBox = new QComboBox(this);
    m_filterComboBox->setObjectName(QStringLiteral("FilterComboBox"));
    for (const FileType& type : fileTypes())
        m_filterComboBox->addItem(type.description, type.mask);
    m_filterComboBox->setGeometry(296, 208, 145, m_filterComboBox->sizeHint().height());
    m_filterComboBox->setCurrentIndex(0);
    connect(m_filterComboBox, &QComboBox::currentIndexChanged, this, &TFinder_Form::FilterComboBoxChange);

    m_findLabeledEdit = new QLineEdit(this);
    m_findLabeledEdit->setObjectName(QStringLiteral("FindLabeledEdit"));
    m_findLabeledEdit->setGeometry(296, 264, 121, m_findLabeledEdit->sizeHint().height());
    auto* findLabel = makeLabel(this, "FindLabeledEditLabel", QStringLiteral("Znajdź tekst :"));
    findLabel->setBuddy(m_findLabeledEdit);
    findLabel->move(296, 264 - findLabel->height() - 2);
    connect(m_findLabeledEdit, &QLineEdit::textChanged, this, &TFinder_Form::FindLabeledEditChange);

    m_znajdzButton = makeButton(this, "ZnajdzButton", QStringLiteral("Znajdź"), {440, 264, 75, 25});
    m_znajdzButton->setToolTip(QStringLiteral("Szukaj w komentarzach"));
    connect(m_znajdzButton, &QPushButton::clicked, this, &TFinder_Form::ZnajdzButtonClick);

    m_button2 = makeButton(this, "Button2", QStringLiteral("&Zamknij"), {440, 376, 75, 25});
    connect(m_button2, &QPushButton::clicked, this, &TFinder_Form::Button2Click);

    m_memo = new TRichEdit98(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setGeometry(0, 320, 417, 145);
    m_memo->setFrameShape(QFrame::StyledPanel);
    m_memo->setReadOnly(true);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont(QStringLiteral("MS Sans Serif"));
    memoFont.setPixelSize(13);
    m_memo->setEditorFont(memoFont);
    keepSelectionVisible(m_memo);
    m_memo->setProgramText(kMemoIntro);

    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_kopiuj = m_popupMenu->addAction(QStringLiteral("Kopiuj"));
    m_kopiuj->setObjectName(QStringLiteral("Kopiuj"));
    m_kopiuj->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_kopiuj->setEnabled(false);
    m_popupMenu->addSeparator();
    m_zaznaczwszystko = m_popupMenu->addAction(QStringLiteral("Zaznacz wszystko"));
    m_zaznaczwszystko->setObjectName(QStringLiteral("Zaznaczwszystko"));
    m_zaznaczwszystko->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(m_kopiuj, &QAction::triggered, this, &TFinder_Form::KopiujClick);
    connect(m_zaznaczwszystko, &QAction::triggered, this, &TFinder_Form::ZaznaczwszystkoClick);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_popupMenu->popup(m_memo->viewport()->mapToGlobal(pos)); });
    connect(m_memo, &TRichEdit98::selectionChange, this, &TFinder_Form::MemoSelectionChange);
}

void TFinder_Form::OpenBrowser(const FormatSettings& settings, const QString& startFolder) {
    m_formatSettings = settings;
    selectFolder(startFolder);
}

void TFinder_Form::selectFolder(const QString& folder) {
    const QString path = existingFolder(folder);
    const QModelIndex index = m_folders->index(path);
    if (!index.isValid()) {
        // A folder the tree does not show (a hidden one) is still listed.
        m_currentFolder = path;
        listFolder();
        return;
    }
    if (m_shellTreeView->currentIndex() == index && m_currentFolder == m_folders->filePath(index)) {
        ShellTreeViewChange();
    } else {
        m_shellTreeView->setCurrentIndex(index);
    }
    m_shellTreeView->scrollTo(index);
}

QString TFinder_Form::fileMask() const {
    return m_filterComboBox->currentData().toString();
}

bool TFinder_Form::isListing() const {
    return m_listing != nullptr;
}

void TFinder_Form::ShellTreeViewChange() {
    const QModelIndex index = m_shellTreeView->currentIndex();
    m_currentFolder = index.isValid() ? m_folders->filePath(index) : QString();
    listFolder();
}

void TFinder_Form::FilterComboBoxChange() {
    listFolder();
}

void TFinder_Form::listFolder() {
    stopListing();
    m_treeView->clear();
    m_rootLine = nullptr;
    // Outside the file system (no path) there is nothing to list.
    if (m_currentFolder.isEmpty()) {
        Q_EMIT listingFinished();
        return;
    }
    m_listing = std::make_unique<FolderListing>(m_currentFolder, fileMask());
    m_listing->onFileAdded = [this](std::size_t index, const ScanLine& file) {
        m_rootLine->insertChild(int(index), makeLine(file, m_icons));
    };
    m_listing->onFileScanned = [this](std::size_t index, const ScanLine& file) {
        QList<QTreeWidgetItem*> lines;
        for (const auto& line : file.children)
            lines.append(makeLine(line, m_icons));
        m_rootLine->child(int(index))->addChildren(lines);
    };
    ScanLine root;
    root.kind = ScanLineKind::Folder;
    root.text = m_listing->rootText();
    m_rootLine = makeLine(root, m_icons);
    m_treeView->addTopLevelItem(m_rootLine);
    setCursor(Qt::BusyCursor);
    QPointer<TFinder_Form> self(this);
    continueListing();
    if (self && m_listing)
        m_listingTimer->start();
}

void TFinder_Form::continueListing() {
    if (!m_listing)
        return;
    const FolderListing::Status status = m_listing->run(kListingSlice);
    if (status == FolderListing::Status::Running)
        return;
    if (m_listing->rootExpanded())
        m_rootLine->setExpanded(true);
    const QString error = status == FolderListing::Status::Failed ? m_listing->error() : QString();
    stopListing();
    QPointer<TFinder_Form> self(this);
    Q_EMIT listingFinished();
    if (self && !error.isEmpty())
        showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"), error);
}

void TFinder_Form::stopListing() {
    m_listingTimer->stop();
    m_listing.reset();
    unsetCursor();
}

QTreeWidgetItem* TFinder_Form::fileLineOf(QTreeWidgetItem* line) const {
    if (!line || !line->parent())
        return nullptr;
    while (line->parent()->parent())
        line = line->parent();
    return line;
}

bool TFinder_Form::previewFile(const QString& path) {
    if (path == m_lastPreviewPath)
        return true;
    QString error;
    const std::optional<QByteArray> bytes = readWholeFile(path, &error);
    if (!bytes) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"), error);
        return false;
    }
    // An RTF file the reader cannot make sense of is still shown, as the text it is.
    const std::string_view view(bytes->constData(), std::size_t(bytes->size()));
    if (!m_memo->showFileBytes(view))
        m_memo->setProgramText(cp1250::decode(view));
    m_lastPreviewPath = path;
    return true;
}

void TFinder_Form::TreeViewClick() {
    QTreeWidgetItem* line = m_treeView->selectedItems().value(0);
    QTreeWidgetItem* fileLine = fileLineOf(line);
    if (!fileLine)
        return;
    if (!previewFile(folderPrefix(m_currentFolder) + fileLine->text(0)) || line == fileLine)
        return;
    const QString text = line->text(0);
    const qsizetype at = findWholeWord(m_memo->text(), text);
    if (at < 0)
        return;
    m_memo->setSelection(at, text.size());
    m_memo->ensureCursorVisible();
}

void TFinder_Form::TreeViewDblClick() {
    QTreeWidgetItem* fileLine = fileLineOf(m_treeView->selectedItems().value(0));
    if (!fileLine || !openProgram)
        return;
    const QString path = folderPrefix(m_currentFolder) + fileLine->text(0);
    if (path == m_lastOpenedPath)
        return;
    m_lastOpenedPath = path;
    openProgram(path, m_formatSettings);
}

void TFinder_Form::ZnajdzButtonClick() {
    QList<QTreeWidgetItem*> lines;
    for (QTreeWidgetItemIterator it(m_treeView); *it; ++it)
        lines.append(*it);
    if (lines.size() < m_searchPosition)
        m_searchPosition = 1;
    const QLocale locale = QLocale::system();
    const QString wanted = locale.toUpper(m_findLabeledEdit->text());
    if (wanted.isEmpty())
        return;
    for (int i = m_searchPosition; i < lines.size(); ++i) {
        if (!locale.toUpper(lines[i]->text(0)).contains(wanted))
            continue;
        for (QTreeWidgetItem* up = lines[i]->parent(); up; up = up->parent())
            up->setExpanded(true);
        m_treeView->setCurrentItem(lines[i]);
        m_treeView->scrollToItem(lines[i]);
        m_searchPosition = i + 1;
        return;
    }
}

void TFinder_Form::FindLabeledEditChange() {
    m_searchPosition = 1;
}

void TFinder_Form::MemoSelectionChange() {
    m_kopiuj->setEnabled(m_memo->selLength() > 0);
}

void TFinder_Form::KopiujClick() {
    m_memo->copy();
}

void TFinder_Form::ZaznaczwszystkoClick() {
    m_memo->selectAll();
}

void TFinder_Form::Button2Click() {
    close();
}

// Esc closes the window as a dialog's Esc does: only when no control used the key first, so
// that Esc on an open drop-down list closes the list alone.
void TFinder_Form::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        Button2Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFinder_Form::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFinder_Form::FormClose() {
    stopListing();
}

} // namespace ordalvex
