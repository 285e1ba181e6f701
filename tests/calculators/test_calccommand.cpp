#include "testdata.h"

#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments) {
    const auto result = ordalvex::testing::runProcess(QStringLiteral(ORDALVEX_CNC),
                                                      QStringList{QStringLiteral("calc")} + arguments);
    return {result.exitCode, QString::fromUtf8(result.out), QString::fromUtf8(result.err)};
}

} // namespace

class TestCalcCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void subcommands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        using L = QStringList;
        QTest::newRow("bolt circle") << L{"bolt-circle", "--diameter", "100",     "--first", "0",
                                          "--pitch",     "90",         "--count", "0"}
                                     << 0
                                     << QStringLiteral(
                                            "1. Kąt : 0.00\t50.000\t0.000\n2. Kąt : 90.00\t0.000\t50.000\n"
                                            "3. Kąt : 180.00\t-50.000\t0.000\n"
                                            "4. Kąt : 270.00\t-0.000\t-50.000\n")
                                     << QString();
        QTest::newRow("bolt circle inches")
            << L{"bolt-circle", "--diameter", "1.1/4", "--first",   "90",        "--pitch",
                 "0",           "--count",    "1",     "--inch-in", "--inch-out"}
            << 0 << QStringLiteral("1. Kąt : 90.00\t0.0000\t0.6250\n") << QString();
        QTest::newRow("bolt circle refused")
            << L{"bolt-circle", "--diameter", "100", "--first", "0", "--pitch", "0", "--count", "0"} << 1
            << QString() << QStringLiteral("Musisz podać kąt między otworami lub liczbę otworów !\n");
        QTest::newRow("bolt circle missing count")
            << L{"bolt-circle", "--diameter", "100", "--first", "0", "--pitch", "0"} << 2 << QString()
            << QString();
        QTest::newRow("cutting defaults")
            << L{"cutting", "--mode", "vc"} << 0
            << QStringLiteral("D=10\nOs=1\nVc=60\nFz=0.3\nS=1910\nF=573\n") << QString();
        QTest::newRow("cutting spindle")
            << L{"cutting", "--mode", "s", "--s", "1910", "--f", "573"} << 0
            << QStringLiteral("D=10\nOs=1\nVc=60\nFz=0.300\nS=1910\nF=573\n") << QString();
        QTest::newRow("cutting reset")
            << L{"cutting", "--mode", "vc", "--d", "0.5"} << 0
            << QStringLiteral("D=15\nOs=1\nVc=60\nFz=0.3\nS=1273\nF=382\n") << QString();
        QTest::newRow("cutting bad mode") << L{"cutting", "--mode", "x"} << 2 << QString() << QString();
        QTest::newRow("triangle") << L{"triangle", "--a", "5", "--b", "3"} << 0
                                  << QStringLiteral("a=5\nb=3\nc=4.000\nB=36.870\nC=53.130\n") << QString();
        QTest::newRow("triangle failure after a write")
            << L{"triangle", "--b", "3", "--c", "0"} << 1 << QStringLiteral("a=3.000\nb=3\nc=0\nB=1\nC=1\n")
            << QStringLiteral("Błędne dane !\n");
        QTest::newRow("triangle check")
            << L{"triangle", "--B", "90", "--a", "2"} << 1 << QStringLiteral("a=2\nb=1\nc=1\nB=90\nC=1\n")
            << QStringLiteral("Kąt \"B\" musi być mniejszy od 90 !\n");
        QTest::newRow("triangle both angles")
            << L{"triangle", "--B", "30", "--C", "60"} << 2 << QString() << QString();
        QTest::newRow("triangle three values")
            << L{"triangle", "--a", "5", "--b", "3", "--c", "4"} << 2 << QString() << QString();
        QTest::newRow("convert to mm")
            << L{"convert", "--to-mm", "1.1/4"} << 0 << QStringLiteral("31.75000\n") << QString();
        QTest::newRow("convert to inch")
            << L{"convert", "--to-inch", "25.4"} << 0 << QStringLiteral("1.00000\n") << QString();
        QTest::newRow("convert marker")
            << L{"convert", "--to-mm", "591"} << 0 << QStringLiteral(" 590 > \n") << QString();
        QTest::newRow("convert both")
            << L{"convert", "--to-mm", "1", "--to-inch", "1"} << 2 << QString() << QString();
        QTest::newRow("unknown calculator") << L{"abacus"} << 2 << QString() << QString();
    }
    void subcommands() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run result = run(arguments);
        QCOMPARE(result.code, code);
        QCOMPARE(result.out, out);
        if (code != 2)
            QCOMPARE(result.err, err);
        else
            QVERIFY(result.err.contains(QStringLiteral("usage:")));
    }
};

QTEST_APPLESS_MAIN(TestCalcCommand)
#include "test_calccommand.moc"
