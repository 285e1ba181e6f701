#include "common/core/inifile.h"
#include "serial/core/portsettings.h"
#include "serial/core/terminaltext.h"
#include "testdata.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::readFile;
using ordalvex::testing::writeFile;

Q_DECLARE_METATYPE(ordalvex::PortSettings)

class TestPortSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingsAreReadWithDefaults_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<PortSettings>("expected");
        QTest::newRow("empty file") << "" << PortSettings{};
        QTest::newRow("other section only") << "[Ports]\r\nCom_port=3\r\n" << PortSettings{};
        QTest::newRow("all keys")
            << "[PortSettings]\r\nCom_port=2\r\nBaud_rate=9\r\nData_bits=2\r\nParity=4\r\n"
               "Handshaking=3\r\n"
            << PortSettings{2, 9, 2, 4, 3};
        QTest::newRow("names in other case") << "[portsettings]\r\nCOM_PORT=1\r\nbaud_rate=0\r\n"
                                             << PortSettings{1, 0, 3, 0, 0};
        QTest::newRow("above the last item")
            << "[PortSettings]\r\nCom_port=7\r\nBaud_rate=20\r\nData_bits=4\r\n"
               "Parity=99\r\nHandshaking=4\r\n"
            << PortSettings{3, 11, 3, 4, 3};
        QTest::newRow("not numbers") << "[PortSettings]\r\nCom_port=COM2\r\nBaud_rate=9600\r\nData_bits=\r\n"
                                        "Parity=1.0\r\nHandshaking=x\r\n"
                                     << PortSettings{0, 11, 3, 0, 0};
        QTest::newRow("negative") << "[PortSettings]\r\nCom_port=-1\r\nBaud_rate=-3\r\nHandshaking=-1\r\n"
                                  << PortSettings{};
    }
    void settingsAreReadWithDefaults() {
        QFETCH(QString, text);
        QFETCH(PortSettings, expected);
        IniFile file(QString{});
        file.fromText(text);
        const PortSettings read = readPortSettings(file);
        QCOMPARE(read.comPort, expected.comPort);
        QCOMPARE(read.baudRate, expected.baudRate);
        QCOMPARE(read.dataBits, expected.dataBits);
        QCOMPARE(read.parity, expected.parity);
        QCOMPARE(read.handshaking, expected.handshaking);
    }

    void savingWritesTheKeysInOrderAndKeepsTheRest() {
        QTemporaryDir dir;
        const QString path = dir.filePath("cnc.cfg");
        QVERIFY(writeFile(path, "[Machine]\r\nName=Mill\r\n[PortSettings]\r\nParity=4\r\nNote=kept\r\n"));
        QVERIFY(savePortSettingsFile(path, PortSettings{1, 11, 2, 2, 3}));
        QCOMPARE(readFile(path),
                 QByteArray("[Machine]\r\nName=Mill\r\n[PortSettings]\r\nParity=2\r\nNote=kept\r\n"
                            "Com_port=1\r\nBaud_rate=11\r\nData_bits=2\r\nHandshaking=3\r\n"));
        QCOMPARE(loadPortSettingsFile(path), (PortSettings{1, 11, 2, 2, 3}));

        const QString fresh = dir.filePath("new.cfg");
        QVERIFY(savePortSettingsFile(fresh, PortSettings{}));
        QCOMPARE(readFile(fresh), QByteArray("[PortSettings]\r\nCom_port=0\r\nBaud_rate=5\r\nData_bits=3\r\n"
                                             "Parity=0\r\nHandshaking=0\r\n"));
    }

    void unusableFilesFailOrGiveDefaults() {
        QTemporaryDir dir;
        QVERIFY(!savePortSettingsFile(dir.filePath("missing/folder/cnc.cfg"), PortSettings{}));
        QVERIFY(!savePortSettingsFile(dir.path(), PortSettings{})); // a folder in place of the file
        QCOMPARE(loadPortSettingsFile(dir.filePath("absent.cfg")), PortSettings{});
        QCOMPARE(loadPortSettingsFile(dir.path()), PortSettings{});
    }

    void bareNamesLieInTheSettingsFolder_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare name") << "Default.cfg"
                                   << "/home/u/.config/Ordalvex"
                                   << "/home/u/.config/Ordalvex/Default.cfg";
        QTest::newRow("relative folder") << "ports/a.cfg"
                                         << "/opt/ordalvex"
                                         << "/opt/ordalvex/ports/a.cfg";
        QTest::newRow("absolute path") << "/srv/cnc.cfg"
                                       << "/opt/ordalvex"
                                       << "/srv/cnc.cfg";
        QTest::newRow("no settings folder") << "Default.cfg"
                                            << ""
                                            << "./Default.cfg";
        QTest::newRow("no name") << ""
                                 << "/opt/ordalvex"
                                 << "";
    }
    void bareNamesLieInTheSettingsFolder() {
        QFETCH(QString, fileName);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(portSettingsPath(fileName, folder), expected);
    }

    void captionAndHintShowTheNameOnly() {
        QCOMPARE(comPortFormCaption("Default.cfg"), QString("Parametry transmisji RS232 --> Default.cfg"));
        QCOMPARE(comPortFormCaption("/srv/cnc/cnc.cfg"), QString("Parametry transmisji RS232 --> cnc.cfg"));
        QCOMPARE(comPortButtonHint("/srv/cnc/cnc.cfg"), QString("Ustawienia portu RS232 --> cnc.cfg"));
        QCOMPARE(comPortButtonHint("Default.cfg"), QString("Ustawienia portu RS232 --> Default.cfg"));
    }

    void devicePathsComeFromThePortsSection() {
        IniFile settings(QString{});
        settings.fromText(
            "[Format]\r\nFontSize=10\r\n[ports]\r\ncom1=/dev/ttyUSB0\r\nCOM3=  \r\nCOM4=/dev/ttyACM1\r\n");
        const PortDevicePaths paths = readPortDevicePaths(settings);
        QCOMPARE(paths[0], QString("/dev/ttyUSB0"));
        QCOMPARE(paths[1], QString("/dev/ttyS1"));
        QCOMPARE(paths[2], QString("/dev/ttyS2"));
        QCOMPARE(paths[3], QString("/dev/ttyACM1"));
        QCOMPARE(readPortDevicePaths(IniFile(QString{})), defaultPortDevicePaths());
    }

    void speedItemsMapToTheDriversRates() {
        const unsigned offered[] = {300,   600,   1200,  2400,  4800,  9600,
                                    14400, 19200, 38400, 56000, 57600, 115200};
        for (int item = 0; item < kBaudRateItems; ++item)
            QCOMPARE(bitsPerSecond(baudRateForItem(item)), offered[item]);
        QCOMPARE(baudRateForItem(-1), br300);
        QCOMPARE(baudRateForItem(40), br115200);
    }

    void receivedBytesExtendTheLastLine_data() {
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("text continues the line") << "AB" << QByteArray("C") << QStringList{"ABC"};
        QTest::newRow("CR ends the line") << "AB" << QByteArray("C\rD") << QStringList{"ABC", "D"};
        QTest::newRow("LF is ignored") << "" << QByteArray("\nX\n\nY") << QStringList{"XY"};
        QTest::newRow("CR LF CR LF") << "" << QByteArray("A\r\n\r\nB") << QStringList{"A", "", "B"};
        QTest::newRow("trailing CR leaves an empty line")
            << "" << QByteArray("N10\r") << QStringList{"N10", ""};
        QTest::newRow("backspace") << "AB" << QByteArray("\b") << QStringList{"A"};
        QTest::newRow("backspace then text") << "" << QByteArray("G02\b1") << QStringList{"G01"};
        QTest::newRow("backspaces erasing the line stay unseen")
            << "AB" << QByteArray("\b\b") << QStringList{"AB"};
        QTest::newRow("backspace on an empty line") << "" << QByteArray("\b\bX") << QStringList{"X"};
        QTest::newRow("backspace does not cross a CR") << "" << QByteArray("A\r\bB") << QStringList{"A", "B"};
        QTest::newRow("code page letters") << "" << QByteArray("\xA3\xF3\xBF\xEAko") << QStringList{"Łóżęko"};
        QTest::newRow("empty block") << "AB" << QByteArray() << QStringList{"AB"};
    }
    void receivedBytesExtendTheLastLine() {
        QFETCH(QString, lastLine);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(receiveIntoLastLine(lastLine, std::string_view(bytes.constData(), size_t(bytes.size()))),
                 lines);
    }

    void enterSendsTheLastLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasLine");
        QTest::addColumn<QString>("line");
        QTest::newRow("empty memo") << "" << false << "";
        QTest::newRow("one line") << "G01 X10" << true << "G01 X10";
        QTest::newRow("last of several") << "N10\nN20 G00" << true << "N20 G00";
        QTest::newRow("empty last line repeats the one above") << "N10\nG01 X10\n" << true << "G01 X10";
        QTest::newRow("only an empty line") << "\n" << true << "";
        QTest::newRow("two empty lines") << "A\n\n" << true << "";
        QTest::newRow("blanks are kept") << "  X1 " << true << "  X1 ";
    }
    void enterSendsTheLastLine() {
        QFETCH(QString, text);
        QFETCH(bool, hasLine);
        QFETCH(QString, line);
        const auto sent = lineToSend(text);
        QCOMPARE(sent.has_value(), hasLine);
        if (hasLine)
            QCOMPARE(*sent, line);
    }
};

QTEST_APPLESS_MAIN(TestPortSettings)
#include "test_portsettings.moc"
