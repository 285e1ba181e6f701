#pragma once

#include "serial/core/programsender.h"
#include "serial/core/transferoptions.h"
#include "serial/core/transferport.h"

#include <memory>
#include <string>

#include <QDialog>

class QLabel;
class QPushButton;

namespace ordalvex {

class ProgramReceiver;
class ProgramSender;
class ProgramSource;
class TCommPortDriver;

// The progress window of one program sent or received over the serial line: lines, bytes,
// rate and whether the machine holds the line ("czeka na XON"), with a button that cancels
// a send or ends a receive. It owns the port and the transfer; the transfer runs on timers
// of the interface thread, so the window and the rest of the program stay usable. The window
// closes itself when the transfer ends, after raising transferEnded; closing it by hand
// cancels.
class TTransferForm : public QDialog {
    Q_OBJECT
public:
    enum class Direction { Send, Receive };
    // source: the program to send (Send only; kept by the window until it closes).
    TTransferForm(Direction direction, const NamedPort& port, const PortSettings& settings,
                  const TransferOptions& options, std::unique_ptr<ProgramSource> source = {},
                  QWidget* parent = nullptr);
    ~TTransferForm() override;

    // Opens the port and starts. Gives an empty text when the transfer runs, else why the
    // port could not be opened (Polish), and nothing is started.
    QString start();
    // What a receive took so far (all of it once ended).
    const std::string& receivedBytes() const;
    Direction direction() const { return m_direction; }

public Q_SLOTS:
    // The button: cancels a send, ends a receive.
    void CancelBtnClick();

Q_SIGNALS:
    void transferEnded(ordalvex::TransferOutcome outcome, const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress(const ordalvex::TransferProgress& progress);
    void ended(ordalvex::TransferOutcome outcome, const QString& message);

    Direction m_direction;
    NamedPort m_port;
    PortSettings m_settings;
    TransferOptions m_options;
    std::unique_ptr<ProgramSource> m_source;
    TCommPortDriver* m_driver;
    ProgramSender* m_sender = nullptr;
    ProgramReceiver* m_receiver = nullptr;
    bool m_running = false;
    QLabel* m_linesLabel;
    QLabel* m_bytesLabel;
    QLabel* m_rateLabel;
    QLabel* m_stateLabel;
    QPushButton* m_cancelBtn;
};

// The waiting text of a held line for the flow control of item (see flowControlForItem):
// "czeka na XON" under XON/XOFF, "czeka na CTS" under RTS/CTS alone, "linia wstrzymana"
// without flow control.
QString heldLineText(int handshakingItem);

} // namespace ordalvex
