#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"
#include "testdata.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex::testing;

namespace {

using Run = ProcessRun;

Run runTool(const QStringList& arguments, const QByteArray& input = {}) {
    return runProcess(QStringLiteral(ORDALVEX_CNC), arguments, input);
}

} // namespace

class TestHighlightCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every sample input gives exactly its reference RTF, from a file and from standard input.
    void matchesReferences_data() {
        QTest::addColumn<QString>("path");
        const QDir inputs(testDataDir() + QStringLiteral("/input"));
        const QStringList names = inputs.entryList({QStringLiteral("*.nc")}, QDir::Files);
        QVERIFY2(!names.isEmpty(), qPrintable(inputs.path()));
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << inputs.filePath(name);
    }
    void matchesReferences() {
        QFETCH(QString, path);
        const QString referencePath = testDataDir() + QStringLiteral("/reference/") +
                                      QFileInfo(path).completeBaseName() + QStringLiteral(".rtf");
        QVERIFY2(QFile::exists(referencePath), qPrintable(referencePath));
        const QByteArray expected = readFile(referencePath);
        const Run fromFile = runTool({QStringLiteral("highlight"), path});
        QCOMPARE(fromFile.exitCode, 0);
        QVERIFY2(fromFile.out == expected, qPrintable(describeDifference(expected, fromFile.out)));
        const Run fromStdin = runTool({QStringLiteral("highlight"), QStringLiteral("-")}, readFile(path));
        QCOMPARE(fromStdin.out, expected);
    }

    // On real programs the tool writes what the highlighter writes, and its RTF strips back to
    // the program's upper-cased text with nothing lost.
    void corpusStripsBack_data() {
        QTest::addColumn<QString>("path");
        if (addFileRows(corpusFiles()) == 0)
            QSKIP("corpus folder absent");
    }
    void corpusStripsBack() {
        QFETCH(QString, path);
        const QByteArray input = readFile(path);
        const Run run = runTool({QStringLiteral("highlight"), path});
        QCOMPARE(run.exitCode, 0);
        std::string expected;
        ordalvex::highlightToRtf(std::string_view(input.constData(), size_t(input.size())), expected,
                                 "Courier New", 12);
        const QByteArray highlighted = QByteArray::fromStdString(expected);
        QVERIFY2(run.out == highlighted, qPrintable(describeDifference(highlighted, run.out)));
        const auto read = ordalvex::readRtf(std::string_view(run.out.constData(), size_t(run.out.size())));
        QVERIFY(read.document);
        QByteArray upper = input;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
        upper.replace("\r\n", "\n").replace('\r', '\n');
        QCOMPARE(read.document->text.size(), qsizetype(upper.size()));
    }

    void fontOptions() {
        const Run run = runTool({QStringLiteral("highlight"), QStringLiteral("--font"),
                                 QStringLiteral("Łódź Mono"), QStringLiteral("--size"), QStringLiteral("10")},
                                "X1");
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(
            "{\\f3\\fmodern\\fcharset238{\\*\\fname \xa3\xf3\x64\x9f Mono;}\xa3\xf3\x64\x9f Mono;}}"));
        QVERIFY(run.out.contains("\\fs20\\cf0\\b0\\i0 X1\\par }"));
    }

    void errorsAndUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no command") << QStringList() << 2;
        QTest::newRow("unknown command") << QStringList({"colour"}) << 2;
        QTest::newRow("size not a number") << QStringList({"highlight", "--size", "big", "-"}) << 2;
        QTest::newRow("option without value") << QStringList({"highlight", "--font"}) << 2;
        QTest::newRow("two files") << QStringList({"highlight", "a.nc", "b.nc"}) << 2;
        QTest::newRow("missing file") << QStringList({"highlight", "/nonexistent/O0001.nc"}) << 1;
        QTest::newRow("font without a code-page byte") << QStringList({"highlight", "--font", "Ω", "-"}) << 1;
    }
    void errorsAndUsage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const Run run = runTool(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHighlightCommand)
#include "test_highlightcommand.moc"
