#pragma once

#include "common/ui/userinteraction.h"
#include "document/core/formatsettings.h"
#include "document/core/textdocument.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QMdiSubWindow>
#include <QString>

class QMenu;
class QAction;
class QFrame;
class QPrinter;
class QTextDocument;

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

    // The program shown: its file name, format settings and saving.
    TextDocument& document() { return m_document; }
    const TextDocument& document() const { return m_document; }
    TRichEdit98* editor() const { return m_editor; }

    // Opens `path`: caption and hint become the path; an existing file is loaded (modified
    // off, program name in the caption, caret at 0, no undo history); a missing one closes
    // the window without a message.
    void OpenFile(const QString& path);
    void RestoreWindow(const DocumentPlacement& placement, const FormatSettings& settings);
    DocumentPlacement GetWindowState() const;
    // Takes new settings (a missing face replaced by the one in use, see editorFaceInUse) and
    // colours the text again, keeping the modified flag. During a load
    // the settings wait for its end (the last ones given win).
    void ApplyFormat(const FormatSettings& settings);
    // Adds "  ---> " and the program's name to the caption when the text names one.
    void ShowProgramName();
    // The same with the name a load has already found in the text (see LoadIntoEditor).
    void ShowProgramName(const std::optional<QString>& name);

    // Outcome of Save and SaveAs. NotSaved: cancelled by the user (dialog cancelled, No to the
    // name question) or a read-only editor; Failed: a write error or a text that cannot be
    // written, already shown to the user, the document still modified.
    enum class SaveResult { Saved, NotSaved, Failed };

    // Saves to the document's file: asks when the program number differs from the file name,
    // keeps the previous file as ".bak", stamps today's date into the dates of the comments,
    // writes the text (Windows-1250, every line ended by CR LF) and clears the modified flag. Where the
    // folder takes no new files but the file is writable, the file is overwritten in place,
    // with a warning when no ".bak" copy could be made. A new document (no file name) goes to
    // SaveAs.
    SaveResult Save();
    // Asks for a name (the program number proposed) and saves under it. `folder`, when given,
    // receives the folder of the file afterwards (also after a cancel, as it then stands), but
    // not after a save as ".rtf", which writes a copy and leaves the window on its old file.
    SaveResult SaveAs(QString* folder = nullptr);
    // The save dialog's reaction to another file type (1-based filter index): the default
    // suffix, and for type 1 the name `shownName` with the extension ".nc".
    FileDialogTypeChange SaveFileDialogTypeChange(int filterIndex, const QString& shownName);
    // The question before a modified document closes. Returns whether the window may close:
    // false for Cancel and for a failed save.
    bool FormCloseQuery();
    // Closes the window without asking (after FormCloseQuery was asked already).
    void closeWithoutQuestion();

    // A text tool's work: the program's bytes (Windows-1250, CR LF) in, the changed bytes out.
    using TextTransform = std::function<std::string(std::string_view)>;
    // Runs a text tool on the whole text; the result is coloured again when highlighting is on
    // and takes the text's place as one undo step (the history before it kept, the document
    // modified, the caret kept); a text the tool leaves as it is stays untouched. Nothing
    // happens to an empty, read-only or loading document, nor to a text that cannot be
    // written in Windows-1250 (the user is told why).
    void runTextTool(const TextTransform& transform);

    // Runs the print dialog; when confirmed, prints the whole text as one job titled with the
    // file name without its folder.
    void PrintDocument();
    // Shows a print dialog for `printer` and returns whether the user confirmed.
    using PrintDialogHook = std::function<bool(QWidget* parent, QPrinter& printer)>;
    // Replaces the print dialog of every document window (tests); an empty hook restores it.
    static void setPrintDialogHook(PrintDialogHook hook);

    // True while a file is being loaded or a text put in place; the window then defers a
    // close until the work ends.
    bool isLoading() const { return m_loading > 0; }
    // Text work (a load, a tool's result): the editor read-only meanwhile; at the end a deferred
    // close or format runs, and textWorkFinished is sent. Pairs nest.
    void beginTextWork();
    void endTextWork();
    bool closeDeferred() const { return m_closeDeferred; }

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
    // The window became active: the main window's commands follow its editor.
    void FormActivate();

Q_SIGNALS:
    // selection: 1 when text is selected; undoRedo: 1 when undo is possible + 10 when redo is.
    // A closing window sends 0, 0.
    void editStateChanged(int selection, int undoRedo);
    // The last piece of text work (see beginTextWork) ended.
    void textWorkFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormClose();
    void EditorKeyDown(int key, int nativeVirtualKey, bool keypad);
    void EditorKeyPress(QChar& ch);
    void EditorMouseDown(Qt::MouseButton button);
    void EditorMouseMove();
    void setFileName(const QString& path);
    // Puts `today` in place of the dates at `dates` (see TextDocument::save), each an undo step.
    void showStampedDates(const std::vector<std::size_t>& dates, const QString& today);
    void bindSelectionChange(bool bound);
    void createPopupMenu();
    bool encodeText(std::string& bytes, const QString& refusal);

    TextDocument m_document;
    bool m_decimalKeyDown = false; // the keypad's decimal key is down: its "," types "."
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
    bool m_popupArmed = true; // the menu key opens the menu until it has been shown once
    bool m_selectionBound = false;
    int m_loading = 0;
    // A format that arrived while a load was running; applied as soon as the load ends.
    std::optional<FormatSettings> m_pendingFormat;
    bool m_closeDeferred = false;
    bool m_readOnlyBeforeWork = false;
    bool m_closed = false;
    bool m_closeWithoutQuestion = false;
    QString m_saveDefaultSuffix = QStringLiteral("nc");
};

} // namespace ordalvex
