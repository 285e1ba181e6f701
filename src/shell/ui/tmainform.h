#pragma once

#include "document/core/formatsettings.h"
#include "shell/ui/toolwindows.h"

#include <functional>
#include <string>

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace ordalvex {

class DocumentStatus;
class FindReplace;
class SystemCalculator;
class TEditForm;
struct ShellSettings;

// The main window: a multiple-document frame titled "Ordalvex" holding the document windows,
// with the menu and the tool bar of every command. Command creation lives in
// maincommands.cpp, the settings file and window restore in mainsettings.cpp, the tool
// commands in toolcommands.cpp.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    FormatSettings Settings; // master copy handed to every document window
    int NewFileCounter = 1;  // number of the next untitled document
    QString LastOpenPath;    // folder the Open dialog and the file browser start in
    QString ComPortSettingsFileName;
    int OpenFilterIndex = 1; // file type last chosen in the Open dialog (1-based)

    QMdiArea* mdiArea() const { return m_mdiArea; }
    // Document windows, the active one first, then down the stacking order.
    QList<TEditForm*> documents() const;
    TEditForm* activeDocument() const;

    // Creates an empty document window in the frame (it becomes the active one).
    TEditForm* createDocument();
    // Files named on the command line, opened when the window is first shown.
    void setCommandLineFiles(const QStringList& arguments) { m_commandLineFiles = arguments; }
    // Opens each existing file of `arguments` in a new document window, in order; arguments
    // that are not existing files are ignored.
    void openCommandLineFiles(const QStringList& arguments);
    // Opens each path in a new document window, in order; a path that is not an existing file
    // makes its window close again.
    void openDroppedFiles(const QStringList& paths);

    // Start-up once the window is first shown: settings and last run's windows, command-line
    // files, command state, serial button hint. Runs once; later calls do nothing.
    void FormShow();
    void LoadSettings();
    // Writes the settings file; false when it could not be written (the caller ignores it).
    bool SaveSettings();

    // The command (menu item) or tool button of that object name (nullptr when there is none);
    // a tool button's command is its defaultAction().
    QAction* menuItem(const QString& name) const;
    QToolButton* toolButton(const QString& name) const;

public Q_SLOTS:
    void NewSpeedButtonClick();
    void OpenSpeedButtonClick();
    void SaveSpeedButtonClick();
    void SaveAsSpeedButtonClick();
    void Zamknij1Click();
    void ZamknijwszystkieClick();
    void Zakocz1Click();
    void Cofnij1Click();
    void Powtrz1Click();
    void CutSpeedButtonClick();
    void CopySpeedButtonClick();
    void PasteSpeedButtonClick();
    void Usu1Click();
    void Zaznaczwszystko1Click();
    void WstawspacjeClick();
    void UsuspacjeClick();
    void WstawClick();
    void RenumberSpeedButtonClick();
    void ComPortSpeedButtonClick();
    // Sends the active document over the serial line; receives a program into a new
    // document window (transfercommands.cpp).
    void WyslijprogramClick();
    void OdbierzprogramClick();
    void PodwietlajskadniClick();
    void PodwietlajskadniprzypisaniuClick();
    void Kaskada1Click();
    void Rozmiewpionie1Click();
    void Rozmiewpozziomie1Click();
    void PrevSpeedButtonClick();
    void NextSpeedButtonClick();

    // Find and replace, printing, font and the tool windows.
    void FindSpeedButtonClick();
    void FindNextSpeedButtonClick();
    void ReplaceSpeedButtonClick();
    void PrintSpeedButtonClick();
    void CzcionkaClick();
    void KalkulatorClick();
    void ObliczparametryClick();
    void ObliczwsprzdneotworwrozmieszczonychnaokrguClick();
    void Ktyitrjkty1Click();
    void ObliczfazkiClick();
    void Przegldarkaplikw1Click();
    void Oprogramie2Click();

    // Enables the document commands by the number of open document windows.
    void UpdateCommandState();
    // Selection flag (1 when text is selected) and undo/redo code (0, 1, 10 or 11) of a
    // document window; sets cut, copy, paste, delete, undo and redo. Answers 0.
    int NotifyEditState(int selection, int undoRedo);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Notes the active document window closing (see m_closingTop).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createCommands();
    void createToolServices();
    // The transfer commands in the tools menu and on the tool bar; returns the send command.
    QAction* createTransferCommands();
    void openReceivedProgram(const std::string& bytes);
    // A command shown as a menu item; `handler` runs when it is triggered (by its item, its
    // shortcut or its tool button).
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     void (TMainForm::*handler)());
    // A command that has a tool button but no menu item.
    QAction* addCommand(const char* name, void (TMainForm::*handler)());
    // Gives `item` the common desktop shortcut `second` besides its own, both shown in the menu.
    static void addSecondShortcut(QAction* item, const QKeySequence& second);
    // A tool button for `command`: it triggers the command, follows its enabled state and
    // shows `hint` and the command's glyph.
    QToolButton* addButton(const char* name, const QString& hint, QAction* command);
    void fillWindowMenu();
    bool clipboardHoldsText() const;

    ShellSettings currentSettings() const;
    void restoreWindows(const ShellSettings& settings);
    // `placement` moved and sized as a document restored from maximised takes it, measured
    // from the main window as it is now.
    DocumentPlacement restoredFromMaximized(const DocumentPlacement& placement) const;
    void keepRestoreSizeForLater(TEditForm* document, const DocumentPlacement& placement);
    bool askDocumentsToClose();
    void applyFormatToAll();
    void tile(Qt::Orientation orientation);
    void raiseToTop(QMdiSubWindow* window);
    TEditForm* openInNewWindow(const QString& path);
    // Opens a tool window (see openToolWindow) and keeps it to close it when the program ends.
    void openTool(ToolWindow kind, const std::function<QWidget*()>& create);
    void closeToolWindows();

    QMdiArea* m_mdiArea = nullptr;
    QToolBar* m_buttonPanel = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListItems;
    QMenu* m_toolsMenu = nullptr;
    // Commands that need an open document window.
    QList<QAction*> m_documentCommands;
    // Commands that follow the active document's selection, undo state and the clipboard.
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_cut = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_findNext = nullptr; // enabled once there is something to find
    QAction* m_highlighting = nullptr;
    QAction* m_highlightingOnWriting = nullptr;
    QAction* m_comPort = nullptr; // its hint names the port settings file
    // Stacking order of the document windows, top first.
    mutable QList<QPointer<TEditForm>> m_stack;
    // The active document window while it closes: the frame then activates a window by its own
    // activation history, which does not know that "previous window" sends the active one to
    // the bottom; the window below it in m_stack is the one that comes up instead.
    QPointer<TEditForm> m_closingTop;
    FindReplace* m_findReplace = nullptr;
    SystemCalculator* m_calculator = nullptr;
    DocumentStatus* m_status = nullptr;
    // The tool windows opened so far: top-level windows of their own, not children.
    QList<QPointer<QWidget>> m_toolWindows;
    QStringList m_commandLineFiles;
    bool m_shown = false;
};

} // namespace ordalvex
