#include "serial/ui/tcomportform.h"

#include "common/core/codepage.h"
#include "common/core/inifile.h"
#include "common/ui/growtotext.h"
#include "common/ui/userinteraction.h"
#include "common/ui/widgethelpers.h"
#include "serial/core/terminaltext.h"
#include "serial/ui/radiogroup.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

const QString kCaption = QStringLiteral("Parametry transmisji RS232");
const QString kFileFilter = QStringLiteral("Plik ustawień (*.cfg)");
const QString kFileSuffix = QStringLiteral("cfg");

// Client sizes: the settings alone, and with the test area below them.
constexpr int kCollapsedWidth = 710;
constexpr int kExpandedWidth = 783;
constexpr int kPanel1Height = 101;
constexpr int kPanel4Height = 28;
constexpr int kPanel3Height = 19;
constexpr int kRxMemoHeight = 178;
constexpr int kPanel2Height = 19;
constexpr int kTxMemoHeight = 123;
constexpr int kCollapsedHeight = kPanel1Height + kPanel4Height;
constexpr int kTestAreaHeight = kPanel2Height + kPanel3Height + kRxMemoHeight + kTxMemoHeight;

QFont smallFont() {
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(9);
    return font;
}

QFont memoFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(16);
    return font;
}

QFrame* makePanel(const char* name, int height, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFixedHeight(height);
    return panel;
}

// The member of the window that holds a control of type T.
template <typename T> using Member = T* TComPortForm::*;

QPlainTextEdit* makeMemo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setFont(memoFont());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    return memo;
}

