// A settings file of random bytes, or one damaged on purpose, reads without failing: every
// value the shell takes from it is either read or its default, and writing the settings back
// and reading them again gives the same settings.

#include "common/core/inifile.h"
#include "shell/core/shellsettings.h"
#include "testdata.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

QByteArray randomBytes(quint32 seed, qsizetype size, bool iniLike) {
    QRandomGenerator random(seed);
    static const char kIniPieces[] = "[]=\r\n;LastRunFormatFileName1OpenFilesNumber0123456789- ";
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = iniLike ? kIniPieces[random.bounded(int(sizeof kIniPieces - 1))] : char(random.bounded(256));
    return bytes;
}

void compareSettings(const ShellSettings& a, const ShellSettings& b) {
    QVERIFY(a.format == b.format);
    QCOMPARE(a.lastOpenPath, b.lastOpenPath);
    QCOMPARE(a.comPortSettingsFileName, b.comPortSettingsFileName);
    QCOMPARE(a.lastFilterIndex, b.lastFilterIndex);
    QCOMPARE(a.windows.size(), b.windows.size());
    for (std::size_t i = 0; i < a.windows.size(); ++i) {
        QCOMPARE(a.windows[i].placement.FileName, b.windows[i].placement.FileName);
        QCOMPARE(a.windows[i].placement.SelStart, b.windows[i].placement.SelStart);
        QCOMPARE(a.windows[i].state, b.windows[i].state);
    }
}

} // namespace

class TestHostileSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void damagedSettingsFileReads_data() {
        QTest::addColumn<QByteArray>("bytes");
        for (quint32 seed = 1; seed <= 6; ++seed) {
            QTest::addRow("random bytes, seed %u", seed) << randomBytes(seed, 4096 * seed, false);
            QTest::addRow("random INI pieces, seed %u", seed) << randomBytes(seed, 4096 * seed, true);
        }
        QTest::newRow("huge window count")
            << QByteArray("[LastRun]\r\nOpenFilesNumber=2147483647\r\nFileName1=/tmp/a.nc\r\n");
        QTest::newRow("numbers out of range") << QByteArray(
            "[Format]\r\nFontSize=-2147483648\r\nSyntaxHighlighting=99999999999999\r\n"
            "[LastRun]\r\nOpenFilesNumber=1\r\nLeft1=2147483647\r\nWidth1=-5\r\nSelStart1=-1\r\n");
        QTest::newRow("NUL bytes and no line ends") << QByteArray("[Format]\0FontName=\0\0[LastRun]", 29);
    }
    void damagedSettingsFileReads() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ordalvex.INI"));
        QVERIFY(writeFile(path, bytes));
        IniFile ini(path);
        QVERIFY(ini.load());
        const ShellSettings read = readShellSettings(ini);
        QVERIFY(read.windows.size() <= std::size_t(ini.keys(QStringLiteral("LastRun")).size()));
        for (const LastRunWindow& window : read.windows)
            QVERIFY(!window.placement.FileName.isNull());

        // Written back and read again, the settings stay as they were read.
        writeShellSettings(ini, read);
        IniFile again(path);
        again.fromText(ini.toText());
        compareSettings(readShellSettings(again), read);
    }
};

QTEST_MAIN(TestHostileSettings)
#include "test_hostilesettings.moc"
