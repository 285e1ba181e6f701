#include "serial/ui/ttransferform.h"

#include "common/ui/widgethelpers.h"
#include "serial/core/programreceiver.h"
#include "serial/core/programsender.h"
#include "serial/core/programsource.h"
#include "serial/core/tcommportdriver.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

QString decimal(double value) {
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString rateText(double bytesPerSecond) {
    if (bytesPerSecond >= 1024.0 * 1024.0)
        return decimal(bytesPerSecond / (1024.0 * 1024.0)) + QStringLiteral(" MB/s");
    if (bytesPerSecond >= 1024.0)
        return decimal(bytesPerSecond / 1024.0) + QStringLiteral(" kB/s");
    return QString::number(qRound(bytesPerSecond)) + QStringLiteral(" B/s");
}

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(180);
    return label;
}

} // namespace

QString heldLineText(int handshakingItem) {
    const std::optional<FlowControl> flow = flowControlForItem(handshakingItem);
    if (flow && flow->software == shXONXOFF)
        return QStringLiteral("czeka na XON");
    if (flow && flow->hardware == hhRTSCTS)
        return QStringLiteral("czeka na CTS");
    return QStringLiteral("linia wstrzymana");
}

TTransferForm::TTransferForm(Direction direction, const NamedPort& port, const PortSettings& settings,
                             const TransferOptions& options, std::unique_ptr<ProgramSource> source,
                             QWidget* parent)
    : QDialog(parent), m_direction(direction), m_port(port), m_settings(settings), m_options(options),
      m_source(std::move(source)), m_driver(new TCommPortDriver(this)) {
    setObjectName(QStringLiteral("TransferForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString where = m_port.device.isEmpty() || m_port.device == m_port.name
                              ? m_port.name
                              : m_port.name + QStringLiteral(" (") + m_port.device + QLatin1Char(')');
    setWindowTitle((direction == Direction::Send ? QStringLiteral("Wysyłanie programu --> ")
                                                 : QStringLiteral("Odbieranie programu <-- ")) +
                   where);

    auto* layout = new QVBoxLayout(this);
    auto* portLabel = new QLabel(windowTitle(), this);
    portLabel->setObjectName(QStringLiteral("PortLabel"));
    QFont bold = portLabel->font();
    bold.setBold(true);
    portLabel->setFont(bold);
    layout->addWidget(portLabel);
    auto* form = new QFormLayout;
    m_linesLabel = valueLabel("LinesLabel", this);
    m_bytesLabel = valueLabel("BytesLabel", this);
    m_rateLabel = valueLabel("RateLabel", this);
    m_stateLabel = valueLabel("StateLabel", this);
    form->addRow(QStringLiteral("Wiersze:"), m_linesLabel);
    form->addRow(QStringLiteral("Bajty:"), m_bytesLabel);
    form->addRow(QStringLiteral("Szybkość:"), m_rateLabel);
    form->addRow(QStringLiteral("Stan:"), m_stateLabel);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cancelBtn =
        makeButton(this, "CancelBtn",
                   direction == Direction::Send ? QStringLiteral("&Anuluj") : QStringLiteral("&Zakończ"));
    buttons->addWidget(m_cancelBtn);
    layout->addLayout(buttons);
    connect(m_cancelBtn, &QPushButton::clicked, this, &TTransferForm::CancelBtnClick);
    showProgress(TransferProgress{});
}

TTransferForm::~TTransferForm() {
    // The transfer goes before the port it uses.
    delete m_sender;
    delete m_receiver;
    m_driver->ClosePort();
}

QString TTransferForm::start() {
    const QString refusal = openTransferPort(*m_driver, m_port, m_settings);
    if (!refusal.isEmpty())
        return refusal;
    m_running = true;
    if (m_direction == Direction::Send) {
        m_sender = new ProgramSender(*m_driver, *m_source, m_options);
        connect(m_sender, &ProgramSender::progressed, this, &TTransferForm::showProgress);
        connect(m_sender, &ProgramSender::finished, this, &TTransferForm::ended);
        m_sender->start();
    } else {
        m_receiver = new ProgramReceiver(*m_driver, m_options);
        connect(m_receiver, &ProgramReceiver::progressed, this, &TTransferForm::showProgress);
        connect(m_receiver, &ProgramReceiver::finished, this, &TTransferForm::ended);
        m_receiver->start();
        m_stateLabel->setText(QStringLiteral("czeka na program"));
    }
    return QString();
}

const std::string& TTransferForm::receivedBytes() const {
    static const std::string none;
    return m_receiver != nullptr ? m_receiver->bytes() : none;
}

void TTransferForm::CancelBtnClick() {
    if (m_sender != nullptr && m_running)
        m_sender->cancel();
    else if (m_receiver != nullptr && m_running)
        m_receiver->stop();
}

void TTransferForm::closeEvent(QCloseEvent* event) {
    if (m_running) {
        // Closing the window ends the transfer; ended() closes it again once that is done.
        event->ignore();
        CancelBtnClick();
        return;
    }
    QDialog::closeEvent(event);
}

void TTransferForm::showProgress(const TransferProgress& progress) {
    m_linesLabel->setText(progress.totalLines >= 0
                              ? QStringLiteral("%1 z %2").arg(progress.lines).arg(progress.totalLines)
                              : QString::number(progress.lines));
    m_bytesLabel->setText(QString::number(progress.bytes));
    m_rateLabel->setText(rateText(progress.bytesPerSecond));
    if (m_direction == Direction::Send)
        m_stateLabel->setText(progress.held ? heldLineText(m_settings.handshaking)
                                            : QStringLiteral("wysyłanie"));
    else if (progress.bytes > 0)
        m_stateLabel->setText(QStringLiteral("odbieranie"));
}

void TTransferForm::ended(TransferOutcome outcome, const QString& message) {
    m_running = false;
    m_driver->ClosePort();
    Q_EMIT transferEnded(outcome, message);
    close();
}

} // namespace ordalvex
