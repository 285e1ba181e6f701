#include "common/core/inifile.h"
#include "shell/core/shellsettings.h"

#include <QDir>
#include <QTest>

using namespace ordalvex;

class TestShellSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingFileGivesDefaults() {
        IniFile ini(QString{});
        const ShellSettings s = readShellSettings(ini);
        QVERIFY(s.format.SyntaxHighlighting);
        QVERIFY(s.format.SyntaxHighlightingOnWriting);
        QCOMPARE(s.format.FontName, QString("Courier New"));
        QCOMPARE(s.format.FontSize, 12);
        QCOMPARE(s.lastOpenPath, defaultOpenFolder());
        QCOMPARE(s.comPortSettingsFileName, QString());
        QCOMPARE(s.lastFilterIndex, 1);
        QVERIFY(s.windows.empty());
#ifndef Q_OS_WIN
        QCOMPARE(defaultOpenFolder(), QDir::homePath());
#endif
    }

    void writtenSettingsReadBack() {
        ShellSettings s;
        s.format = {false, true, QStringLiteral("DejaVu Sans Mono"), 10};
        s.lastOpenPath = QStringLiteral("/data/programs");
        s.comPortSettingsFileName = QStringLiteral("/data/Mill.cfg");
        s.lastFilterIndex = 4;
        s.windows.push_back({{5, 6, 300, 400, 17, QStringLiteral("/data/A.nc")}, 2});
        s.windows.push_back({{30, 40, 310, 410, 0, QString()}, 1});
        IniFile ini(QString{});
        writeShellSettings(ini, s);
        const ShellSettings back = readShellSettings(ini);
        QCOMPARE(back.format, s.format);
        QCOMPARE(back.lastOpenPath, s.lastOpenPath);
        QCOMPARE(back.comPortSettingsFileName, s.comPortSettingsFileName);
        QCOMPARE(back.lastFilterIndex, 4);
        QCOMPARE(back.windows.size(), size_t(2));
        for (size_t i = 0; i < 2; ++i) {
            const DocumentPlacement& a = s.windows[i].placement;
            const DocumentPlacement& b = back.windows[i].placement;
            QCOMPARE(b.FileName, a.FileName);
            QCOMPARE(QRect(b.Left, b.Top, b.Width, b.Height), QRect(a.Left, a.Top, a.Width, a.Height));
            QCOMPARE(b.SelStart, a.SelStart);
            QCOMPARE(back.windows[i].state, s.windows[i].state);
        }
        // Booleans as 1 and 0, keys numbered from 1 without leading zeros; the last entry is
        // written first.
        const QString text = ini.toText();
        QVERIFY(text.contains("SyntaxHighlighting=0\r\n"));
        QVERIFY(text.contains("SyntaxHighlightingOnWriting=1\r\n"));
        QVERIFY(text.contains("OpenFile_1=/data/A.nc\r\n"));
        QVERIFY(text.contains("Window_State_1=2\r\n"));
        QVERIFY(text.contains("OpenFile_2=\r\n"));
        QVERIFY(text.indexOf("OpenFile_2=") < text.indexOf("OpenFile_1="));
        QVERIFY(text.indexOf("LastOpenPath=") < text.indexOf("LastFilterIndex=") &&
                text.indexOf("LastFilterIndex=") < text.indexOf("ComPortSettingsFileName=") &&
                text.indexOf("ComPortSettingsFileName=") < text.indexOf("OpenFilesNumber=2"));
    }

    void writingReplacesLastRunAndKeepsOtherSections() {
        IniFile ini(QString{});
        ini.fromText("[Dots]\r\nDots_Combo_Items=0\r\nDots_Combo_0=X Y\r\n"
                     "[LastRun]\r\nOpenFilesNumber=5\r\nOpenFile_5=/old.nc\r\nStray=1\r\n");
        ShellSettings s;
        s.windows.push_back({{0, 0, 350, 440, 0, QStringLiteral("/new.nc")}, 1});
        writeShellSettings(ini, s);
        QCOMPARE(ini.readString("Dots", "Dots_Combo_0"), QString("X Y"));
        QVERIFY(!ini.hasKey("LastRun", "OpenFile_5"));
        QVERIFY(!ini.hasKey("LastRun", "Stray"));
        QCOMPARE(ini.readInteger("LastRun", "OpenFilesNumber", -1), 1);
    }

    void damagedValuesGiveDefaults_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("windows");
        QTest::addColumn<QString>("firstFile");
        QTest::addColumn<QRect>("firstGeometry");
        QTest::addColumn<int>("firstState");
        QTest::newRow("words instead of numbers")
            << "[Format]\r\nSyntaxHighlighting=tak\r\nFontSize=duzy\r\n[LastRun]\r\nOpenFilesNumber=1\r\n"
               "OpenFile_1=/a.nc\r\nWindow_Left_1=x\r\nWindow_Top_1=\r\nWindow_Height_1=1.5\r\n"
               "Window_Width_1=0x20\r\nWindow_SelStr_1=abc\r\nWindow_State_1=max\r\n"
            << 1 << "/a.nc" << QRect(0, 0, 440, 350) << 1;
        QTest::newRow("count not a number") << "[LastRun]\r\nOpenFilesNumber=three\r\nOpenFile_1=/a.nc\r\n"
                                            << 0 << QString() << QRect() << 0;
        QTest::newRow("negative count") << "[LastRun]\r\nOpenFilesNumber=-4\r\nOpenFile_1=/a.nc\r\n"
                                        << 0 << QString() << QRect() << 0;
        QTest::newRow("missing file key") << "[LastRun]\r\nOpenFilesNumber=1\r\nWindow_State_1=3\r\n"
                                          << 1 << "Bez Nazwy" << QRect(0, 0, 440, 350) << 3;
        // Entry 2 with no keys of its own takes the stepped default position.
        QTest::newRow("entry without keys")
            << "[LastRun]\r\nOpenFilesNumber=2\r\nOpenFile_1=/a.nc\r\nWindow_Left_1=7\r\n"
            << 2 << "/a.nc" << QRect(7, 0, 440, 350) << 1;
        // A huge count cannot exceed the keys present, so start-up stays short.
        QTest::newRow("huge count") << "[LastRun]\r\nOpenFilesNumber=2000000000\r\nOpenFile_1=/a.nc\r\n"
                                    << 2 << "/a.nc" << QRect(0, 0, 440, 350) << 1;
    }
    void damagedValuesGiveDefaults() {
        QFETCH(QString, text);
        QFETCH(int, windows);
        QFETCH(QString, firstFile);
        QFETCH(QRect, firstGeometry);
        QFETCH(int, firstState);
        IniFile ini(QString{});
        ini.fromText(text);
        const ShellSettings s = readShellSettings(ini);
        QVERIFY(s.format.SyntaxHighlighting);
        QCOMPARE(s.format.FontSize, 12);
        QCOMPARE(int(s.windows.size()), windows);
        if (windows == 0)
            return;
        const LastRunWindow& first = s.windows.front();
        QCOMPARE(first.placement.FileName, firstFile);
        QCOMPARE(
            QRect(first.placement.Left, first.placement.Top, first.placement.Width, first.placement.Height),
            firstGeometry);
        QCOMPARE(first.placement.SelStart, qsizetype(0));
        QCOMPARE(first.state, firstState);
        if (windows > 1) {
            const DocumentPlacement& second = s.windows[1].placement;
            QCOMPARE(QPoint(second.Left, second.Top), QPoint(10, 10));
            QCOMPARE(second.FileName, QString("Bez Nazwy"));
        }
    }

    void maximizedEntriesGetTwoThirdsOfTheClientArea_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("even") << QRect(0, 0, 1024, 768) << QSize(1020, 690) << QRect(10, 10, 680, 460);
        QTest::newRow("truncated") << QRect(-4, -4, 1288, 1000) << QSize(1280, 911) << QRect(6, 6, 853, 607);
        QTest::newRow("offset") << QRect(100, 50, 800, 600) << QSize(790, 500) << QRect(110, 60, 526, 333);
    }
    void maximizedEntriesGetTwoThirdsOfTheClientArea() {
        QFETCH(QRect, main);
        QFETCH(QSize, client);
        QFETCH(QRect, expected);
        DocumentPlacement p{1, 2, 3, 4, 55, QStringLiteral("/x.nc")};
        p = maximizedRestorePlacement(p, main.left(), main.top(), client.width(), client.height());
        QCOMPARE(QRect(p.Left, p.Top, p.Width, p.Height), expected);
        QCOMPARE(p.SelStart, qsizetype(55));
        QCOMPARE(p.FileName, QString("/x.nc"));
    }

    void openDialogOffersFiveTypes() {
        const QStringList filters = openDialogFilters();
        QCOMPARE(filters.size(), 5);
        QVERIFY(filters.at(0).startsWith("Programy CNC") && filters.at(0).contains("*.nc") &&
                filters.at(0).contains("*.min"));
        QVERIFY(filters.at(3).startsWith("Pliki tekstowe"));
        QVERIFY(filters.at(4).startsWith("Wszystkie pliki"));
    }
};

QTEST_GUILESS_MAIN(TestShellSettings)
#include "test_shellsettings.moc"
