// The main window's tool commands: text tools, renumbering, the serial transfer window, find
// and replace, printing, the font, the calculators, the file browser and the about box.
#include "browser/ui/tfinder_form.h"
#include "calculators/ui/tcalcform.h"
#include "calculators/ui/tdraw_form.h" // complete type for the QPointer in totworyform.h
#include "calculators/ui/tkatyform.h"
#include "calculators/ui/tmcform.h"
#include "calculators/ui/totworyform.h"
#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/core/settingslocation.h"
#include "common/core/tempfolder.h"
#include "common/ui/userinteraction.h"
#include "document/core/programsave.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "serial/core/portsettings.h"
#include "serial/ui/tcomportform.h"
#include "shell/ui/findreplace.h"
#include "shell/ui/fontchoice.h"
#include "shell/ui/systemcalculator.h"
#include "shell/ui/taboutbox.h"
#include "shell/ui/tmainform.h"
#include "shell/ui/toolwindows.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/spacing.h"
#include "tools/ui/tformrenum.h"
#include "tools/ui/tgettextdialog.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QToolButton>

namespace ordalvex {

namespace {

// Writes `text` (CR LF line ends) to `path` as Windows-1250, every line ended as the editor
// saves its lines; false when a character has no
// byte there or the file cannot be written.
bool writeProgramFile(const QString& path, const QString& text) {
    cp1250::EncodeResult encoded = cp1250::encode(text);
    if (!encoded.ok())
        return false;
    return writeFileSafely(path, withEveryLineEnded(std::move(encoded.bytes))).ok();
}

} // namespace

void TMainForm::createToolServices() {
    m_findReplace = new FindReplace(this, [this] { return activeDocument(); });
    connect(m_findReplace, &FindReplace::findNextEnabled, this,
            [this](bool enabled) { m_findNext->setEnabled(enabled); });
    m_calculator = new SystemCalculator(SystemCalculator::defaultCandidates(), this);
}

void TMainForm::WstawClick() {
    if (!activeDocument())
        return;
    TGetTextDialog dialog(settingsFilePath(), this);
    dialog.exec();
    // The document may have been closed while the dialog was open.
    const std::string addresses = dialog.addressSet();
    if (TEditForm* document = activeDocument(); document && dialog.okPressed() && !addresses.empty()) {
        document->runTextTool(
            [&addresses](std::string_view text) { return insertDecimalPoints(text, addresses); });
    }
}

void TMainForm::UsuspacjeClick() {
    if (TEditForm* document = activeDocument())
        document->runTextTool(removeSpaces);
}

void TMainForm::WstawspacjeClick() {
    TEditForm* document = activeDocument();
    if (!document)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    document->runTextTool(insertSpaces);
    QApplication::restoreOverrideCursor();
}

void TMainForm::RenumberSpeedButtonClick() {
    TEditForm* document = activeDocument();
    if (!document)
        return;
    // A window still loading holds no text to renumber yet.
    if (document->isLoading()) {
        beep();
        return;
    }
    const QString tempDir = privateTempDir();
    if (tempDir.isEmpty()) {
        beep();
        return;
    }
    const QString path = tempDir + QStringLiteral("Renum.tmp");
    QPointer<TEditForm> guard(document);
    if (writeProgramFile(path, document->editor()->text())) {
        TFormRenum dialog(path, tempDir, this);
        dialog.setWindowTitle(QStringLiteral("Przenumeruj"));
        const QRect frame = frameGeometry();
        dialog.move(frame.left() + frame.width() - dialog.frameGeometry().width() - 90, frame.top() + 50);
        // The result goes back only to the window it came from, and only while it is open.
        if (dialog.Execute() && guard) {
            if (const std::optional<QByteArray> bytes = readWholeFile(path); !bytes) {
                beep();
            } else {
                // The renumbered text takes the old one's place as one undo step; the document
                // is modified (its file still holds the old numbers).
                ReplaceEditorText(*guard, std::string(bytes->constData(), std::size_t(bytes->size())),
                                  [guard](bool loaded, const auto&) {
                                      if (guard && loaded)
                                          guard->editor()->setModified(true);
                                  });
            }
        }
    } else {
        // A text that cannot be handed over whole is not renumbered at all.
        beep();
    }
    QFile::remove(path);
}

void TMainForm::ComPortSpeedButtonClick() {
    ComPortSettingsFileName = runComPortForm(this, ComPortSettingsFileName, settingsFilePath());
    m_comPort->setToolTip(comPortButtonHint(ComPortSettingsFileName));
}

void TMainForm::FindSpeedButtonClick() {
    m_findReplace->FindSpeedButtonClick();
}

void TMainForm::FindNextSpeedButtonClick() {
    m_findReplace->FindNextSpeedButtonClick();
}

void TMainForm::ReplaceSpeedButtonClick() {
    m_findReplace->ReplaceSpeedButtonClick();
}

void TMainForm::PrintSpeedButtonClick() {
    if (TEditForm* document = activeDocument())
        document->PrintDocument();
}

void TMainForm::CzcionkaClick() {
    chooseFontForDocuments(this, Settings, documents());
}

void TMainForm::KalkulatorClick() {
    if (m_calculator->show())
        return;
    showMessage(this, QMessageBox::Warning, QStringLiteral("Błąd"),
                QStringLiteral("Nie można uruchomić kalkulatora systemowego.\n"
                               "Szukano programów: %1 (w katalogach ze zmiennej PATH).")
                    .arg(m_calculator->programNames().join(QStringLiteral(", "))));
}

void TMainForm::openTool(ToolWindow kind, const std::function<QWidget*()>& create) {
    QWidget* window = openToolWindow(kind, this, create);
    m_toolWindows.removeAll(nullptr);
    if (window && !m_toolWindows.contains(window))
        m_toolWindows.append(window);
}

void TMainForm::closeToolWindows() {
    const QList<QPointer<QWidget>> windows = m_toolWindows;
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }
}

void TMainForm::ObliczwsprzdneotworwrozmieszczonychnaokrguClick() {
    openTool(ToolWindow::Otwory, [] { return new TOtworyForm(nullptr); });
}

void TMainForm::ObliczparametryClick() {
    openTool(ToolWindow::Calc, [] { return new TCalcForm(nullptr); });
}

void TMainForm::Ktyitrjkty1Click() {
    openTool(ToolWindow::Katy, [] { return new TKatyForm(nullptr); });
}

void TMainForm::ObliczfazkiClick() {
    openTool(ToolWindow::Mc, [] { return new TMcForm(nullptr); });
}

void TMainForm::Przegldarkaplikw1Click() {
    openTool(ToolWindow::Finder, [this] {
        auto* finder = new TFinder_Form(nullptr);
        finder->openProgram = [guard = QPointer<TMainForm>(this)](const QString& path,
                                                                  const FormatSettings& settings) {
            if (!guard)
                return;
            TEditForm* document = guard->createDocument();
            QPointer<TEditForm> opened(document);
            document->ApplyFormat(settings);
            if (opened)
                document->OpenFile(path);
        };
        finder->OpenBrowser(Settings, LastOpenPath);
        return finder;
    });
}

void TMainForm::Oprogramie2Click() {
    showAboutBox(this);
}

} // namespace ordalvex
