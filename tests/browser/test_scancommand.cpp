#include "testdata.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using ordalvex::testing::describeDifference;
using ordalvex::testing::writeFile;

namespace {

using Run = ordalvex::testing::ProcessRun;

// Runs the command-line tool under the C locale, where names sort in byte order.
Run runTool(const QStringList& arguments) {
    return ordalvex::testing::runProcess(QStringLiteral(ORDALVEX_CNC), arguments, {},
                                         {QStringLiteral("LC_ALL=C")});
}

} // namespace

class TestScanCommand : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeFile(m_dir.filePath("b.nc"), "%\r\nO0002 (tuleja \xB3ukowa)\r\n(T1)\r\nN10 G0\r\n"));
        QVERIFY(writeFile(m_dir.filePath("A.NC"), "(NAJPIERW)\r\n:0001 (ZZ)\r\n(POD)\r\nO0001\t(X)\r\n"));
        QVERIFY(writeFile(m_dir.filePath("c.min"), "O0003\r\n"));
        QVERIFY(QDir(m_dir.path()).mkdir("sub.nc"));
    }

    void printsTreeAsListed_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("default mask") << QStringList{}
                                      << QByteArray("  A.NC\n"
                                                    "    (NAJPIERW)\n"
                                                    "    :0001 (ZZ)\n"
                                                    "      (POD)\n"
                                                    "    O0001\t(X)\n"
                                                    "  b.nc\n"
                                                    "    O0002 (TULEJA \xB3UKOWA)\n"
                                                    "      (T1)\n");
        QTest::newRow("mask ignores case")
            << QStringList{"--mask", "*.MIN"} << QByteArray("  c.min\n    O0003\n");
        QTest::newRow("nothing matches") << QStringList{"--mask", "*.txt"} << QByteArray();
    }
    void printsTreeAsListed() {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        const Run run = runTool(QStringList{"scan"} + options + QStringList{m_dir.path()});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QByteArray root = QFile::encodeName(m_dir.path()) + "/\n";
        QVERIFY2(run.out == root + expected, qPrintable(describeDifference(root + expected, run.out)));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no folder") << QStringList{"scan"} << 2;
        QTest::newRow("two folders") << QStringList{"scan", "a", "b"} << 2;
        QTest::newRow("mask without value") << QStringList{"scan", "x", "--mask"} << 2;
        QTest::newRow("missing folder") << QStringList{"scan", "/nonexistent/folder"} << 1;
    }
    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const Run run = runTool(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(run.out.isEmpty());
    }

    void unreadableFileFailsAfterPartialTree() {
        if (!QFile::exists("/proc/self/mem"))
            QSKIP("needs /proc/self/mem");
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("a.nc"), "O0001\r\n"));
        QCOMPARE(::symlink("/proc/self/mem", QFile::encodeName(dir.filePath("m.nc")).constData()), 0);
        const Run run = runTool({"scan", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.startsWith(QFile::encodeName(dir.path()) + "/\n"));
        QVERIFY(run.out.contains("  m.nc\n"));
        QVERIFY(run.err.startsWith("ordalvex-cnc: "));
    }
};

QTEST_GUILESS_MAIN(TestScanCommand)
#include "test_scancommand.moc"
