// The document window's text tools (decimal points, spaces) and printing.

#include "common/ui/userinteraction.h"
#include "document/core/programsave.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/spacing.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace ordalvex {

namespace {

// Every window's tools share the one temporary file name: a tool that is still loading its
// result (the interface keeps running meanwhile) makes a second request wait for nothing.
bool g_textToolRunning = false;

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

void TEditForm::InsertDots(std::string_view addressSet) {
    if (addressSet.empty())
        return;
    const std::string addresses(addressSet);
    runTextTool([&addresses](std::string_view text) { return insertDecimalPoints(text, addresses); });
}

void TEditForm::RemoveSpaces() {
    runTextTool([](std::string_view text) { return removeSpaces(text); });
}

void TEditForm::InsertSpaces() {
    runTextTool([](std::string_view text) { return insertSpaces(text); });
}

void TEditForm::runTextTool(const std::function<std::string(std::string_view)>& transform) {
    if (m_editor->textLength() == 0 || m_editor->isReadOnly() || isLoading())
        return;
    if (g_textToolRunning) {
        beep();
        return;
    }
    std::string bytes;
    if (!encodeText(bytes, QStringLiteral("Tekst nie został zmieniony.")))
        return;
    std::string result = transform(bytes);
    const bool changed = result != bytes;
    bytes = std::string();

    const QString temporary = TempDir + QStringLiteral("Numer.tmp");
    const FileWriteResult written = writeFileSafely(temporary, withEveryLineEnded(std::move(result)));
    if (!written.ok()) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"),
                    fileWriteErrorText(temporary, written));
        return;
    }
    const qsizetype caret = m_editor->selStart();
    const bool wasModified = m_editor->modified();
    g_textToolRunning = true;
    QPointer<TEditForm> guard(this);
    m_editor->beginUpdate();
    const bool loaded = LoadIntoEditor(*this, temporary);
    g_textToolRunning = false;
    if (!QFile::remove(temporary))
        showMessage(guard, QMessageBox::Warning, QStringLiteral("Ostrzeżenie"),
                    QStringLiteral("Nie można usunąć pliku tymczasowego !"));
    if (!guard)
        return;
    m_editor->endUpdate();
    if (!loaded)
        return;
    // The loaded result is a new text: no undo back into the old one, and it must be saved.
    m_editor->clearUndo();
    m_editor->setModified(wasModified || changed);
    m_editor->setSelStart(caret);
    EditorSelectionChange();
}

void TEditForm::setPrintDialogHook(PrintDialogHook hook) {
    printDialogHook() = std::move(hook);
}

void TEditForm::PrintDocument() {
    QPrinter printer(QPrinter::HighResolution);
    // A new document has no file name yet: its caption names the job instead.
    printer.setDocName(FileName.isEmpty() ? windowTitle() : QFileInfo(FileName).fileName());
    if (!runPrintDialog(this, printer))
        return;
    m_editor->printDocument(&printer);
}

} // namespace ordalvex
