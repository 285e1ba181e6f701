// ordalvex-cnc find: the positions repeated "find next" selects, checked against explicit
// positions and against the document window's own search on sample and real programs.
#include "document/core/patternsearch.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "testdata.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

ProcessRun runFind(const QStringList& arguments, const QByteArray& input = {}) {
    return runProcess(QStringLiteral(ORDALVEX_CNC), QStringList{QStringLiteral("find")} + arguments, input);
}

// The selection starts that "find next" reaches in the editor, repeated until it finds
// nothing, from the start (from the end for an upward search).
QByteArray editorFindNext(TRichEdit98& editor, const QString& pattern, unsigned options) {
    editor.setSelStart((options & frDown) ? 0 : editor.textLength());
    QByteArray lines;
    while (SearchEditor(editor, pattern, options))
        lines += QByteArray::number(editor.selStart()) + '\n';
    return lines;
}

} // namespace

class TestFindCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void positions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output"); // empty: none found, exit code 1
        const QByteArray lines("G01 X1\nG01 X2\r\nG01");
        QTest::newRow("every line end counts two") << QStringList{"G01"} << lines << QByteArray("0\n8\n16\n");
        QTest::newRow("a lone CR counts two")
            << QStringList{"A"} << QByteArray("A\rA") << QByteArray("0\n3\n");
        QTest::newRow("up starts at the end")
            << QStringList{"--up", "G01"} << lines << QByteArray("16\n8\n0\n");
        QTest::newRow("next search starts after the match")
            << QStringList{"AA"} << QByteArray("AAAAA") << QByteArray("0\n2\n");
        QTest::newRow("up: next search ends before the match")
            << QStringList{"--up", "AA"} << QByteArray("AAAAA") << QByteArray("3\n1\n");
        QTest::newRow("wildcards") << QStringList{"X$$"} << QByteArray("X10 X2 X305 XA1")
                                   << QByteArray("0\n7\n");
        QTest::newRow("question mark matches a line end character")
            << QStringList{"1??X"} << QByteArray("X1\nX 1 AX") << QByteArray("1\n6\n");
        QTest::newRow("whole word never takes the first word")
            << QStringList{"--whole-word", "X10"} << QByteArray("X10 X10 X100 X10.5 X10")
            << QByteArray("4\n19\n");
        QTest::newRow("case ignored, Polish letters too")
            << QStringList{"łuk"} << QByteArray("\xb3uk \xa3UK") << QByteArray("0\n4\n");
        QTest::newRow("match case") << QStringList{"--match-case", "G01"} << QByteArray("g01 G01")
                                    << QByteArray("4\n");
        QTest::newRow("options in any order") << QStringList{"--up", "--match-case", "--whole-word", "N1"}
                                              << QByteArray("N1 n1 N1 N10") << QByteArray("6\n");
        QTest::newRow("double dash ends the options")
            << QStringList{"--", "--up"} << QByteArray("A --UP") << QByteArray("2\n");
        QTest::newRow("none found") << QStringList{"M30"} << lines << QByteArray();
        QTest::newRow("character without a code-page byte") << QStringList{"→"} << lines << QByteArray();
        QTest::newRow("empty pattern") << QStringList{""} << lines << QByteArray();
        QTest::newRow("empty text") << QStringList{"G01"} << QByteArray() << QByteArray();
    }
    void positions() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const int expectedCode = output.isEmpty() ? 1 : 0;
        const ProcessRun fromStdin = runFind(arguments, input);
        QCOMPARE(fromStdin.exitCode, expectedCode);
        QCOMPARE(fromStdin.out, output);
        QCOMPARE(fromStdin.err, QByteArray());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        QVERIFY(writeFile(path, input));
        for (const QStringList& source : {QStringList{path}, QStringList{QStringLiteral("-")}}) {
            const ProcessRun run = runFind(arguments + source, input);
            QCOMPARE(run.exitCode, expectedCode);
            QCOMPARE(run.out, output);
        }
    }

    // The tool reports what the document window's find next selects, on the sample programs
    // and the first real ones of the corpus.
    void sameAsTheDocumentWindow_data() {
        QTest::addColumn<QString>("path");
        QStringList files = corpusFiles().mid(0, 20);
        const QDir samples(testDataDir() + QStringLiteral("/input"));
        for (const QString& name : samples.entryList({QStringLiteral("*.nc")}, QDir::Files))
            files.append(samples.filePath(name));
        QVERIFY(files.size() > 5);
        addFileRows(files);
    }
    void sameAsTheDocumentWindow() {
        QFETCH(QString, path);
        ScopedInteraction ui;
        struct Search {
            QStringList options;
            QString pattern;
            unsigned flags;
        };
        const QList<Search> searches = {
            {{}, QStringLiteral("G0?"), frDown},
            {{QStringLiteral("--up")}, QStringLiteral("X$"), 0},
            {{QStringLiteral("--whole-word")}, QStringLiteral("M30"), frDown | frWholeWord},
            {{QStringLiteral("--whole-word"), QStringLiteral("--up")}, QStringLiteral("n$0"), frWholeWord},
            // No pattern here can match from the middle of a CR LF: the editor cannot select there.
            {{}, QStringLiteral("$ ?1"), frDown},
            {{}, QStringLiteral("("), frDown},
        };
        TEditForm form;
        FormatSettings format;
        format.FontName = QStringLiteral("Courier New");
        format.FontSize = 10;
        form.document().setFormat(format);
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        int found = 0;
        for (const Search& search : searches) {
            const QByteArray expected = editorFindNext(*form.editor(), search.pattern, search.flags);
            const ProcessRun run = runFind(search.options + QStringList{search.pattern, path});
            QVERIFY2(run.out == expected,
                     qPrintable(search.pattern + QLatin1Char('\n') + describeDifference(expected, run.out)));
            QCOMPARE(run.exitCode, expected.isEmpty() ? 1 : 0);
            found += expected.isEmpty() ? 0 : 1;
        }
        // Agreeing on finding nothing proves little: a program with a comment has a "(" to find.
        QVERIFY(found > 0 || !readFile(path).contains('('));
    }

    void usageAndErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("errorStart");
        QTest::newRow("no pattern") << QStringList{} << 2 << QByteArray("usage: ordalvex-cnc");
        QTest::newRow("only options") << QStringList{"--up"} << 2 << QByteArray("usage: ordalvex-cnc");
        QTest::newRow("unknown option")
            << QStringList{"--down", "X"} << 2 << QByteArray("usage: ordalvex-cnc");
        QTest::newRow("two files") << QStringList{"X", "a.nc", "b.nc"} << 2
                                   << QByteArray("usage: ordalvex-cnc");
        QTest::newRow("missing file")
            << QStringList{"X", "/nonexistent/P.NC"} << 1 << QByteArray("ordalvex-cnc: /nonexistent/P.NC: ");
        QTest::newRow("folder in place of the file")
            << QStringList{"X", "/"} << 1 << QByteArray("ordalvex-cnc: /: ");
    }
    void usageAndErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, errorStart);
        const ProcessRun run = runFind(arguments, "X1\r\n");
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.startsWith(errorStart), run.err.constData());
        if (exitCode == 2)
            QVERIFY(run.err.contains("find [--whole-word] [--match-case] [--up] PATTERN [FILE|-]"));
    }
};

QTEST_MAIN(TestFindCommand)
#include "test_findcommand.moc"
