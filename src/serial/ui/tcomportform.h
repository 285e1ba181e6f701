#pragma once

#include "serial/core/portdevices.h"
#include "serial/core/portsettings.h"
#include "serial/core/tcommportdriver.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace ordalvex {

class RadioGroup;

// The transfer window: chooses port, speed, data bits, parity and flow control, keeps them in
// port settings files (".cfg"), and in its test area sends typed lines to the port and shows
// what comes back. Made for one use, shown modally; freeing it closes the port.
class TComPortForm : public QDialog {
    Q_OBJECT
public:
    explicit TComPortForm(QWidget* parent = nullptr);
    ~TComPortForm() override;

    // The port settings file in use: set before showing (empty for none), read after closing.
    // A name without a folder, such as "Default.cfg", lies in the settings folder.
    QString SettingsFileName() const { return m_settingsFileName; }
    void setSettingsFileName(const QString& fileName) { m_settingsFileName = fileName; }
    // The folder of the program's settings file, where "Default.cfg" lives.
    QString settingsFolder() const { return m_settingsFolder; }
    void setSettingsFolder(const QString& folder) { m_settingsFolder = folder; }
    // The devices behind COM1 to COM4: the driver opens them, the port choice shows each in
    // its hint and the chosen one beside the delay fields ("COM1 — /dev/ttyUSB0, FTDI ...").
    void setPortDevices(const PortDevices& devices);
    // The same for bare paths, without descriptions.
    void setPortDevicePaths(const PortDevicePaths& paths);

    TCommPortDriver& CommPortDriver() { return *m_driver; }

    // Event handlers, callable as the user's actions would call them.
    void FormShow();
    void LoadPortSettings();
    void ApplyPortSettings();
    void QuitBtnClick();
    void OpenButtonClick();
    void SaveButtonClick();
    void ComPortRGClick();
    void BaudRateRGClick();
    void DataBitsRGClick();
    void ParityRGClick();
    void HandshakingRGClick();
    void TestSpeedButtonClick();
    void ConnectBtnClick();
    void DisconnectBtnClick();
    // A character typed into TxMemo, before the memo takes it ('\r' for Enter).
    void TxMemoKeyPress(QChar key);
    void CommPortDriverReceiveData(TCommPortDriver& sender, const char* data, std::int32_t size);
    void ClrInMemoClick();
    void ClrOutMemoClick();
    void SetDTRBtnClick();
    void ClrDTRBtnClick();
    void SetRTSBtnClick();
    void ClrRTSBtnClick();
    void TxPopupMenuPopup();
    void RxPopupMenuPopup();
    void TxCopyClick();
    void TxCutClick();
    void TxPasteClick();
    void RxCopyClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setTestAreaVisible(bool visible);
    int collapsedWidth() const;
    int expandedWidth() const;
    void portLost();
    PortSettings chosenSettings() const;
    void showChosenDevice();

    TCommPortDriver* m_driver;
    PortDevices m_portDevices;
    QString m_settingsFileName;
    QString m_settingsFolder;
    QString m_openFolder;
    QString m_saveFolder;
    QString m_saveDialogFileName;
    bool m_shown = false;

    QFrame* m_panel1 = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_quitBtn = nullptr;
    RadioGroup* m_comPortRG = nullptr;
    RadioGroup* m_baudRateRG = nullptr;
    RadioGroup* m_dataBitsRG = nullptr;
    RadioGroup* m_parityRG = nullptr;
    RadioGroup* m_handshakingRG = nullptr;
    QToolButton* m_testSpeedButton = nullptr;
    QPushButton* m_connectBtn = nullptr;
    QPushButton* m_disconnectBtn = nullptr;
    QFrame* m_panel4 = nullptr;
    QLabel* m_label1 = nullptr;
    QLineEdit* m_charDelayEdit = nullptr;
    QLabel* m_label2 = nullptr;
    QLineEdit* m_lineDelayEdit = nullptr;
    QLabel* m_portDeviceLabel = nullptr;
    QFrame* m_panel3 = nullptr;
    QPushButton* m_clrInMemo = nullptr;
    QPlainTextEdit* m_rxMemo = nullptr;
    QFrame* m_panel2 = nullptr;
    QPushButton* m_clrOutMemo = nullptr;
    QPushButton* m_setDTRBtn = nullptr;
    QPushButton* m_clrDTRBtn = nullptr;
    QPushButton* m_setRTSBtn = nullptr;
    QPushButton* m_clrRTSBtn = nullptr;
    QPlainTextEdit* m_txMemo = nullptr;
    QMenu* m_txPopupMenu = nullptr;
    QAction* m_txCopy = nullptr;
    QAction* m_txCut = nullptr;
    QAction* m_txPaste = nullptr;
    QMenu* m_rxPopupMenu = nullptr;
    QAction* m_rxCopy = nullptr;
};

// Runs the transfer window for the main window's port button: places it by mainWindow
// (which may be null; the window is a top-level window of its own, not a child of it), shows
// it modally with the remembered port settings file name (empty
// when none was used yet) and gives the file name to remember afterwards. settingsFilePath is
// the program's settings file: "Default.cfg" lives in its folder, and its section "Ports"
// names the devices of COM1 to COM4.
QString runComPortForm(QWidget* mainWindow, const QString& rememberedFileName,
                       const QString& settingsFilePath);

} // namespace ordalvex
