#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QWidget;

namespace ordalvex {

class FindDialog;
class ReplaceDialog;
class TEditForm;
class TRichEdit98;

// The message shown when a search finds nothing: Nie moge znaleźć "<pattern>".
QString notFoundMessage(const QString& pattern);

// Replaces the editor's selection, when it is a match of `pattern` under `options`, by
// `replacement`, set bold in the colour of the text it replaces, then searches for `pattern`
// with `options` from there. With `all`, every further match is replaced the same way until
// the search fails, all in one undo step. Returns whether the last search found a match (which
// is then selected); false after a replace all.
bool replaceAndFind(TRichEdit98& editor, const QString& pattern, const QString& replacement, unsigned options,
                    bool all);

// Find and replace of the main window: owns the two modeless dialogs (children of `parent`)
// and runs their requests on the document that `activeDocument` returns at that moment
// (nullptr when no document window is open, in which case every request does nothing).
// Messages go to the user through the interaction seam with `parent` as their parent.
class FindReplace : public QObject {
    Q_OBJECT
public:
    FindReplace(QWidget* parent, std::function<TEditForm*()> activeDocument);
    ~FindReplace() override;

    FindDialog* findDialog() const { return m_findDialog; }
    ReplaceDialog* replaceDialog() const { return m_replaceDialog; }

public Q_SLOTS:
    // Find command: takes a non-empty selection of the active document as the search text and
    // shows the find dialog. Returns (and reports through findNextEnabled) whether it was
    // shown; false, with no signal, when no document is open.
    bool FindSpeedButtonClick();
    // Find next command: repeats the find dialog's search without showing it.
    void FindNextSpeedButtonClick();
    // Replace command: takes a non-empty selection as the search text and shows the dialog.
    void ReplaceSpeedButtonClick();
    // Find-next request of `dialog` (the find or the replace dialog).
    void ReplaceDialogFind(QObject* dialog);
    // Replace (all = false) or replace-all request of the replace dialog.
    void ReplaceDialogReplace(bool all);

Q_SIGNALS:
    // After each Find command: whether find next may be used (FindNextSpeedButton and
    // Znajdnastpny follow it).
    void findNextEnabled(bool enabled);

private:
    void find(const QString& pattern, unsigned options);
    TRichEdit98* activeEditor() const;

    QWidget* m_parent = nullptr;
    std::function<TEditForm*()> m_activeDocument;
    FindDialog* m_findDialog = nullptr;
    ReplaceDialog* m_replaceDialog = nullptr;
};

} // namespace ordalvex
