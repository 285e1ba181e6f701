#pragma once

#include "document/core/formatsettings.h"

#include <QMdiSubWindow>

class QMenu;
class QAction;
class QFrame;

namespace ordalvex {

class TRichEdit98;

// The document window: one child window of the main window per open program. It shows the
// program in its `Editor`, coloured when highlighting is on, names the program in its caption
// and reports its selection and undo state to the main window (editStateChanged).
class TEditForm : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit TEditForm(QWidget* parent = nullptr);
    ~TEditForm() override;

    // Fields of the window.
    QString TempDir;               // private temporary folder with a trailing "/"
    unsigned char PendingChar = 0; // lookahead of the word splitters
    bool DecimalKeyDown = false;
    bool SkipNameCheck = false;
    bool AfterDot = false;
    FormatSettings Settings; // this window's copy of the format settings
    QString FileName;        // full path of the file shown; empty for a new document

    TRichEdit98* editor() const { return m_editor; }
    QMenu* popupMenu() const { return m_popupMenu; }

    // Opens `path`: caption and hint become the path; an existing file is loaded (modified
    // off, program name in the caption, caret at 0, no undo history); a missing one closes
    // the window without a message.
    void OpenFile(const QString& path);
    void RestoreWindow(const DocumentPlacement& placement, const FormatSettings& settings);
    DocumentPlacement GetWindowState() const;
    // Takes new settings and colours the text again, keeping the modified flag.
    void ApplyFormat(const FormatSettings& settings);
    void ShowProgramName();

    // True while a file is being loaded; the window then defers a close until the load ends.
    bool isLoading() const { return m_loading > 0; }

public Q_SLOTS:
    // Context menu commands (also called by the main window for the active document).
    void CofnijClick();
    void PowtrzClick();
    void WytnijClick();
    void KopiujClick();
    void WklejClick();
    void UsuClick();
    void ZaznaczwszystkoClick();
    void EditorSelectionChange();

Q_SIGNALS:
    // selection: 1 when text is selected; undoRedo: 1 when undo is possible + 10 when redo is.
    // A closing window sends 0, 0.
    void editStateChanged(int selection, int undoRedo);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class LoadScope;
    void FormClose();
    void EditorKeyDown(int key, int nativeVirtualKey, bool keypad);
    void EditorKeyPress(QChar& ch);
    void EditorMouseDown(Qt::MouseButton button);
    void EditorMouseMove();
    void setFileName(const QString& path);
    void bindSelectionChange(bool bound);
    void createPopupMenu();

    TRichEdit98* m_editor = nullptr;
    QFrame* m_panel = nullptr;
    QMenu* m_popupMenu = nullptr;
    QAction* m_cofnij = nullptr;
    QAction* m_powtrz = nullptr;
    QAction* m_wytnij = nullptr;
    QAction* m_kopiuj = nullptr;
    QAction* m_wklej = nullptr;
    QAction* m_usu = nullptr;
    QAction* m_zaznaczwszystko = nullptr;
    bool m_popupArmed = false;
    bool m_selectionBound = false;
    int m_loading = 0;
    bool m_closeDeferred = false;
    bool m_closed = false;

    friend bool LoadIntoEditor(TEditForm& window, const QString& path);
};

} // namespace ordalvex
