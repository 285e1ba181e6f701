// The document window's text tools and printing.

#include "common/ui/userinteraction.h"
#include "document/core/programsave.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"

#include <QFileInfo>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace ordalvex {

namespace {

TEditForm::PrintDialogHook& printDialogHook() {
    static TEditForm::PrintDialogHook hook;
    return hook;
}

bool runPrintDialog(QWidget* parent, QPrinter& printer) {
    if (const auto& hook = printDialogHook())
        return hook(parent, printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void TEditForm::runTextTool(const TextTransform& transform) {
    if (m_editor->textLength() == 0 || m_editor->isReadOnly() || isLoading())
        return;
    std::string bytes;
    if (!encodeText(bytes, QStringLiteral("Tekst nie został zmieniony.")))
        return;
    std::string result = withEveryLineEnded(transform(bytes));
    if (result == withEveryLineEnded(std::move(bytes)))
        return; // nothing to change, nothing to undo
    const qsizetype caret = m_editor->selStart();
    QPointer<TEditForm> guard(this);
    // The result takes the text's place as one undo step; the history before it stays.
    ReplaceEditorText(*this, std::move(result), [guard, caret](bool loaded, const auto&) {
        if (!guard || !loaded)
            return;
        guard->m_editor->setModified(true);
        guard->m_editor->setSelStart(caret);
        guard->EditorSelectionChange();
    });
}

void TEditForm::setPrintDialogHook(PrintDialogHook hook) {
    printDialogHook() = std::move(hook);
}

void TEditForm::PrintDocument() {
    ProgramPrinter printer(QPrinter::HighResolution);
    // A new document has no file name yet: its caption names the job instead.
    printer.setDocName(m_document.isNew() ? windowTitle() : QFileInfo(m_document.fileName()).fileName());
    if (!runPrintDialog(this, printer))
        return;
    m_editor->printDocument(printer);
}

} // namespace ordalvex
