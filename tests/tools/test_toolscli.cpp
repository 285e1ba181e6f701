#include "testdata.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace ordalvex::testing;

namespace {

using Run = ProcessRun;

Run runTool(const QStringList& args, const QByteArray& input = {}) {
    return runProcess(QStringLiteral(ORDALVEX_CNC), args, input);
}

// The variants of the expected-output files, as scripts/references.d/tools.sh writes them.
const QList<QPair<QString, QStringList>> kVariants = {
    {"dots", {"dots"}},
    {"dots-r-equals", {"dots", "--addresses", "r ="}},
    {"remove-spaces", {"remove-spaces"}},
    {"insert-spaces", {"insert-spaces"}},
    {"renumber", {"renumber"}},
    {"renumber-zeros", {"renumber", "--first", "5", "--step", "5", "--min", "3", "--zeros"}},
};

} // namespace

class TestToolsCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchesExpectedOutput_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reference");
        const QDir inputs(testDataDir() + QStringLiteral("/input/tools"));
        const QStringList files = inputs.entryList({QStringLiteral("*.nc")}, QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(inputs.path()));
        for (const QString& file : files) {
            const QString name = QFileInfo(file).completeBaseName();
            for (const auto& [suffix, args] : kVariants)
                QTest::newRow(qPrintable(name + '.' + suffix))
                    << inputs.filePath(file) << args
                    << testDataDir() + QStringLiteral("/reference/tools/") + name + '.' + suffix;
        }
    }
    void matchesExpectedOutput() {
        QFETCH(QString, input);
        QFETCH(QStringList, args);
        QFETCH(QString, reference);
        const QByteArray expected = readFile(reference);
        QVERIFY2(QFile::exists(reference), qPrintable(reference));
        const Run fromFile = runTool(args + QStringList{input});
        QCOMPARE(fromFile.exitCode, 0);
        QVERIFY2(fromFile.out == expected, qPrintable(describeDifference(expected, fromFile.out)));
        const Run fromStdin = runTool(args + QStringList{"-"}, readFile(input));
        QCOMPARE(fromStdin.exitCode, 0);
        QCOMPARE(fromStdin.out, expected);
    }

    void badCommandLines_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("step 0") << QStringList{"renumber", "--step", "0"} << 2;
        QTest::newRow("step 101") << QStringList{"renumber", "--step", "101"} << 2;
        QTest::newRow("first 5001") << QStringList{"renumber", "--first", "5001"} << 2;
        QTest::newRow("min 9001") << QStringList{"renumber", "--min", "9001"} << 2;
        QTest::newRow("min not a number") << QStringList{"renumber", "--min", "1x"} << 2;
        QTest::newRow("first without value") << QStringList{"renumber", "--first"} << 2;
        QTest::newRow("unknown option") << QStringList{"insert-spaces", "--fast"} << 2;
        QTest::newRow("two files") << QStringList{"remove-spaces", "a", "b"} << 2;
        QTest::newRow("addresses without value") << QStringList{"dots", "--addresses"} << 2;
        QTest::newRow("missing file") << QStringList{"dots", "/nonexistent/file.nc"} << 1;
    }
    void badCommandLines() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const Run run = runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }

    void boundsAreAccepted() {
        const Run run = runTool({"renumber", "--first", "5000", "--step", "100", "--min", "9000", "-"},
                                "N9000\nN8999\nN9001\n");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("N5000\nN8999\nN5100\n"));
        const Run zero = runTool({"renumber", "--first", "0", "--step", "1", "--min", "0", "-"}, "N5 N6");
        QCOMPARE(zero.out, QByteArray("N N1"));
    }

    void renumberingFollowsJumpsAndWarnsOfTheRest() {
        const QByteArray program = "N10 G0 X0\r\nN20 #1=#1+1\r\nN30 IF[#1LT5]GOTO20\r\nN40 M99 P20\r\n"
                                   "N50 GOTOF N20\r\nN60 M30\r\n";
        const Run run = runTool({"renumber", "--first", "100", "--step", "10", "-"}, program);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("N100 G0 X0\r\nN110 #1=#1+1\r\nN120 IF[#1LT5]GOTO110\r\nN130 M99 P20\r\n"
                                     "N140 GOTOF N110\r\nN150 M30\r\n"));
        QCOMPARE(QString::fromUtf8(run.err),
                 QStringLiteral("Skok w linii 4 pozostawiono bez zmian: jego cel jest obliczany, nie jest "
                                "numerem dokładnie jednego przenumerowanego bloku albo jest to powrót M99 P. "
                                "Sprawdź go.\n"));

        const Run followed = runTool({"renumber", "-"}, "N5 X1\r\nN6 GOTO5\r\n");
        QCOMPARE(followed.exitCode, 0);
        QCOMPARE(followed.out, QByteArray("N10 X1\r\nN20 GOTO10\r\n"));
        QVERIFY(followed.err.isEmpty());
    }

    void emptyAddressListChangesNothing() {
        const Run run = runTool({"dots", "--addresses", "", "-"}, "X10 Y20\r\n");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("X10 Y20\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestToolsCli)
#include "test_toolscli.moc"
