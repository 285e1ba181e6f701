// The main window's commands that send the active program over the serial line and receive
// one into a new document window.
#include "common/core/inifile.h"
#include "common/core/settingslocation.h"
#include "common/ui/userinteraction.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "serial/core/portdevices.h"
#include "serial/core/portsettings.h"
#include "serial/core/programsource.h"
#include "serial/core/transferoptions.h"
#include "serial/core/transferport.h"
#include "serial/ui/ttransferform.h"
#include "shell/ui/tmainform.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

namespace ordalvex {

namespace {

// The port and options of the port settings file in force (the one the transfer window used
// last, else "Default.cfg").
struct TransferSetup {
    NamedPort port;
    PortSettings settings;
    TransferOptions options;
};

TransferSetup transferSetup(const QString& rememberedFileName) {
    const QString cfg = portSettingsPath(
        rememberedFileName.isEmpty() ? defaultPortSettingsFileName() : rememberedFileName, settingsFolder());
    TransferSetup setup;
    setup.settings = loadPortSettingsFile(cfg);
    setup.options = loadTransferOptionsFile(cfg);
    IniFile programSettings(settingsFilePath());
    programSettings.load(); // an unreadable file leaves the devices found
    const PortDevices devices = assignPortDevices(programSettings, discoverSerialDevices());
    setup.port = resolvePortName(QStringLiteral("COM%1").arg(setup.settings.comPort + 1), devices);
    return setup;
}

// A transfer window for `direction` with the port and options of `setup`, its transfer
// started; nothing, after telling the user why, when the port cannot be opened.
TTransferForm* startTransfer(QWidget* parent, TTransferForm::Direction direction, const TransferSetup& setup,
                             std::unique_ptr<ProgramSource> lines) {
    auto* form =
        new TTransferForm(direction, setup.port, setup.settings, setup.options, std::move(lines), parent);
    form->setWindowFlag(Qt::Window);
    const QString refusal = form->start();
    if (refusal.isEmpty())
        return form;
    delete form;
    beep();
    showMessage(parent, QMessageBox::Critical, QStringLiteral("Błąd"),
                QStringLiteral("Błąd: brak połączenia !\r") + refusal +
                    QStringLiteral("\rSprawdź ustawienia portu i spróbuj ponownie."));
    return nullptr;
}

} // namespace

QAction* TMainForm::createTransferCommands() {
    m_toolsMenu->addSeparator();
    QAction* send = addItem(m_toolsMenu, "Wyslijprogram", QStringLiteral("Wyś&lij program przez RS232"),
                            QKeySequence(), &TMainForm::WyslijprogramClick);
    QAction* receive = addItem(m_toolsMenu, "Odbierzprogram", QStringLiteral("O&dbierz program przez RS232"),
                               QKeySequence(), &TMainForm::OdbierzprogramClick);
    addButton("SendSpeedButton", QStringLiteral("Wyślij program przez RS232"), send);
    addButton("ReceiveSpeedButton", QStringLiteral("Odbierz program przez RS232"), receive);
    return send;
}

// One transfer at a time: a second command brings the running one forward.
static bool raiseRunningTransfer(TMainForm* main) {
    if (auto* running = main->findChild<TTransferForm*>(QStringLiteral("TransferForm"))) {
        beep();
        running->raise();
        running->activateWindow();
        return true;
    }
    return false;
}

void TMainForm::WyslijprogramClick() {
    TEditForm* document = activeDocument();
    if (document == nullptr || document->isLoading() || raiseRunningTransfer(this))
        return;
    TRichEdit98* editor = document->editor();
    const TransferSetup setup = transferSetup(ComPortSettingsFileName);
    // The lines are read from the editor as they go out, never copied whole; the document is
    // read-only meanwhile, and a window closed during the send ends it.
    QPointer<TRichEdit98> source(editor);
    auto lines = std::make_unique<TextProgramSource>(editor->lineCount(),
                                                     [source](int index) -> std::optional<QString> {
                                                         if (!source)
                                                             return std::nullopt;
                                                         return source->line(index);
                                                     });
    auto* form = startTransfer(this, TTransferForm::Direction::Send, setup, std::move(lines));
    if (form == nullptr)
        return;
    const bool wasReadOnly = editor->isReadOnly();
    editor->setReadOnly(true);
    connect(document, &QObject::destroyed, form, &TTransferForm::CancelBtnClick);
    connect(form, &TTransferForm::transferEnded, this,
            [this, source, wasReadOnly](TransferOutcome outcome, const QString& message) {
                if (source)
                    source->setReadOnly(wasReadOnly);
                if (outcome == TransferOutcome::PortLost || outcome == TransferOutcome::Failed) {
                    beep();
                    showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"), message);
                }
            });
    form->show();
}

void TMainForm::OdbierzprogramClick() {
    if (raiseRunningTransfer(this))
        return;
    const TransferSetup setup = transferSetup(ComPortSettingsFileName);
    auto* form = startTransfer(this, TTransferForm::Direction::Receive, setup, nullptr);
    if (form == nullptr)
        return;
    connect(form, &TTransferForm::transferEnded, this,
            [this, form](TransferOutcome outcome, const QString& message) {
                const std::string& bytes = form->receivedBytes();
                if (!bytes.empty())
                    openReceivedProgram(bytes);
                if (outcome == TransferOutcome::PortLost) {
                    beep();
                    showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"), message);
                }
            });
    form->show();
}

void TMainForm::openReceivedProgram(const std::string& bytes) {
    NewSpeedButtonClick();
    QPointer<TEditForm> document = activeDocument();
    if (!document)
        return;
    // Loaded as a file's bytes are: coloured, every byte kept; a new text, so modified.
    LoadBytesIntoEditor(*document, bytes, [document](bool loaded, const std::optional<QString>& name) {
        if (!document || !loaded)
            return;
        document->editor()->clearUndo();
        document->editor()->setModified(true);
        document->ShowProgramName(name);
    });
}

} // namespace ordalvex