QAction* makeAction(const char* name, const QString& text, QKeySequence::StandardKey key, QMenu* menu) {
    auto* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    // The memo's own key handling reaches these (see eventFilter), not a window shortcut.
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

QString selectedText(const QPlainTextEdit* memo) {
    return memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

TComPortForm::TComPortForm(QWidget* parent) : QDialog(parent), m_driver(new TCommPortDriver(this)) {
    setObjectName(QStringLiteral("ComPortForm"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    // 8 points of the Windows screen (96 dots per inch): the fixed places of the controls
    // below are laid out for text of that height, whatever the screen's own resolution.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    m_driver->setObjectName(QStringLiteral("CommPortDriver"));
    m_driver->setComPortPollingDelay(0);
    m_driver->setOnReceiveData([this](TCommPortDriver& sender, const char* data, std::int32_t size) {
        CommPortDriverReceiveData(sender, data, size);
    });
    connect(m_driver, &TCommPortDriver::portLost, this, &TComPortForm::portLost);

    buildControls();
    setFixedSize(expandedWidth(), kCollapsedHeight + kTestAreaHeight);
}

TComPortForm::~TComPortForm() {
    m_driver->ClosePort();
}

void TComPortForm::buildControls() {
    using F = TComPortForm;
    using Slot = std::variant<Member<QPushButton>, Member<QToolButton>, Member<RadioGroup>, Member<QLabel>,
                              Member<QLineEdit>>;
    // The controls of the bars, in tab order: the member that holds each, its name and caption,
    // its place in the design, and the controls left of it (names separated by blanks) that
    // push it right, `gap` pixels clear, where they grew (see clearOf). Where the system font
    // is wider than the one the places were chosen for, a field moves right rather than cover
    // its label.
    struct Control {
        Member<QFrame> bar;
        Slot slot;
        const char* name;
        const char* caption;
        QRect place;
        const char* clearOf = "";
        int gap = 0;
        void (F::*onClick)() = nullptr;
        const char* hint = nullptr;
        const char* choices = nullptr; // radio groups: separated by "|"
        int columns = 1;
        int choice = 0;
    };
    constexpr Member<QLabel> kUnnamed = nullptr;
    constexpr Member<QFrame> top = &F::m_panel1, delays = &F::m_panel4, in = &F::m_panel3, out = &F::m_panel2;
    // clang-format off
    static const Control kControls[] = {
        {top, &F::m_openButton, "OpenButton", "&Otwórz...", {6, 12, 70, 25}, "", 0, &F::OpenButtonClick,
         "Wczytaj parametry"},
        {top, &F::m_saveButton, "SaveButton", "&Zapisz...", {6, 40, 70, 25}, "", 0, &F::SaveButtonClick,
         "Zapisz parametry"},
        {top, &F::m_quitBtn, "QuitBtn", "Zam&knij", {6, 68, 70, 25}, "", 0, &F::QuitBtnClick},
        {top, &F::m_comPortRG, "ComPortRG", " Port COM ", {84, 4, 69, 93}, "OpenButton SaveButton QuitBtn", 8,
         &F::ComPortRGClick, nullptr, "COM1|COM2|COM3|COM4"},
        {top, &F::m_baudRateRG, "BaudRateRG", "Szybkość transmisji", {156, 4, 185, 93}, "ComPortRG", 3,
         &F::BaudRateRGClick, nullptr,
         "300|600|1200|2400|4800|9600|14400|19200|38400|56000|57600|115200", 3, 5},
        {top, &F::m_dataBitsRG, "DataBitsRG", " Bity danych", {344, 4, 74, 93}, "BaudRateRG", 3,
         &F::DataBitsRGClick, nullptr, "5|6|7|8", 1, 3},
        {top, &F::m_parityRG, "ParityRG", " Parzystość", {421, 4, 73, 93}, "DataBitsRG", 3,
         &F::ParityRGClick, nullptr, "none|odd|even|mark|space"},
        {top, &F::m_handshakingRG, "HandshakingRG", " Sterowanie przepływem", {497, 4, 153, 93},
         "ParityRG", 3, &F::HandshakingRGClick, nullptr, "none|RTS/CTS|XON/XOFF|RTS/CTS + XON/XOFF"},
        {top, &F::m_testSpeedButton, "TestSpeedButton", "&Test", {656, 48, 41, 22}, "HandshakingRG", 6,
         &F::TestSpeedButtonClick, "Testowanie ustawień"},
        {top, &F::m_connectBtn, "ConnectBtn", "&Połącz", {708, 20, 65, 25}, "TestSpeedButton", 11,
         &F::ConnectBtnClick},
        {top, &F::m_disconnectBtn, "DisconnectBtn", "&Rozłącz", {708, 72, 64, 25}, "TestSpeedButton", 11,
         &F::DisconnectBtnClick},
        {delays, &F::m_label1, "Label1", "Opuźnienie wysłania znaku : ", {15, 6, 0, 0}},
        {delays, &F::m_charDelayEdit, "CharDelayEdit", "0", {152, 3, 41, 21}, "Label1", 1},
        {delays, &F::m_label2, "Label2", "Opuźnienie wysłania lini : ", {312, 6, 0, 0}, "CharDelayEdit", 8},
        {delays, &F::m_lineDelayEdit, "LineDelayEdit", "0", {432, 3, 41, 21}, "Label2", 1},
        {in, kUnnamed, "", "Odebrane", {4, 0, 120, kPanel3Height}},
        {in, &F::m_clrInMemo, "ClrInMemo", "Wyczyść", {137, 1, 75, 14}, "", 0, &F::ClrInMemoClick},
        {out, kUnnamed, "", "Wysłane", {4, 0, 120, kPanel2Height}},
        {out, &F::m_clrOutMemo, "ClrOutMemo", "Wyczyść", {137, 3, 75, 14}, "", 0, &F::ClrOutMemoClick},
        {out, &F::m_setDTRBtn, "SetDTRBtn", "SET DTR", {332, 3, 75, 14}, "", 0, &F::SetDTRBtnClick},
        {out, &F::m_clrDTRBtn, "ClrDTRBtn", "CLR DTR", {407, 3, 75, 14}, "SetDTRBtn", 0, &F::ClrDTRBtnClick},
        {out, &F::m_setRTSBtn, "SetRTSBtn", "SET RTS", {522, 3, 75, 14}, "ClrDTRBtn", 40, &F::SetRTSBtnClick},
        {out, &F::m_clrRTSBtn, "ClrRTSBtn", "CLR RTS", {597, 3, 75, 14}, "SetRTSBtn", 0, &F::ClrRTSBtnClick},
    };
    // clang-format on

    // Makes the controls of `bar` from the table.
    const auto fill = [this](Member<QFrame> bar) {
        QFrame* panel = this->*bar;
        for (const Control& row : kControls) {
            if (row.bar != bar)
                continue;
            QRect place = row.place;
            for (const QString& name : QString::fromLatin1(row.clearOf).split(u' ', Qt::SkipEmptyParts))
                place.moveLeft(clearOf(place.left(), {panel->findChild<QWidget*>(name)}, row.gap));
            const QString caption = QString::fromUtf8(row.caption);
            std::visit(
                [&](auto slot) {
                    using Type = std::remove_pointer_t<std::remove_reference_t<decltype(this->*slot)>>;
                    Type* control = nullptr;
                    if constexpr (std::is_same_v<Type, QPushButton>) {
                        // The bars the buttons sit in keep their height.
                        control = makeButton(panel, row.name, caption, place, Qt::Horizontal);
                        if (place.height() < 20) // the thin bars above the memos
                            control->setFont(smallFont());
                    } else if constexpr (std::is_same_v<Type, QToolButton>) {
                        control = new QToolButton(panel);
                        control->setText(caption);
                        control->setCheckable(true);
                        placeGrown(control, place, Qt::Horizontal);
                    } else if constexpr (std::is_same_v<Type, RadioGroup>) {
                        control = new RadioGroup(caption, QString::fromLatin1(row.choices).split(u'|'),
                                                 row.columns, panel);
                        placeGrown(control, place, Qt::Horizontal);
                        control->setItemIndex(row.choice);
                    } else if constexpr (std::is_same_v<Type, QLabel>) {
                        control = makeLabel(panel, row.name, caption, place.topLeft());
                        if (!place.isEmpty())
                            control->setGeometry(place);
                    } else {
                        control = makeField(panel, row.name, caption);
                        control->setMaxLength(2);
                        control->setGeometry(place);
                    }
                    control->setObjectName(QLatin1String(row.name));
                    if (row.hint)
                        control->setToolTip(QString::fromUtf8(row.hint));
                    if constexpr (!std::is_same_v<Type, QLabel> && !std::is_same_v<Type, QLineEdit>)
                        if (row.onClick)
                            connect(control, &Type::clicked, this, row.onClick);
                    if (slot)
                        this->*slot = control;
                },
                row.slot);
        }
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    m_panel1 = makePanel("Panel1", kPanel1Height, this);
    fill(top);
    m_disconnectBtn->setEnabled(false);
    layout->addWidget(m_panel1);

    m_panel4 = makePanel("Panel4", kPanel4Height, this);
    m_panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    fill(delays);
    m_portDeviceLabel = makeLabel(m_panel4, "PortDeviceLabel", QString());
    m_portDeviceLabel->setGeometry(m_lineDelayEdit->geometry().right() + 12, 3,
                                   kCollapsedWidth - m_lineDelayEdit->geometry().right() - 16, 21);
    layout->addWidget(m_panel4);

    m_panel3 = makePanel("Panel3", kPanel3Height, this);
    fill(in);
    layout->addWidget(m_panel3);

    m_rxMemo = makeMemo("RxMemo", this);
    m_rxMemo->setReadOnly(true);
    m_rxMemo->setUndoRedoEnabled(false); // received text only grows; no history to keep
    layout->addWidget(m_rxMemo, 1);

    m_panel2 = makePanel("Panel2", kPanel2Height, this);
    fill(out);
    layout->addWidget(m_panel2);

    m_txMemo = makeMemo("TxMemo", this);
    m_txMemo->setFixedHeight(kTxMemoHeight);
    layout->addWidget(m_txMemo);

    m_txPopupMenu = new QMenu(this);
    m_txPopupMenu->setObjectName(QStringLiteral("TxPopupMenu"));
    m_txCopy = makeAction("TxCopy", QStringLiteral("Kopiuj"), QKeySequence::Copy, m_txPopupMenu);
    m_txCut = makeAction("TxCut", QStringLiteral("Wytnij"), QKeySequence::Cut, m_txPopupMenu);
    m_txPaste = makeAction("TxPaste", QStringLiteral("Wklej"), QKeySequence::Paste, m_txPopupMenu);
    m_rxPopupMenu = new QMenu(this);
    m_rxPopupMenu->setObjectName(QStringLiteral("RxPopupMenu"));
    m_rxCopy = makeAction("RxCopy", QStringLiteral("Kopiuj"), QKeySequence::Copy, m_rxPopupMenu);

    setTestAreaVisible(false);

    connect(m_txPopupMenu, &QMenu::aboutToShow, this, &TComPortForm::TxPopupMenuPopup);
    connect(m_rxPopupMenu, &QMenu::aboutToShow, this, &TComPortForm::RxPopupMenuPopup);
    connect(m_txCopy, &QAction::triggered, this, &TComPortForm::TxCopyClick);
    connect(m_txCut, &QAction::triggered, this, &TComPortForm::TxCutClick);
    connect(m_txPaste, &QAction::triggered, this, &TComPortForm::TxPasteClick);
    connect(m_rxCopy, &QAction::triggered, this, &TComPortForm::RxCopyClick);
    connect(m_txMemo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_txPopupMenu->popup(m_txMemo->viewport()->mapToGlobal(at)); });
    connect(m_rxMemo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_rxPopupMenu->popup(m_rxMemo->viewport()->mapToGlobal(at)); });
    m_txMemo->installEventFilter(this);
    m_rxMemo->installEventFilter(this);
}

void TComPortForm::setPortDevices(const PortDevices& devices) {
    m_portDevices = devices;
    m_driver->setDevicePaths(devicePathsOf(devices));
    for (int i = 0; i < m_comPortRG->count(); ++i)
        m_comPortRG->button(i)->setToolTip(portLabel(i, devices[std::size_t(i)]));
    showChosenDevice();
}

void TComPortForm::setPortDevicePaths(const PortDevicePaths& paths) {
    PortDevices devices;
    for (std::size_t i = 0; i < paths.size(); ++i)
        devices[i] = {paths[i], paths[i], QString()};
    setPortDevices(devices);
}

void TComPortForm::showChosenDevice() {
    const int chosen = m_comPortRG->itemIndex();
    const QString label = chosen >= 0 ? portLabel(chosen, m_portDevices[std::size_t(chosen)]) : QString();
    m_portDeviceLabel->setToolTip(label);
    // The choice itself names the port; beside the delay fields only its device is shown.
    const QString device = label.section(QStringLiteral(" — "), 1);
    m_portDeviceLabel->setText(
        m_portDeviceLabel->fontMetrics().elidedText(device, Qt::ElideMiddle, m_portDeviceLabel->width()));
}

void TComPortForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per use of the window, not again when it comes back from being minimised.
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TComPortForm::keyPressEvent(QKeyEvent* event) {
    // Escape would close the window with the test running; only "Zamknij" and the title
    // bar close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TComPortForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != m_txMemo && watched != m_rxMemo))
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Clipboard keys go through the program's own clipboard access, like the menu items.
    if (key->matches(QKeySequence::Copy)) {
        watched == m_txMemo ? TxCopyClick() : RxCopyClick();
        return true;
    }
    if (watched == m_txMemo && key->matches(QKeySequence::Cut)) {
        TxCutClick();
        return true;
    }
    if (watched == m_txMemo && key->matches(QKeySequence::Paste)) {
        TxPasteClick();
        return true;
    }
    if (watched == m_txMemo && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
        TxMemoKeyPress(QLatin1Char('\r')); // not consumed: the memo then breaks the line
    return QDialog::eventFilter(watched, event);
}

// The window's right edge keeps the designed margin right of the test button, and with the
// test area shown, right of the connection buttons.
int TComPortForm::collapsedWidth() const {
    return clearOf(kCollapsedWidth, {m_testSpeedButton}, kCollapsedWidth - 697);
}

int TComPortForm::expandedWidth() const {
    return clearOf(kExpandedWidth, {m_connectBtn, m_disconnectBtn}, kExpandedWidth - 773);
}

void TComPortForm::FormShow() {
    setFixedSize(collapsedWidth(), kCollapsedHeight);
    if (!m_settingsFileName.isEmpty()) {
        const QFileInfo file(portSettingsPath(m_settingsFileName, m_settingsFolder));
        m_openFolder = m_saveFolder = file.absolutePath();
        m_saveDialogFileName = file.fileName();
    } else {
        m_openFolder = m_saveFolder =
            m_settingsFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_settingsFolder;
        m_settingsFileName = defaultPortSettingsFileName();
    }
    LoadPortSettings();
}

void TComPortForm::LoadPortSettings() {
    const PortSettings settings =
        loadPortSettingsFile(portSettingsPath(m_settingsFileName, m_settingsFolder));
    m_comPortRG->setItemIndex(settings.comPort);
    m_baudRateRG->setItemIndex(settings.baudRate);
    m_dataBitsRG->setItemIndex(settings.dataBits);
    m_parityRG->setItemIndex(settings.parity);
    m_handshakingRG->setItemIndex(settings.handshaking);
    showChosenDevice();
    ApplyPortSettings();
    setWindowTitle(comPortFormCaption(m_settingsFileName));
    m_saveDialogFileName = QFileInfo(m_settingsFileName).fileName();
}

void TComPortForm::ApplyPortSettings() {
    const bool wasOpen = m_driver->IsOpen();
    if (wasOpen)
        DisconnectBtnClick();
    if (m_comPortRG->itemIndex() >= 0)
        m_driver->setComPort(static_cast<TComPortNumber>(m_comPortRG->itemIndex()));
    BaudRateRGClick();
    DataBitsRGClick();
    ParityRGClick();
    HandshakingRGClick();
    if (wasOpen)
        ConnectBtnClick();
}

PortSettings TComPortForm::chosenSettings() const {
    return {m_comPortRG->itemIndex(), m_baudRateRG->itemIndex(), m_dataBitsRG->itemIndex(),
            m_parityRG->itemIndex(), m_handshakingRG->itemIndex()};
}

void TComPortForm::QuitBtnClick() {
    close();
}

void TComPortForm::OpenButtonClick() {
    FileDialogRequest request;
    request.folder = m_openFolder;
    request.filters = {kFileFilter};
    request.defaultSuffix = kFileSuffix;
    const FileDialogResult result = interaction().openFiles(this, request);
    if (result.files.isEmpty())
        return;
    m_settingsFileName = QFileInfo(result.files.first()).absoluteFilePath();
    LoadPortSettings();
}

void TComPortForm::SaveButtonClick() {
    FileDialogRequest request;
    request.folder = m_saveFolder;
    request.fileName = m_saveDialogFileName;
    request.filters = {kFileFilter};
    request.defaultSuffix = kFileSuffix;
    const FileDialogResult result = interaction().saveFile(this, request);
    if (result.files.isEmpty())
        return;
    const QFileInfo chosen(result.files.first());
    if (!savePortSettingsFile(chosen.absoluteFilePath(), chosenSettings()))
        return;
    setWindowTitle(comPortFormCaption(chosen.fileName()));
    m_settingsFileName = chosen.absoluteFilePath();
    m_saveFolder = chosen.absolutePath();
    m_saveDialogFileName = chosen.fileName();
}

void TComPortForm::ComPortRGClick() {
    // The port is taken on connecting and on loading a file, never while connected; only
    // the device shown follows the choice at once.
    showChosenDevice();
}

void TComPortForm::BaudRateRGClick() {
    if (m_baudRateRG->itemIndex() >= 0)
        m_driver->setComPortSpeed(baudRateForItem(m_baudRateRG->itemIndex()));
}

void TComPortForm::DataBitsRGClick() {
    if (m_dataBitsRG->itemIndex() >= 0)
        m_driver->setComPortDataBits(static_cast<TComPortDataBits>(m_dataBitsRG->itemIndex()));
}

void TComPortForm::ParityRGClick() {
    if (m_parityRG->itemIndex() >= 0)
        m_driver->setComPortParity(static_cast<TComPortParity>(m_parityRG->itemIndex()));
}

void TComPortForm::HandshakingRGClick() {
    if (const auto flow = flowControlForItem(m_handshakingRG->itemIndex())) {
        m_driver->setComPortHwHandshaking(flow->hardware);
        m_driver->setComPortSwHandshaking(flow->software);
    }
}

void TComPortForm::setTestAreaVisible(bool visible) {
    for (QWidget* widget : {static_cast<QWidget*>(m_txMemo), static_cast<QWidget*>(m_panel2),
                            static_cast<QWidget*>(m_panel3), static_cast<QWidget*>(m_rxMemo),
                            static_cast<QWidget*>(m_connectBtn), static_cast<QWidget*>(m_disconnectBtn),
                            static_cast<QWidget*>(m_clrInMemo), static_cast<QWidget*>(m_clrOutMemo),
                            static_cast<QWidget*>(m_setDTRBtn), static_cast<QWidget*>(m_clrDTRBtn),
                            static_cast<QWidget*>(m_setRTSBtn), static_cast<QWidget*>(m_clrRTSBtn)})
        widget->setVisible(visible);
}

void TComPortForm::TestSpeedButtonClick() {
    if (m_testSpeedButton->isChecked()) {
        setFixedSize(expandedWidth(), height() + kTestAreaHeight);
        setTestAreaVisible(true);
        ConnectBtnClick();
    } else {
        DisconnectBtnClick();
        setFixedSize(collapsedWidth(), height() - kTestAreaHeight);
        setTestAreaVisible(false);
    }
}

void TComPortForm::ConnectBtnClick() {
    ApplyPortSettings();
    if (m_driver->OpenPort()) {
        m_connectBtn->setEnabled(false);
        m_disconnectBtn->setEnabled(true);
        m_txMemo->setFocus();
        return;
    }
    const int port = m_driver->ComPort();
    const QString reason =
        portOpenFailureText(QStringLiteral("COM%1").arg(port + 1), m_driver->devicePaths()[std::size_t(port)],
                            m_driver->lastOpenError());
    beep();
    showMessage(this, QMessageBox::Critical, QStringLiteral("Błąd"),
                QStringLiteral("Błąd: brak połączenia !\r") + reason +
                    QStringLiteral("\rSprawdź ustawienia portu i spróbuj ponownie."));
    beep();
}

void TComPortForm::DisconnectBtnClick() {
    m_driver->ClosePort();
    m_disconnectBtn->setEnabled(false);
    m_connectBtn->setEnabled(true);
}

void TComPortForm::portLost() {
    m_disconnectBtn->setEnabled(false);
    m_connectBtn->setEnabled(true);
}

void TComPortForm::TxMemoKeyPress(QChar key) {
    if (!m_driver->IsOpen() || key != QLatin1Char('\r'))
        return;
    if (const auto line = lineToSend(m_txMemo->toPlainText())) {
        const cp1250::EncodeResult bytes = cp1250::encode(*line);
        if (!bytes.ok()) {
            // A character the line's code page lacks would reach the machine as some other
            // character; nothing of the line is sent.
            beep();
            return;
        }
        m_driver->SendBytes(bytes.bytes.data(), static_cast<std::int32_t>(bytes.bytes.size()));
    }
    m_driver->SendBytes("\r", 1);
}

void TComPortForm::CommPortDriverReceiveData(TCommPortDriver&, const char* data, std::int32_t size) {
    if (data == nullptr || size <= 0)
        return;
    QTextDocument* document = m_rxMemo->document();
    const QTextBlock last = document->lastBlock();
    const QStringList lines =
        receiveIntoLastLine(last.text(), std::string_view(data, static_cast<std::size_t>(size)));
    QScrollBar* scroll = m_rxMemo->verticalScrollBar();
    const bool followEnd = scroll->value() == scroll->maximum();

    // A cursor of its own, so that the user's selection in the view survives.
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (lines.front() != last.text()) {
        cursor.setPosition(last.position());
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(lines.front());
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(lines[i]);
    }
    cursor.endEditBlock();
    if (followEnd)
        scroll->setValue(scroll->maximum());
    if (m_rxMemo->isVisible())
        m_rxMemo->viewport()->repaint();
}

void TComPortForm::ClrInMemoClick() {
    m_rxMemo->clear();
}

void TComPortForm::ClrOutMemoClick() {
    m_txMemo->clear();
}

void TComPortForm::SetDTRBtnClick() {
    m_driver->SetDtrLine(true);
}

void TComPortForm::ClrDTRBtnClick() {
    m_driver->SetDtrLine(false);
}

void TComPortForm::SetRTSBtnClick() {
    m_driver->SetRtsLine(true);
}

void TComPortForm::ClrRTSBtnClick() {
    m_driver->SetRtsLine(false);
}

void TComPortForm::TxPopupMenuPopup() {
    const bool selection = m_txMemo->textCursor().hasSelection();
    m_txCopy->setEnabled(selection);
    m_txCut->setEnabled(selection);
    m_txPaste->setEnabled(!interaction().clipboardText().isEmpty());
}

void TComPortForm::RxPopupMenuPopup() {
    m_rxCopy->setEnabled(m_rxMemo->textCursor().hasSelection());
}

void TComPortForm::TxCopyClick() {
    if (m_txMemo->textCursor().hasSelection())
        interaction().setClipboardText(selectedText(m_txMemo));
}

void TComPortForm::TxCutClick() {
    if (!m_txMemo->textCursor().hasSelection())
        return;
    interaction().setClipboardText(selectedText(m_txMemo));
    m_txMemo->textCursor().removeSelectedText();
}

void TComPortForm::TxPasteClick() {
    const QString text = interaction().clipboardText();
    if (!text.isEmpty())
        m_txMemo->insertPlainText(text);
}

void TComPortForm::RxCopyClick() {
    if (m_rxMemo->textCursor().hasSelection())
        interaction().setClipboardText(selectedText(m_rxMemo));
}

QString runComPortForm(QWidget* mainWindow, const QString& rememberedFileName,
                       const QString& settingsFilePath) {
    // No parent: a child window would be minimised by the window manager with its parent.
    // Modal for the whole program, so the main window still waits for it.
    TComPortForm form(nullptr);
    form.setWindowModality(Qt::ApplicationModal);
    form.setSettingsFolder(QFileInfo(settingsFilePath).absolutePath());
    IniFile settings(settingsFilePath);
    settings.load(); // an unreadable settings file leaves the default devices
    form.setPortDevices(assignPortDevices(settings, discoverSerialDevices()));
    form.setSettingsFileName(rememberedFileName);
    form.setWindowTitle(kCaption);
    if (mainWindow != nullptr) {
        const QRect frame = mainWindow->frameGeometry();
        form.move(frame.left() + frame.width() - form.width() - 30, frame.top() + 40);
    }
    form.exec();
    return form.SettingsFileName();
}

} // namespace ordalvex
