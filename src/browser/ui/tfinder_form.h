#pragma once

#include "browser/ui/browsericons.h"
#include "document/core/formatsettings.h"

#include <functional>
#include <memory>

#include <QString>
#include <QWidget>

class QAction;
class QComboBox;
class QKeyEvent;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace ordalvex {

class FolderListing;
class TRichEdit98;

// The file browser: a folder tree of the computer, and for the folder chosen in it a list of
// the files of the chosen type with the program names and comments found in them. A click on
// a line previews its file and selects the line's text there; a double click opens the file
// in a document window through `openProgram`. Closing destroys the window.
//
// A folder is listed in slices of a few milliseconds on the interface thread, so the window
// stays responsive while a large folder is read; listingFinished() is emitted at the end.
class TFinder_Form : public QWidget {
    Q_OBJECT
public:
    explicit TFinder_Form(QWidget* parent = nullptr);
    ~TFinder_Form() override;

    // Opens a program in a new document window with the given format settings. The main
    // window sets it; without it a double click opens nothing.
    std::function<void(const QString& path, const FormatSettings& settings)> openProgram;

    // Takes a copy of the format settings for the documents opened from the browser and
    // selects `startFolder` in the folder tree, which lists it. An empty or missing start
    // folder gives its nearest existing parent, else the home folder.
    void OpenBrowser(const FormatSettings& settings, const QString& startFolder);
    // Selects a folder in the folder tree (see OpenBrowser), which lists it when it changes.
    void selectFolder(const QString& folder);

    const QString& currentFolder() const { return m_currentFolder; }
    const FormatSettings& formatSettings() const { return m_formatSettings; }
    const QString& lastPreviewPath() const { return m_lastPreviewPath; }
    const QString& lastOpenedPath() const { return m_lastOpenedPath; }
    int searchPosition() const { return m_searchPosition; }
    // The file masks of the selected file type, separated by blanks ("*.nc", "*.min", "*.txt",
    // those of every machining program, or "*").
    QString fileMask() const;
    bool isListing() const;

public Q_SLOTS:
    void ShellTreeViewChange();
    void FilterComboBoxChange();
    void TreeViewClick();
    void TreeViewDblClick();
    void ZnajdzButtonClick();
    void FindLabeledEditChange();
    void MemoSelectionChange();
    void KopiujClick();
    void ZaznaczwszystkoClick();
    void Button2Click();

Q_SIGNALS:
    // The listing of the current folder ended, completely or at a file it could not read.
    void listingFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormClose();
    void buildControls();
    void listFolder();
    void continueListing();
    void stopListing();
    QTreeWidgetItem* fileLineOf(QTreeWidgetItem* line) const;
    bool previewFile(const QString& path);

    QTreeWidget* m_treeView = nullptr;
    QTreeView* m_shellTreeView = nullptr;
    QFileSystemModel* m_folders = nullptr;
    QComboBox* m_filterComboBox = nullptr;
    QLineEdit* m_findLabeledEdit = nullptr;
    QPushButton* m_znajdzButton = nullptr;
    QPushButton* m_button2 = nullptr;
    TRichEdit98* m_memo = nullptr;
    QMenu* m_popupMenu = nullptr;
    QAction* m_kopiuj = nullptr;
    QAction* m_zaznaczwszystko = nullptr;

    QString m_currentFolder;
    FormatSettings m_formatSettings;
    QString m_lastPreviewPath;
    QString m_lastOpenedPath;
    int m_searchPosition = 0;

    std::unique_ptr<FolderListing> m_listing;
    QTreeWidgetItem* m_rootLine = nullptr;
    QTimer* m_listingTimer = nullptr;
    LineIcons m_icons;
};

} // namespace ordalvex
