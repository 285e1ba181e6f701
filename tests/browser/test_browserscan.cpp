#include "browser/core/programscan.h"
#include "browser/core/scantoken.h"
#include "browser/core/wholeword.h"
#include "testdata.h"

#include <algorithm>

#include <QTest>

using namespace ordalvex;

namespace {

const char* className(ScanClass cls) {
    switch (cls) {
    case ScanClass::Keyword:
        return "K";
    case ScanClass::Comment:
        return "C";
    case ScanClass::ProgramNumber:
        return "P";
    case ScanClass::Number:
        return "N";
    case ScanClass::Address:
        return "A";
    case ScanClass::Operator:
        return "O";
    case ScanClass::Sign:
        return "S";
    case ScanClass::LineEnd:
        return "E";
    case ScanClass::Other:
        return "X";
    case ScanClass::End:
        return "END";
    }
    return "?";
}

// Every token of a text as "class:text" separated by "|"; a line end shows as "E:".
QByteArray tokens(const QByteArray& bytes) {
    ScanReader reader(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QByteArrayList out;
    std::string text;
    while (!reader.atEnd()) {
        const ScanClass cls = ScanToken(reader, text);
        if (cls == ScanClass::LineEnd)
            text.clear();
        out.append(QByteArray(className(cls)) + ':' + QByteArray::fromStdString(text));
    }
    return out.join('|');
}

void dump(const std::vector<ScanLine>& lines, int depth, QByteArray& out) {
    for (const auto& line : lines) {
        out += QByteArray(depth * 2, ' ') + (line.kind == ScanLineKind::ProgramName ? "P " : "C ") +
               QByteArray::fromStdString(line.bytes) + '\n';
        dump(line.children, depth + 1, out);
    }
}

// The lines a program gives, one per line, "P" for program names and "C" for comments,
// indented two spaces per level; byte order for the sorting.
QByteArray scanned(const QByteArray& bytes) {
    QByteArray out;
    dump(scanProgram(std::string_view(bytes.constData(), std::size_t(bytes.size())), LineOrder(true)), 0,
         out);
    return out;
}

} // namespace

class TestBrowserScan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tokens_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("letter after digits ends a word") << QByteArray("N10G01") << QByteArray("A:N10|A:G01");
        QTest::newRow("letters before a digit stay together")
            << QByteArray("GOTO10") << QByteArray("K:GOTO10");
        QTest::newRow("lower case is read upper-cased")
            << QByteArray("n10 g1") << QByteArray("A:N10|S: |A:G1");
        QTest::newRow("program number O") << QByteArray("O1234") << QByteArray("P:O1234");
        QTest::newRow("percent and colon") << QByteArray("%\r\n:12") << QByteArray("P:%|E:|P::12");
        QTest::newRow("comment runs past its parenthesis to a stop")
            << QByteArray("(A)X10 Y") << QByteArray("C:(A)X10|S: |A:Y");
        QTest::newRow("comment keeps spaces and operators")
            << QByteArray("(T1 D=10)") << QByteArray("C:(T1 D=10)");
        QTest::newRow("comment ends at a line end")
            << QByteArray("(OPEN\r\nX1") << QByteArray("C:(OPEN|E:|A:X1");
        QTest::newRow("lone LF and lone CR end lines")
            << QByteArray("(A\nX1\rY2") << QByteArray("C:(A|E:|A:X1|E:|A:Y2");
        QTest::newRow("a sign stops a word, not inside a comment")
            << QByteArray("X1!(A!B)") << QByteArray("A:X1|S:!|C:(A!B)");
        QTest::newRow("dot is no word start and no stop")
            << QByteArray(".5 X1.5") << QByteArray("X:.|N:5|S: |A:X1.5");
        QTest::newRow("operators") << QByteArray("#1=#2*[3]") << QByteArray("A:#1|O:=|A:#2|O:*|O:[|N:3|O:]");
        QTest::newRow("others are single characters")
            << QByteArray("\t,)'\xB9") << QByteArray("X:\t|X:,|X:)|X:'|X:\xB9");
        QTest::newRow("polish letter kept in a word") << QByteArray("O1\xB9") << QByteArray("P:O1\xB9");
        QTest::newRow("ctrl-z ends the text") << QByteArray("X1\x1AY2") << QByteArray("A:X1");
        QTest::newRow("at sign and hash are letter-like")
            << QByteArray("X1@2#3") << QByteArray("A:X1|A:@2|A:#3");
    }
    void tokens() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(::tokens(input), expected);
    }

    void endGivesEndToken() {
        ScanReader reader("");
        std::string text = "stale";
        QVERIFY(reader.atEnd());
        QCOMPARE(ScanToken(reader, text), ScanClass::End);
        QVERIFY(text.empty());
        QCOMPARE(ScanToken(reader, text), ScanClass::End);
    }

    void programLines_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("name with comment under it")
            << QByteArray("%\r\nO0001 (WALEK FI 20)\r\n(NARZEDZIE T1)\r\nN10 G0 X0\r\n")
            << QByteArray("P O0001 (WALEK FI 20)\n  C (NARZEDZIE T1)\n");
        QTest::newRow("lone percent is too short") << QByteArray("%\r\n(A)\r\n") << QByteArray("C (A)\n");
        QTest::newRow("three characters are enough") << QByteArray("O12\r\n") << QByteArray("P O12\n");
        QTest::newRow("two are not") << QByteArray("O1\r\n(X)\r\n") << QByteArray("C (X)\n");
        QTest::newRow("keyword is no name") << QByteArray("GOTO10\r\nOR1\r\n") << QByteArray("");
        QTest::newRow("comments before the first name sorted with the names")
            << QByteArray("(ZETA)\r\n(ALFA)\r\nO5000\r\n(POD)\r\n")
            << QByteArray("C (ALFA)\nC (ZETA)\nP O5000\n  C (POD)\n");
        QTest::newRow("a percent name sorts before the comments")
            << QByteArray("(B)\r\n% START\r\n") << QByteArray("P % START\nC (B)\n");
        QTest::newRow("comments without a name keep file order")
            << QByteArray("(ZETA)\r\n(ALFA)\r\n") << QByteArray("C (ZETA)\nC (ALFA)\n");
        QTest::newRow("names sorted, comments follow their name")
            << QByteArray("O2000\r\n(B1)\r\n(B2)\r\nO1000\r\n(A1)\r\n")
            << QByteArray("P O1000\n  C (A1)\nP O2000\n  C (B1)\n  C (B2)\n");
        QTest::newRow("lower-case comment shown in capitals, polish letters kept")
            << QByteArray("O1000\r\n(wa\xb3"
                          "ek)\r\n")
            << QByteArray("P O1000\n  C (WA\xb3"
                          "EK)\n");
        QTest::newRow("name runs to the line end")
            << QByteArray("O1234 (SHAFT) X1\r\nN1") << QByteArray("P O1234 (SHAFT) X1\n");
        QTest::newRow("name ended by the end of the text") << QByteArray("O777") << QByteArray("P O777\n");
        QTest::newRow("ctrl-z in mid-file ends it")
            << QByteArray("O1000\r\n(A)\x1A(B)\r\nO2000\r\n") << QByteArray("P O1000\n  C (A)\n");
        QTest::newRow("name after a colon") << QByteArray(":100 (X)\r\n") << QByteArray("P :100 (X)\n");
        QTest::newRow("equal names: the later one first") << QByteArray("O100\r\n(A)\r\nO100\r\n(B)\r\n")
                                                          << QByteArray("P O100\n  C (B)\nP O100\n  C (A)\n");
    }
    void programLines() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(scanned(input), expected);
    }

    // After a space, a character of class Other ends the name and is dropped; glued to the
    // digits it stays part of the word.
    void nameEndsAtOtherAfterSpace_data() {
        QTest::addColumn<QByteArray>("follower");
        QTest::newRow("comma") << QByteArray(",");
        QTest::newRow("tab") << QByteArray("\t");
        QTest::newRow("dot") << QByteArray(".");
        QTest::newRow("polish letter") << QByteArray("\xA3");
    }
    void nameEndsAtOtherAfterSpace() {
        QFETCH(QByteArray, follower);
        QCOMPARE(scanned("O0001 " + follower + "X1\r\n"), QByteArray("P O0001 \n"));
        QCOMPARE(scanned("O0001" + follower + "X1\r\n"), "P O0001" + follower + "X1\n");
    }

    void filesDoNotLeakIntoEachOther() {
        // The first text ends inside a word; the second must start from its own first byte.
        QCOMPARE(scanned("O1000 (A"), QByteArray("P O1000 (A\n"));
        QCOMPARE(scanned("%\r\nO2000\r\n"), QByteArray("P O2000\n"));
        QCOMPARE(scanned("O0"), QByteArray(""));
    }

    void scanInStepsGivesSameLines() {
        QByteArray text;
        for (int i = 0; i < 300; ++i)
            text += "O" + QByteArray::number(9000 - i) + " (P" + QByteArray::number(i) +
                    ")\r\n(C)\r\nN10 G0 X1\r\n";
        const std::string_view view(text.constData(), std::size_t(text.size()));
        ProgramScanner scanner(view, LineOrder(true));
        int steps = 0;
        while (!scanner.scan(7))
            ++steps;
        QVERIFY(steps > 100);
        QByteArray stepped;
        dump(scanner.lines(), 0, stepped);
        QCOMPARE(stepped, scanned(text));
        QVERIFY(stepped.startsWith("P O8701 (P299)\n  C (C)\n"));
    }

    // Real programs: every line is a well-formed name or comment, nothing of a line end or a
    // lower-case letter gets into a line, and scanning token by token changes nothing.
    void corpusProgramsGiveWellFormedLines_data() {
        QTest::addColumn<QString>("path");
        if (ordalvex::testing::addFileRows(ordalvex::testing::corpusFiles()) == 0)
            QSKIP("corpus not present");
    }
    void corpusProgramsGiveWellFormedLines() {
        QFETCH(QString, path);
        const LineOrder order(true);
        const QByteArray bytes = ordalvex::testing::readFile(path);
        const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
        ProgramScanner scanner(view, order);
        while (!scanner.scan(1)) {
        }
        QByteArray stepped;
        dump(scanner.lines(), 0, stepped);
        QCOMPARE(stepped, scanned(bytes));
        const auto& lines = scanner.lines();
        const bool hasName = std::any_of(lines.begin(), lines.end(), [](const ScanLine& l) {
            return l.kind == ScanLineKind::ProgramName;
        });
        if (hasName)
            QVERIFY(std::is_sorted(lines.begin(), lines.end(),
                                   [&](const ScanLine& a, const ScanLine& b) { return order.less(a, b); }));
        for (const auto& line : lines) {
            if (line.kind == ScanLineKind::ProgramName) {
                QVERIFY2(line.bytes.size() > 2 &&
                             std::string_view("%:O").find(line.bytes[0]) != std::string_view::npos,
                         qPrintable(line.text));
            } else {
                QCOMPARE(line.bytes[0], '(');
            }
            for (const auto& child : line.children)
                QCOMPARE(child.kind, ScanLineKind::Comment);
            QVERIFY2(line.bytes.find_first_of("\r\nabcdefghijklmnopqrstuvwxyz\x1a") == std::string::npos,
                     qPrintable(line.text));
        }
    }

    // The checks above hold for programs without names too; the corpus as a whole must give
    // some, or the scanner has stopped recognising them.
    void corpusProgramsHaveNames() {
        const QStringList files = ordalvex::testing::corpusFiles();
        if (files.isEmpty())
            QSKIP("corpus not present");
        const LineOrder order(true);
        int names = 0;
        for (const QString& path : files) {
            const QByteArray bytes = ordalvex::testing::readFile(path);
            ProgramScanner scanner(std::string_view(bytes.constData(), std::size_t(bytes.size())), order);
            while (!scanner.scan(1 << 20)) {
            }
            for (const auto& line : scanner.lines())
                names += line.kind == ScanLineKind::ProgramName;
        }
        QVERIFY(names > 0);
    }

    void byteOrderComparesUnsigned() {
        const LineOrder order(true);
        const ScanLine ascii = makeTextLine(ScanLineKind::Comment, "(Z)");
        const ScanLine polish = makeTextLine(ScanLineKind::Comment, "(\xA3)");
        QVERIFY(order.less(ascii, polish));
        QVERIFY(!order.less(polish, ascii));
        QCOMPARE(order.compare(ascii, ascii), 0);
        QCOMPARE(polish.text, QStringLiteral("(Ł)"));
    }

    void wholeWord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("expected");
        QTest::newRow("at the start") << "O0001 (A)\r\n"
                                      << "O0001" << 0;
        QTest::newRow("comment ignoring case") << "N10 (Wałek fi 20)\r\n"
                                               << "(WAłEK FI 20)" << 4;
        QTest::newRow("comment glued to a word") << "N10(ABC)"
                                                 << "(ABC)" << 3;
        QTest::newRow("part of a longer word") << "O12345\r\nO123 X"
                                               << "O123" << 8;
        QTest::newRow("letter before") << "XO12"
                                       << "O12" << -1;
        QTest::newRow("name with trailing space") << "O0001 ,X"
                                                  << "O0001 " << 0;
        QTest::newRow("absent") << "N10 G0"
                                << "(A)" << -1;
        QTest::newRow("empty word") << "N10"
                                    << "" << -1;
    }
    void wholeWord() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(int, expected);
        QCOMPARE(findWholeWord(text, word), qsizetype(expected));
    }
};

QTEST_APPLESS_MAIN(TestBrowserScan)
#include "test_browserscan.moc"
