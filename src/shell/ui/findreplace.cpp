#include "shell/ui/findreplace.h"

#include "common/ui/userinteraction.h"
#include "document/core/patternsearch.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "shell/ui/finddialogs.h"

namespace ordalvex {

QString notFoundMessage(const QString& pattern) {
    return QStringLiteral("Nie moge znaleźć \"") + pattern + QStringLiteral("\".");
}

namespace {

// Bold on, italic, underline and strike-out off, colour kept; the replacement typed over the
// selection takes this format.
void replaceSelection(TRichEdit98& editor, const QString& replacement) {
    editor.setSelectionBold(true);
    editor.setSelText(replacement);
}

} // namespace

bool replaceAndFind(TRichEdit98& editor, const QString& pattern, const QString& replacement, unsigned options,
                    bool all) {
    // An upward replace all could find the text it has just inserted again and never end.
    if (all)
        options |= frDown;
    editor.beginUpdate();
    editor.beginUndoStep(); // replace all is one step back
    // Only a selection that is a match is replaced: the dialog stays open while the user
    // selects anything, and whatever happens to be selected must not be overwritten.
    if (SelectionMatches(editor, pattern, options))
        replaceSelection(editor, replacement);
    bool found = SearchEditor(editor, pattern, options);
    while (found && all) {
        replaceSelection(editor, replacement);
        found = SearchEditor(editor, pattern, options);
    }
    editor.endUndoStep();
    editor.endUpdate();
    return found;
}

FindReplace::FindReplace(QWidget* parent, std::function<TEditForm*()> activeDocument)
    : QObject(parent), m_parent(parent), m_activeDocument(std::move(activeDocument)) {
    m_findDialog = new FindDialog(parent);
    m_replaceDialog = new ReplaceDialog(parent);
    connect(m_findDialog, &FindDialog::findNext, this, [this] { ReplaceDialogFind(m_findDialog); });
    connect(m_replaceDialog, &ReplaceDialog::findNext, this, [this] { ReplaceDialogFind(m_replaceDialog); });
    connect(m_replaceDialog, &ReplaceDialog::replace, this, [this] { ReplaceDialogReplace(false); });
    connect(m_replaceDialog, &ReplaceDialog::replaceAll, this, [this] { ReplaceDialogReplace(true); });
}

FindReplace::~FindReplace() {
    // Without a parent window the dialogs are ours to free.
    if (!m_parent) {
        delete m_findDialog;
        delete m_replaceDialog;
    }
}

TRichEdit98* FindReplace::activeEditor() const {
    TEditForm* document = m_activeDocument ? m_activeDocument() : nullptr;
    return document ? document->editor() : nullptr;
}

bool FindReplace::FindSpeedButtonClick() {
    TRichEdit98* editor = activeEditor();
    if (!editor)
        return false;
    if (editor->selLength() > 0)
        m_findDialog->setFindText(editor->selectedText());
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    const bool shown = m_findDialog->isVisible();
    Q_EMIT findNextEnabled(shown);
    return shown;
}

void FindReplace::FindNextSpeedButtonClick() {
    if (activeEditor())
        find(m_findDialog->findText(), m_findDialog->options());
}

void FindReplace::ReplaceSpeedButtonClick() {
    if (TRichEdit98* editor = activeEditor(); editor && editor->selLength() > 0)
        m_replaceDialog->setFindText(editor->selectedText());
    m_replaceDialog->show();
    m_replaceDialog->raise();
    m_replaceDialog->activateWindow();
}

void FindReplace::ReplaceDialogFind(QObject* dialog) {
    if (dialog == m_replaceDialog)
        find(m_replaceDialog->findText(), m_replaceDialog->options());
    else
        find(m_findDialog->findText(), m_findDialog->options());
}

void FindReplace::find(const QString& pattern, unsigned options) {
    TRichEdit98* editor = activeEditor();
    if (!editor)
        return;
    if (SearchEditor(*editor, pattern, options)) {
        if (m_findDialog->isVisible())
            m_findDialog->close();
    } else {
        showMessage(m_parent, QMessageBox::NoIcon, QStringLiteral("Ordalvex"), notFoundMessage(pattern));
    }
}

void FindReplace::ReplaceDialogReplace(bool all) {
    TRichEdit98* editor = activeEditor();
    if (!editor)
        return;
    // A read-only text (one being loaded) takes no replacement.
    if (editor->isReadOnly()) {
        beep();
        return;
    }
    const QString pattern = m_replaceDialog->findText();
    const bool found =
        replaceAndFind(*editor, pattern, m_replaceDialog->replaceText(), m_replaceDialog->options(), all);
    if (!found && !all)
        showMessage(m_parent, QMessageBox::NoIcon, QStringLiteral("Ordalvex"), notFoundMessage(pattern));
}

} // namespace ordalvex
