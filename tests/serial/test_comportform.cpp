#include "ptypair.h"
#include "scriptedinteraction.h"
#include "serial/core/linespeed.h"
#include "serial/core/portsettings.h"
#include "serial/ui/radiogroup.h"
#include "serial/ui/tcomportform.h"
#include "testdata.h"
#include "textfit.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ordalvex;
using ordalvex::testing::PtyPair;
using ordalvex::testing::readFile;
using ordalvex::testing::ScopedInteraction;
using ordalvex::testing::writeFile;

namespace {

// COM1 of absentDevices() refused: the message names the device and why.
const QString kFailure =
    QStringLiteral("Błąd: brak połączenia !\rCOM1 (/nonexistent/ttyS0): nie ma takiego "
                   "urządzenia (adapter odłączony?).\rSprawdź ustawienia portu i spróbuj ponownie.");

// Paths no test may ever open by mistake (the real /dev/ttyS0 may be a console).
PortDevicePaths absentDevices() {
    return {"/nonexistent/ttyS0", "/nonexistent/ttyS1", "/nonexistent/ttyS2", "/nonexistent/ttyS3"};
}

template <typename T> T* child(const QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QLatin1String(name));
    if (found == nullptr)
        qFatal("no control %s", name);
    return found;
}

int item(const QWidget& form, const char* group) {
    return child<RadioGroup>(form, group)->itemIndex();
}

void choose(const QWidget& form, const char* group, int index) {
    child<RadioGroup>(form, group)->button(index)->click();
}

const char* const kTestAreaControls[] = {"TxMemo",     "Panel2",        "Panel3",    "RxMemo",
                                         "ConnectBtn", "DisconnectBtn", "ClrInMemo", "ClrOutMemo",
                                         "SetDTRBtn",  "ClrDTRBtn",     "SetRTSBtn", "ClrRTSBtn"};

} // namespace

class TestComPortForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

    std::unique_ptr<TComPortForm> makeForm(const QString& fileName = {}) {
        auto form = std::make_unique<TComPortForm>();
        form->setSettingsFolder(m_settings.path());
        form->setPortDevicePaths(absentDevices());
        form->setSettingsFileName(fileName);
        return form;
    }

    void writeSettings(const QString& name, const QByteArray& bytes) {
        QVERIFY(writeFile(m_settings.filePath(name), bytes));
    }

