#include "common/core/inifile.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::readFile;
using ordalvex::testing::writeFile;

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valueWithLineEndsCannotForgeKeys() {
        IniFile ini(QStringLiteral("unused.ini"));
        ini.writeString(QStringLiteral("LastRun"), QStringLiteral("OpenFile_1"),
                        QStringLiteral("/tmp/a\r\n[Format]\nFontSize=99.nc"));
        IniFile reread(QStringLiteral("unused.ini"));
        reread.fromText(ini.toText());
        QCOMPARE(reread.sections(), QStringList({QStringLiteral("LastRun")}));
        QCOMPARE(reread.keys(QStringLiteral("LastRun")), QStringList({QStringLiteral("OpenFile_1")}));
        QCOMPARE(reread.readString(QStringLiteral("LastRun"), QStringLiteral("OpenFile_1")),
                 QStringLiteral("/tmp/a [Format] FontSize=99.nc"));
    }

    void namesAreComparedWithoutCase_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("as written") << "PortSettings"
                                    << "Baud_rate";
        QTest::newRow("lower case") << "portsettings"
                                    << "baud_rate";
        QTest::newRow("upper case") << "PORTSETTINGS"
                                    << "BAUD_RATE";
        QTest::newRow("mixed") << "pOrTsEtTiNgS"
                               << "bAuD_RaTe";
    }
    void namesAreComparedWithoutCase() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        IniFile ini(QString{});
        ini.fromText("[PortSettings]\r\nBaud_rate=7\r\n");
        QVERIFY(ini.hasSection(section));
        QVERIFY(ini.hasKey(section, key));
        QCOMPARE(ini.readInteger(section, key, -1), 7);

        // Writing under another spelling replaces the value instead of adding a second key.
        ini.writeInteger(section, key, 9);
        QCOMPARE(ini.sections(), QStringList{"PortSettings"});
        QCOMPARE(ini.keys("PortSettings"), QStringList{"Baud_rate"});
        QCOMPARE(ini.readInteger("PortSettings", "Baud_rate", -1), 9);
    }

    void integersAndBooleansFallBackToTheDefault_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("integer");
        QTest::addColumn<bool>("boolean");
        // Defaults used below: integer 42, boolean true.
        QTest::newRow("plain") << "Value=12" << 12 << true;
        QTest::newRow("zero is false") << "Value=0" << 0 << false;
        QTest::newRow("negative") << "Value=-3" << -3 << true;
        QTest::newRow("plus sign") << "Value=+5" << 5 << true;
        QTest::newRow("blanks around") << "Value =  17  " << 17 << true;
        QTest::newRow("empty value") << "Value=" << 42 << true;
        QTest::newRow("word") << "Value=abc" << 42 << true;
        QTest::newRow("digits then text") << "Value=12abc" << 42 << true;
        QTest::newRow("decimal") << "Value=1.5" << 42 << true;
        QTest::newRow("hexadecimal") << "Value=0x10" << 42 << true;
        QTest::newRow("inner blank") << "Value=1 2" << 42 << true;
        QTest::newRow("too large") << "Value=99999999999" << 42 << true;
        QTest::newRow("missing key") << "Other=1" << 42 << true;
        QTest::newRow("key only in another section") << "[Else]\r\nValue=1" << 42 << true;
    }
    void integersAndBooleansFallBackToTheDefault() {
        QFETCH(QString, line);
        QFETCH(int, integer);
        QFETCH(bool, boolean);
        IniFile ini(QString{});
        ini.fromText("[Main]\r\n" + line + "\r\n");
        QCOMPARE(ini.readInteger("Main", "Value", 42), integer);
        QCOMPARE(ini.readBool("Main", "Value", true), boolean);
        // A non-integer must not turn into "false" when the default is false either.
        QCOMPARE(ini.readBool("Main", "Value", false), integer != 42 ? integer != 0 : false);
    }

    void missingSectionGivesDefaults() {
        IniFile ini(QString{});
        ini.fromText("[Format]\r\nFontSize=10\r\n");
        QVERIFY(!ini.hasSection("PortSettings"));
        QCOMPARE(ini.readString("PortSettings", "Com_port", "x"), QString("x"));
        QCOMPARE(ini.readInteger("PortSettings", "Com_port", 3), 3);
        QVERIFY(ini.keys("PortSettings").isEmpty());
    }

    void booleansAreWrittenAsOneAndZero() {
        IniFile ini(QString{});
        ini.writeBool("Format", "SyntaxHighlighting", true);
        ini.writeBool("Format", "SyntaxHighlightingOnWriting", false);
        QCOMPARE(ini.toText(),
                 QString("[Format]\r\nSyntaxHighlighting=1\r\nSyntaxHighlightingOnWriting=0\r\n"));
    }

    void erasingASectionKeepsTheOthers() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Settings.ini");
        QVERIFY(writeFile(path, "[Format]\r\nFontSize=10\r\n[LastRun]\r\nCount=2\r\nFile1=a.nc\r\n"
                                "[Dots]\r\nX=1\r\n"));
        IniFile ini(path);
        QVERIFY(ini.load());
        ini.eraseSection("lastrun");
        QVERIFY(!ini.hasSection("LastRun"));
        QCOMPARE(ini.readInteger("LastRun", "Count", -1), -1);
        QVERIFY(ini.save());
        QCOMPARE(readFile(path), QByteArray("[Format]\r\nFontSize=10\r\n[Dots]\r\nX=1\r\n"));

        // Writing into an erased section starts it afresh, without the old keys.
        ini.writeInteger("LastRun", "Count", 0);
        QCOMPARE(ini.keys("LastRun"), QStringList{"Count"});
        ini.eraseSection("NoSuchSection");
        QCOMPARE(ini.sections(), (QStringList{"Format", "Dots", "LastRun"}));
    }

    void writingKeepsOtherSectionsKeysAndComments() {
        QTemporaryDir dir;
        const QString path = dir.filePath("cnc.cfg");
        const QByteArray before = "; written by hand\r\n"
                                  "[Machine]\r\n"
                                  "Name=Mill 1\r\n"
                                  "\r\n"
                                  "[PortSettings]\r\n"
                                  "Com_port=2\r\n"
                                  "Comment=keep me\r\n"
                                  "; a remark\r\n"
                                  "\r\n"
                                  "[Tail]\r\n"
                                  "Z=9\r\n";
        QVERIFY(writeFile(path, before));
        IniFile ini(path);
        QVERIFY(ini.load());
        ini.writeInteger("PortSettings", "Com_port", 1);
        ini.writeInteger("PortSettings", "Baud_rate", 5);
        QVERIFY(ini.save());
        QCOMPARE(readFile(path), QByteArray("; written by hand\r\n"
                                            "[Machine]\r\n"
                                            "Name=Mill 1\r\n"
                                            "\r\n"
                                            "[PortSettings]\r\n"
                                            "Com_port=1\r\n"
                                            "Comment=keep me\r\n"
                                            "; a remark\r\n"
                                            "Baud_rate=5\r\n"
                                            "\r\n"
                                            "[Tail]\r\n"
                                            "Z=9\r\n"));

        IniFile again(path);
        QVERIFY(again.load());
        QCOMPARE(again.readString("Machine", "Name"), QString("Mill 1"));
        QCOMPARE(again.readString("PortSettings", "Comment"), QString("keep me"));
        QCOMPARE(again.readInteger("PortSettings", "Baud_rate", -1), 5);
        QCOMPARE(again.readInteger("Tail", "Z", -1), 9);
    }

    void deletingAKeyLeavesTheRest() {
        IniFile ini(QString{});
        ini.fromText("[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=3\r\n");
        ini.deleteKey("a", "X");
        QCOMPARE(ini.keys("A"), QStringList{"y"});
        QCOMPARE(ini.readInteger("B", "x", -1), 3);
    }

    void missingFileReadsAsEmptyAndCanBeCreated() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Default.cfg");
        IniFile ini(path);
        QVERIFY(ini.load());
        QVERIFY(ini.sections().isEmpty());
        QCOMPARE(ini.readInteger("PortSettings", "Baud_rate", 5), 5);
        QVERIFY(!QFile::exists(path)); // reading never creates the file

        ini.writeInteger("PortSettings", "Com_port", 0);
        QVERIFY(ini.save());
        QCOMPARE(readFile(path), QByteArray("[PortSettings]\r\nCom_port=0\r\n"));
    }

    void loadForgetsEarlierContents() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gone.ini");
        IniFile ini(path);
        ini.writeInteger("A", "x", 1);
        QVERIFY(ini.load()); // the file does not exist: nothing of the old contents stays
        QVERIFY(!ini.hasSection("A"));
    }

    void unwritableFileIsReportedAndLeavesNothingBehind_data() {
        QTest::addColumn<QString>("relative");
        QTest::newRow("folder does not exist") << "no/such/folder/Settings.ini";
        QTest::newRow("path is a folder") << "folder";
    }
    void unwritableFileIsReportedAndLeavesNothingBehind() {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString path = dir.filePath(relative);
        IniFile ini(path);
        ini.writeInteger("Format", "FontSize", 10);
        QVERIFY(!ini.save());
        QVERIFY(!QFileInfo(path).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"folder"});
    }

    void folderInPlaceOfTheFileIsNotReadable() {
        QTemporaryDir dir;
        IniFile ini(dir.path());
        QVERIFY(!ini.load());
        QCOMPARE(ini.readInteger("Format", "FontSize", 10), 10);
    }

    void textWithoutACodePageByteIsNotSaved() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Settings.ini");
        QVERIFY(writeFile(path, "[LastRun]\r\nFile1=old.nc\r\n"));
        IniFile ini(path);
        QVERIFY(ini.load());
        ini.writeString("LastRun", "File1", QString::fromUtf8("\xCE\xA9.nc")); // Greek omega
        QVERIFY(!ini.save());
        QCOMPARE(readFile(path), QByteArray("[LastRun]\r\nFile1=old.nc\r\n")); // old file untouched
    }

    void diskBytesAreWindows1250WithCrLf() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Settings.ini");
        IniFile ini(path);
        ini.writeString("LastRun", "File1", QString::fromUtf8("/home/ż/ŁOŻYSKO.nc"));
        ini.writeString("Format", "FontName", "Courier New");
        QVERIFY(ini.save());
        const QByteArray expected =
            "[LastRun]\r\nFile1=/home/\xBF/\xA3O\xAFYSKO.nc\r\n[Format]\r\nFontName=Courier New\r\n";
        QCOMPARE(readFile(path), expected);

        IniFile back(path);
        QVERIFY(back.load());
        QCOMPARE(back.readString("lastrun", "file1"), QString::fromUtf8("/home/ż/ŁOŻYSKO.nc"));
    }

    void lineEndsOfAnyKindAreRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("[A]\r\nx=1\r\ny=\xA5\r\n");
        QTest::newRow("LF") << QByteArray("[A]\nx=1\ny=\xA5\n");
        QTest::newRow("CR") << QByteArray("[A]\rx=1\ry=\xA5\r");
        QTest::newRow("no final line end") << QByteArray("[A]\r\nx=1\r\ny=\xA5");
        QTest::newRow("blanks around names") << QByteArray("  [ A ]  \r\n  x = 1\r\ny=\xA5\r\n");
    }
    void lineEndsOfAnyKindAreRead() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("mixed.ini");
        QVERIFY(writeFile(path, bytes));
        IniFile ini(path);
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("A", "x", -1), 1);
        QCOMPARE(ini.readString("A", "y"), QString::fromUtf8("Ą"));
        QVERIFY(ini.save());
        const QByteArray written = readFile(path);
        QVERIFY(!written.contains("\n\n") && !written.contains("\r\r"));
        QCOMPARE(written.count("\r\n"), written.count('\n'));
        QCOMPARE(written.count("\r\n"), written.count('\r'));
        QVERIFY(written.endsWith("\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestIniFile)
#include "test_inifile.moc"