private Q_SLOTS:
    void cleanup() { QFile::remove(m_settings.filePath("Default.cfg")); }

    // Rendered with the fonts of this system, every text shows whole and uncovered, with the
    // test area shown and hidden.
    void textsShowWhole() {
        ScopedInteraction scripted;
        auto form = makeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int pass = 0; pass < 2; ++pass) {
            const QStringList faults = testing::textsCutOrCovered(form.get());
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
            child<QToolButton>(*form, "TestSpeedButton")->click();
        }
    }

    void firstUseShowsDefaultCfgCollapsed() {
        auto form = makeForm();
        QCOMPARE(form->metaObject()->className(), "ordalvex::TComPortForm");
        form->FormShow();
        QCOMPARE(form->SettingsFileName(), QString("Default.cfg"));
        QCOMPARE(form->windowTitle(), QString("Parametry transmisji RS232 --> Default.cfg"));
        QCOMPARE(item(*form, "ComPortRG"), 0);
        QCOMPARE(item(*form, "BaudRateRG"), 5);
        QCOMPARE(item(*form, "DataBitsRG"), 3);
        QCOMPARE(item(*form, "ParityRG"), 0);
        QCOMPARE(item(*form, "HandshakingRG"), 0);
        QCOMPARE(form->height(), 129);
        QVERIFY(form->width() >= 710);
        for (const char* name : kTestAreaControls)
            QVERIFY2(child<QWidget>(*form, name)->isHidden(), name);
        QVERIFY(!child<QPushButton>(*form, "DisconnectBtn")->isEnabled());
        QVERIFY(!child<QToolButton>(*form, "TestSpeedButton")->isChecked());
        QCOMPARE(child<QToolButton>(*form, "TestSpeedButton")->toolTip(), QString("Testowanie ustawień"));

        TCommPortDriver& driver = form->CommPortDriver();
        QCOMPARE(driver.ComPort(), pnCOM1);
        QCOMPARE(driver.ComPortSpeed(), br9600);
        QCOMPARE(driver.ComPortDataBits(), db8BITS);
        QCOMPARE(driver.ComPortParity(), ptNONE);
        QCOMPARE(driver.ComPortHwHandshaking(), hhNONE);
        QCOMPARE(driver.ComPortSwHandshaking(), shNONE);
        QCOMPARE(driver.ComPortPollingDelay(), std::uint16_t(0));
        QVERIFY(!QFile::exists(m_settings.filePath("Default.cfg"))); // reading creates nothing
    }

    void defaultCfgIsReadFromTheSettingsFolder_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("baudItem");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("parityItem");
        QTest::newRow("rate 20 is the last, 115200")
            << QByteArray("[PortSettings]\r\nBaud_rate=20\r\nParity=2\r\n") << 11 << int(br115200) << 2;
        QTest::newRow("not a number gives the default")
            << QByteArray("[PortSettings]\r\nBaud_rate=fast\r\nParity=odd\r\n") << 5 << int(br9600) << 0;
        QTest::newRow("14400") << QByteArray("[PortSettings]\r\nBaud_rate=6\r\n") << 6 << int(br14400) << 0;
        QTest::newRow("300 is the first")
            << QByteArray("[PortSettings]\r\nBaud_rate=0\r\n") << 0 << int(br300) << 0;
    }
    void defaultCfgIsReadFromTheSettingsFolder() {
        QFETCH(QByteArray, contents);
        QFETCH(int, baudItem);
        QFETCH(int, speed);
        QFETCH(int, parityItem);
        writeSettings("Default.cfg", contents);
        auto form = makeForm();
        form->FormShow();
        QCOMPARE(item(*form, "BaudRateRG"), baudItem);
        QCOMPARE(int(form->CommPortDriver().ComPortSpeed()), speed);
        QCOMPARE(item(*form, "ParityRG"), parityItem);
        QCOMPARE(int(form->CommPortDriver().ComPortParity()), parityItem);
    }

    void savedSettingsOpenAgain() {
        ScopedInteraction scripted;
        const QString path = m_settings.filePath("cnc.cfg");
        writeSettings("cnc.cfg", "[Machine]\r\nName=Lathe\r\n");
        {
            auto form = makeForm();
            form->FormShow();
            choose(*form, "ComPortRG", 2);
            choose(*form, "BaudRateRG", 9);
            choose(*form, "DataBitsRG", 2);
            choose(*form, "ParityRG", 3);
            choose(*form, "HandshakingRG", 3);
            QCOMPARE(form->CommPortDriver().ComPortSpeed(), br56000);
            QCOMPARE(form->CommPortDriver().ComPortDataBits(), db7BITS);
            QCOMPARE(form->CommPortDriver().ComPortParity(), ptMARK);
            QCOMPARE(form->CommPortDriver().ComPortHwHandshaking(), hhRTSCTS);
            QCOMPARE(form->CommPortDriver().ComPortSwHandshaking(), shXONXOFF);
            QCOMPARE(form->CommPortDriver().ComPort(), pnCOM1); // taken on connecting or loading only

            scripted->saveResults.push_back({{path}, 1});
            child<QPushButton>(*form, "SaveButton")->click();
            QCOMPARE(scripted->saveRequests.size(), 1);
            const FileDialogRequest& request = scripted->saveRequests.first();
            QCOMPARE(request.filters, QStringList{"Plik ustawień (*.cfg)"});
            QCOMPARE(request.defaultSuffix, QString("cfg"));
            QCOMPARE(request.folder, m_settings.path());
            QCOMPARE(request.fileName, QString("Default.cfg"));
            QCOMPARE(form->windowTitle(), QString("Parametry transmisji RS232 --> cnc.cfg"));
            QCOMPARE(form->SettingsFileName(), path);
        }
        QCOMPARE(readFile(path),
                 QByteArray("[Machine]\r\nName=Lathe\r\n[PortSettings]\r\nCom_port=2\r\nBaud_rate=9\r\n"
                            "Data_bits=2\r\nParity=3\r\nHandshaking=3\r\n"));

        auto again = makeForm(path);
        again->FormShow();
        QCOMPARE(again->windowTitle(), QString("Parametry transmisji RS232 --> cnc.cfg"));
        QCOMPARE(item(*again, "ComPortRG"), 2);
        QCOMPARE(item(*again, "BaudRateRG"), 9);
        QCOMPARE(item(*again, "DataBitsRG"), 2);
        QCOMPARE(item(*again, "ParityRG"), 3);
        QCOMPARE(item(*again, "HandshakingRG"), 3);
        QCOMPARE(again->CommPortDriver().ComPort(), pnCOM3);
    }

    void failedOrCancelledSaveChangesNothing_data() {
        QTest::addColumn<QStringList>("chosen");
        QTest::newRow("cancelled") << QStringList{};
        QTest::newRow("folder does not exist") << QStringList{"/nonexistent/folder/cnc.cfg"};
    }
    void failedOrCancelledSaveChangesNothing() {
        QFETCH(QStringList, chosen);
        ScopedInteraction scripted;
        auto form = makeForm();
        form->FormShow();
        scripted->saveResults.push_back({chosen, 1});
        form->SaveButtonClick();
        QCOMPARE(form->windowTitle(), QString("Parametry transmisji RS232 --> Default.cfg"));
        QCOMPARE(form->SettingsFileName(), QString("Default.cfg"));
        QVERIFY(scripted->messages.isEmpty());
    }

    void openingAFileLoadsIt() {
        ScopedInteraction scripted;
        writeSettings("mill.cfg", "[PortSettings]\r\nCom_port=1\r\nBaud_rate=11\r\nHandshaking=2\r\n");
        auto form = makeForm();
        form->FormShow();
        form->OpenButtonClick(); // cancelled: nothing changes
        QCOMPARE(form->SettingsFileName(), QString("Default.cfg"));

        scripted->openResults.push_back({{m_settings.filePath("mill.cfg")}, 1});
        child<QPushButton>(*form, "OpenButton")->click();
        QCOMPARE(scripted->openRequests.size(), 2);
        QCOMPARE(scripted->openRequests.last().folder, m_settings.path());
        QVERIFY(scripted->openRequests.last().fileName.isEmpty());
        QCOMPARE(form->SettingsFileName(), m_settings.filePath("mill.cfg"));
        QCOMPARE(form->windowTitle(), QString("Parametry transmisji RS232 --> mill.cfg"));
        QCOMPARE(item(*form, "ComPortRG"), 1);
        QCOMPARE(form->CommPortDriver().ComPort(), pnCOM2);
        QCOMPARE(form->CommPortDriver().ComPortSpeed(), br115200);
        QCOMPARE(form->CommPortDriver().ComPortSwHandshaking(), shXONXOFF);

        form->SaveButtonClick(); // proposes the loaded file's name
        QCOMPARE(scripted->saveRequests.last().fileName, QString("mill.cfg"));
    }

    void testWithAnAbsentPortWarnsAndStaysOpen() {
        ScopedInteraction scripted;
        auto form = makeForm();
        form->FormShow();
        const int collapsedWidth = form->width();
        auto* test = child<QToolButton>(*form, "TestSpeedButton");
        test->click();
        QVERIFY(test->isChecked());
        QCOMPARE(scripted->messages.size(), 1);
        QCOMPARE(scripted->messages[0].caption, QString("Błąd"));
        QCOMPARE(scripted->messages[0].text, kFailure);
        QCOMPARE(scripted->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(scripted->beeps, 2);
        QCOMPARE(form->height(), 468);
        QVERIFY(form->width() >= 783);
        for (const char* name : kTestAreaControls)
            QVERIFY2(!child<QWidget>(*form, name)->isHidden(), name);
        QVERIFY(child<QPushButton>(*form, "ConnectBtn")->isEnabled());
        QVERIFY(!child<QPushButton>(*form, "DisconnectBtn")->isEnabled());
        QVERIFY(!form->CommPortDriver().IsOpen());

        test->click();
        QVERIFY(!test->isChecked());
        QCOMPARE(form->height(), 129);
        QCOMPARE(form->width(), collapsedWidth);
        for (const char* name : kTestAreaControls)
            QVERIFY2(child<QWidget>(*form, name)->isHidden(), name);
        QCOMPARE(scripted->messages.size(), 1);
    }

    void enterSendsTheLastLineAndOneCr() {
        ScopedInteraction scripted;
        PtyPair pty;
        QVERIFY(pty.ok());
        auto form = makeForm();
        form->setPortDevicePaths({pty.slavePath(), "/nonexistent/1", "/nonexistent/2", "/nonexistent/3"});
        form->FormShow();
        auto* tx = child<QPlainTextEdit>(*form, "TxMemo");

        // Closed: typing sends nothing.
        QTest::keyClicks(tx, "N5");
        QTest::keyClick(tx, Qt::Key_Return);
        QCOMPARE(pty.readAll(50), QByteArray());

        child<QToolButton>(*form, "TestSpeedButton")->click();
        QVERIFY(scripted->messages.isEmpty());
        QVERIFY(form->CommPortDriver().IsOpen());
        QVERIFY(!child<QPushButton>(*form, "ConnectBtn")->isEnabled());
        QVERIFY(child<QPushButton>(*form, "DisconnectBtn")->isEnabled());

        tx->clear();
        QTest::keyClicks(tx, "G01 X10");
        QCOMPARE(pty.readAll(50), QByteArray()); // nothing before Enter
        QTest::keyClick(tx, Qt::Key_Return);
        QCOMPARE(pty.readAll(), QByteArray("G01 X10\r"));
        QCOMPARE(tx->toPlainText(), QString("G01 X10\n")); // the memo still breaks the line

        QTest::keyClick(tx, Qt::Key_Enter); // on the empty last line: the line above again
        QCOMPARE(pty.readAll(), QByteArray("G01 X10\r"));

        QTest::keyClicks(tx, "M30");
        QTest::keyClick(tx, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(pty.readAll(50), QByteArray());

        child<QPushButton>(*form, "DisconnectBtn")->click();
        QVERIFY(!form->CommPortDriver().IsOpen());
        QTest::keyClick(tx, Qt::Key_Return);
        QCOMPARE(pty.readAll(50), QByteArray());
    }

    void receivedBlocksFormLines_data() {
        QTest::addColumn<QList<QByteArray>>("blocks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("blocks continue the last line") << QList<QByteArray>{"AB", "C\r\nD"} << "ABC\nD";
        QTest::newRow("backspace") << QList<QByteArray>{"AB", "\b"} << "A";
        QTest::newRow("backspaces erasing the line") << QList<QByteArray>{"AB", "\b\b"} << "AB";
        QTest::newRow("CR leaves an empty line") << QList<QByteArray>{"N10\r\n", "N20\r\n"} << "N10\nN20\n";
        QTest::newRow("code page") << QList<QByteArray>{"(\xA3", "\xA5KA)"} << QString::fromUtf8("(ŁĄKA)");
    }
    void receivedBlocksFormLines() {
        QFETCH(QList<QByteArray>, blocks);
        QFETCH(QString, shown);
        auto form = makeForm();
        for (const QByteArray& block : blocks)
            form->CommPortDriverReceiveData(form->CommPortDriver(), block.constData(),
                                            std::int32_t(block.size()));
        QCOMPARE(child<QPlainTextEdit>(*form, "RxMemo")->toPlainText(), shown);
    }

    void receivedLinesDoNotDependOnTheSplit() {
        const QByteArray stream = "%\r\nO0001\r\nN10 G0 X1\b2\r\nN20 M30\r\n%\r\n";
        for (qsizetype at = 0; at <= stream.size(); ++at) {
            auto form = makeForm();
            for (const QByteArray& block : {stream.left(at), stream.mid(at)})
                form->CommPortDriverReceiveData(form->CommPortDriver(), block.constData(),
                                                std::int32_t(block.size()));
            QCOMPARE(child<QPlainTextEdit>(*form, "RxMemo")->toPlainText(),
                     QString("%\nO0001\nN10 G0 X2\nN20 M30\n%\n"));
        }
    }

    void theLineWorksBothWaysWhileConnected() {
        ScopedInteraction scripted;
        PtyPair pty;
        QVERIFY(pty.ok());
        auto form = makeForm();
        form->setPortDevicePaths({"/nonexistent/0", pty.slavePath(), "/nonexistent/2", "/nonexistent/3"});
        form->FormShow();
        choose(*form, "ComPortRG", 1);
        QCOMPARE(form->CommPortDriver().ComPort(), pnCOM1); // not until connecting
        child<QToolButton>(*form, "TestSpeedButton")->click();
        QVERIFY(form->CommPortDriver().IsOpen());
        QCOMPARE(form->CommPortDriver().ComPort(), pnCOM2);

        QVERIFY(pty.write("AB"));
        QTRY_COMPARE(child<QPlainTextEdit>(*form, "RxMemo")->toPlainText(), QString("AB"));
        QVERIFY(pty.write("C\r\nD"));
        QTRY_COMPARE(child<QPlainTextEdit>(*form, "RxMemo")->toPlainText(), QString("ABC\nD"));
        child<QPushButton>(*form, "ClrInMemo")->click();
        QCOMPARE(child<QPlainTextEdit>(*form, "RxMemo")->toPlainText(), QString());

        choose(*form, "BaudRateRG", 6); // reconfigures the open port at once
        QCOMPARE(lineSpeed(pty.master()), 14400u);
        choose(*form, "ComPortRG", 3); // changes nothing while connected
        QCOMPARE(form->CommPortDriver().ComPort(), pnCOM2);
        QVERIFY(form->CommPortDriver().IsOpen());

        child<QPushButton>(*form, "SetDTRBtn")->click(); // a pseudo-terminal has no lines: no harm either
        child<QPushButton>(*form, "ClrRTSBtn")->click();
        QVERIFY(form->CommPortDriver().IsOpen());

        // Collapsing ends the connection.
        child<QToolButton>(*form, "TestSpeedButton")->click();
        QVERIFY(!form->CommPortDriver().IsOpen());
    }

    void aVanishingPortShowsAsDisconnected() {
        ScopedInteraction scripted;
        PtyPair pty;
        QVERIFY(pty.ok());
        auto form = makeForm();
        form->setPortDevicePaths({pty.slavePath(), "/nonexistent/1", "/nonexistent/2", "/nonexistent/3"});
        form->FormShow();
        child<QToolButton>(*form, "TestSpeedButton")->click();
        QVERIFY(form->CommPortDriver().IsOpen());
        pty.closeMaster();
        QTRY_VERIFY(!form->CommPortDriver().IsOpen());
        QVERIFY(child<QPushButton>(*form, "ConnectBtn")->isEnabled());
        QVERIFY(!child<QPushButton>(*form, "DisconnectBtn")->isEnabled());
        // Typing on goes nowhere and nothing hangs.
        QTest::keyClicks(child<QPlainTextEdit>(*form, "TxMemo"), "X1");
        QTest::keyClick(child<QPlainTextEdit>(*form, "TxMemo"), Qt::Key_Return);
        QVERIFY(scripted->messages.isEmpty());
    }

    void clipboardGoesThroughTheMenus() {
        ScopedInteraction scripted;
        auto form = makeForm();
        auto* tx = child<QPlainTextEdit>(*form, "TxMemo");
        auto* rx = child<QPlainTextEdit>(*form, "RxMemo");
        auto* txMenu = child<QMenu>(*form, "TxPopupMenu");
        auto action = [&](const char* name) { return form->findChild<QAction*>(QLatin1String(name)); };

        form->TxPopupMenuPopup();
        QVERIFY(!action("TxCopy")->isEnabled());
        QVERIFY(!action("TxCut")->isEnabled());
        QVERIFY(!action("TxPaste")->isEnabled());
        QCOMPARE(txMenu->actions().size(), 3);

        tx->setPlainText("N10\nG01");
        tx->selectAll();
        scripted->clipboard = "X5";
        form->TxPopupMenuPopup();
        QVERIFY(action("TxCopy")->isEnabled());
        QVERIFY(action("TxCut")->isEnabled());
        QVERIFY(action("TxPaste")->isEnabled());
        action("TxCopy")->trigger();
        QCOMPARE(scripted->clipboard, QString("N10\nG01"));
        action("TxCut")->trigger();
        QCOMPARE(tx->toPlainText(), QString());
        scripted->clipboard = "M30";
        action("TxPaste")->trigger();
        QCOMPARE(tx->toPlainText(), QString("M30"));
        tx->selectAll();
        QTest::keyClick(tx, Qt::Key_X, Qt::ControlModifier); // keys take the same road
        QCOMPARE(scripted->clipboard, QString("M30"));
        QCOMPARE(tx->toPlainText(), QString());
        child<QPushButton>(*form, "ClrOutMemo")->click();

        form->RxPopupMenuPopup();
        QVERIFY(!action("RxCopy")->isEnabled());
        form->CommPortDriverReceiveData(form->CommPortDriver(), "OK\r", 3);
        rx->selectAll();
        form->RxPopupMenuPopup();
        QVERIFY(action("RxCopy")->isEnabled());
        QTest::keyClick(rx, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(scripted->clipboard, QString("OK\n"));
    }

    void eachPortShowsItsDevice() {
        auto form = makeForm();
        form->setPortDevices(
            {SerialDevice{"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/ttyUSB0", "FTDI FT232R"},
             SerialDevice{"/dev/ttyACM0", "/dev/ttyACM0", ""}, SerialDevice{}, SerialDevice{}});
        form->FormShow();
        auto* shown = child<QLabel>(*form, "PortDeviceLabel");
        QCOMPARE(shown->text(), QString("/dev/ttyUSB0, FTDI FT232R"));
        QCOMPARE(shown->toolTip(), QString("COM1 — /dev/ttyUSB0, FTDI FT232R"));
        QCOMPARE(form->CommPortDriver().devicePaths()[0],
                 QString("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"));
        choose(*form, "ComPortRG", 2);
        QCOMPARE(shown->text(), QString("brak urządzenia"));
        QCOMPARE(child<RadioGroup>(*form, "ComPortRG")->button(1)->toolTip(), QString("COM2 — /dev/ttyACM0"));
    }

    void theMainWindowCommandRemembersTheFile() {
        ScopedInteraction scripted;
        const QString settingsFile = m_settings.filePath("Ordalvex.INI");
        writeSettings("Ordalvex.INI", "[Ports]\r\nCOM1=/nonexistent/ttyUSB0\r\n");
        QWidget mainWindow;
        mainWindow.setGeometry(100, 50, 1000, 700);
        QString seenTitle;
        QString seenDevice;
        QPoint seenPlace;
        QTimer::singleShot(0, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* form = qobject_cast<TComPortForm*>(widget); form && form->isVisible()) {
                    seenTitle = form->windowTitle();
                    seenDevice = form->CommPortDriver().devicePaths()[0];
                    seenPlace = form->pos();
                    child<QPushButton>(*form, "QuitBtn")->click();
                }
            }
        });
        const QString remembered = runComPortForm(&mainWindow, QString(), settingsFile);
        QCOMPARE(remembered, QString("Default.cfg"));
        QCOMPARE(comPortButtonHint(remembered), QString("Ustawienia portu RS232 --> Default.cfg"));
        QCOMPARE(seenTitle, QString("Parametry transmisji RS232 --> Default.cfg"));
        QCOMPARE(seenDevice, QString("/nonexistent/ttyUSB0"));
        // Right edge 30 pixels inside the main window's, top 40 below its top; the offscreen
        // platform may shift a window by its frame of a few pixels.
        // The place is taken for the window with its test area, as wide as a new one.
        const int expandedWidth = TComPortForm().width();
        const QRect main = mainWindow.frameGeometry();
        QVERIFY2(qAbs(seenPlace.x() - (main.left() + main.width() - expandedWidth - 30)) <= 4,
                 qPrintable(QString::number(seenPlace.x())));
        QVERIFY2(qAbs(seenPlace.y() - (main.top() + 40)) <= 4, qPrintable(QString::number(seenPlace.y())));
    }
};

QTEST_MAIN(TestComPortForm)
#include "test_comportform.moc"
