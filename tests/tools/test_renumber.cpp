#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"
#include "tools/core/previewrtf.h"
#include "tools/core/renumber.h"

#include <QTest>

using namespace ordalvex;

namespace {

QByteArray bytes(const std::string& s) {
    return QByteArray::fromStdString(s);
}

} // namespace

class TestRenumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scan_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("min");
        QTest::addColumn<bool>("zeros");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("defaults") << 10 << 10 << 0 << false
                                  << QByteArray("%\r\nO1000\r\nN1 G0 X0\r\nN2 G1 X5\r\nN3 M30\r\n")
                                  << QByteArray("%\r\nO1000\r\nN10 G0 X0\r\nN20 G1 X5\r\nN30 M30\r\n");
        QTest::newRow("lines without N stay so")
            << 10 << 10 << 0 << false << QByteArray("N5 X1\r\nX2\r\nN7 X3")
            << QByteArray("N10 X1\r\nX2\r\nN20 X3");
        QTest::newRow("zeros") << 10 << 10 << 0 << true << QByteArray("N1\nN2\n")
                               << QByteArray("N0010\nN0020\n");
        QTest::newRow("zeros to 1000")
            << 990 << 10 << 0 << true << QByteArray("N1 N2") << QByteArray("N0990 N1000");
        QTest::newRow("zeros below ten")
            << 5 << 1 << 0 << true << QByteArray("N1 N2") << QByteArray("N0005 N0006");
        QTest::newRow("first number 0")
            << 0 << 10 << 0 << false << QByteArray("N1 X1\nN2 X2") << QByteArray("N X1\nN10 X2");
        QTest::newRow("first number 0 no zeros padded")
            << 0 << 5 << 0 << true << QByteArray("N1 N2") << QByteArray("N N0005");
        QTest::newRow("minimum") << 10 << 10 << 100 << false << QByteArray("N50 N90 N100 N110 N99")
                                 << QByteArray("N50 N90 N10 N20 N99");
        QTest::newRow("restart after O") << 10 << 10 << 0 << false << QByteArray("O1\nN5\nN6\nO2\nN7\nN8")
                                         << QByteArray("O1\nN10\nN20\nO2\nN10\nN20");
        QTest::newRow("restart after percent and colon")
            << 10 << 10 << 0 << false << QByteArray("N1 N2\n%\nN3 N4\n:100\nN5")
            << QByteArray("N10 N20\n%\nN10 N20\n:100\nN10");
        QTest::newRow("no restart at OR")
            << 10 << 10 << 0 << false << QByteArray("N1 #1=#2OR#3\nN2") << QByteArray("N10 #1=#2OR#3\nN20");
        QTest::newRow("word stops at G")
            << 10 << 10 << 0 << false << QByteArray("N10G01X5") << QByteArray("N10G01X5");
        QTest::newRow("decimal number")
            << 100 << 10 << 0 << false << QByteArray("N10.5 X1") << QByteArray("N100 X1");
        QTest::newRow("keywords starting with N left alone")
            << 10 << 10 << 0 << false << QByteArray("N1 IF[#1NE2]GOTO5\nNOT NAME\nN2")
            << QByteArray("N10 IF[#1NE2]GOTO5\nNOT NAME\nN20");
        QTest::newRow("comment word unchanged")
            << 10 << 10 << 0 << false << QByteArray("(N10 TEXT)\nN5(A)") << QByteArray("(N10 TEXT)\nN10(A)");
        QTest::newRow("glued comment kept")
            << 10 << 10 << 0 << false << QByteArray("N(A) N5\tX1 N6,") << QByteArray("N10(A) N20\tX1 N30,");
        QTest::newRow("N alone is renumbered")
            << 10 << 10 << 0 << false << QByteArray("N X1") << QByteArray("N10 X1");
        QTest::newRow("N alone below minimum")
            << 10 << 10 << 1 << false << QByteArray("N X1") << QByteArray("N X1");
        QTest::newRow("upper-cased") << 10 << 10 << 0 << false << QByteArray("n1 g0 x1 (abc)\xB9")
                                     << QByteArray("N10 G0 X1 (ABC)\xB9");
        QTest::newRow("lf stops word in comment")
            << 10 << 10 << 0 << false << QByteArray("(A\nN1)") << QByteArray("(A\nN10)");
        QTest::newRow("huge old number")
            << 10 << 10 << 9000 << false << QByteArray("N99999999999999") << QByteArray("N10");
        QTest::newRow("empty") << 10 << 10 << 0 << false << QByteArray() << QByteArray();
    }
    void scan() {
        QFETCH(int, first);
        QFETCH(int, step);
        QFETCH(int, min);
        QFETCH(bool, zeros);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const RenumberResult result =
            renumberText(input.toStdString(), RenumberOptions{first, step, min, zeros});
        QCOMPARE(bytes(result.text), expected);
        QCOMPARE(result.changed, !input.isEmpty());
        QCOMPARE(result.rangeLength, std::size_t(0));
    }

    void rangeRenumbersOnlyItsPart_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("resultLength");
        const QByteArray text = "N1 X1\r\nN2 X2\r\nn3 x3\r\nN4 X4";
        QTest::newRow("middle lines") << 7 << 12 << QByteArray("N1 X1\r\nN10 X2\r\nN20 X3\r\nN4 X4") << 14;
        QTest::newRow("last line") << 21 << 5 << QByteArray("N1 X1\r\nN2 X2\r\nn3 x3\r\nN10 X4") << 6;
        QTest::newRow("clamped past end")
            << 21 << 500 << QByteArray("N1 X1\r\nN2 X2\r\nn3 x3\r\nN10 X4") << 6;
        QTest::newRow("empty range") << 7 << 0 << text << 0;
        QTest::newRow("start past end") << 90 << 5 << text << 0;
    }
    void rangeRenumbersOnlyItsPart() {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QByteArray, expected);
        QFETCH(int, resultLength);
        const QByteArray text = "N1 X1\r\nN2 X2\r\nn3 x3\r\nN4 X4";
        RenumberOptions options;
        options.scope = RenumberOptions::Scope::Range;
        options.rangeStart = std::size_t(start);
        options.rangeLength = std::size_t(length);
        const RenumberResult result = renumberText(text.toStdString(), options);
        QCOMPARE(bytes(result.text), expected);
        QCOMPARE(result.rangeLength, std::size_t(resultLength));
        QCOMPARE(result.changed, resultLength > 0);
        if (result.changed)
            QCOMPARE(result.rangeStart, std::size_t(start));
    }

    void numbersGrowBeyondThirtyTwoBits() {
        std::string text;
        for (int i = 0; i < 3; ++i)
            text += "N1\n";
        RenumberOptions options = RenumberOptions{2147483600, 100, 0, false};
        QCOMPARE(bytes(renumberBlocks(text, options)), QByteArray("N2147483600\nN2147483700\nN2147483800\n"));
    }

    void widenToWholeLines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("whole");
        const QByteArray t = "N1 X1\r\nN2 X2\r\nN3 X3\r\nN4 X4\r\n"; // lines start at 0, 7, 14, 21; size 28
        QTest::newRow("no selection") << t << 9 << 0 << 0 << 0 << false;
        QTest::newRow("mid line to mid line") << t << 9 << 7 << 7 << 12 << false;
        QTest::newRow("inside one line") << t << 8 << 1 << 7 << 5 << false;
        QTest::newRow("ends at start of a line") << t << 2 << 12 << 0 << 19 << false;
        QTest::newRow("ends on the lf of crlf") << t << 2 << 4 << 0 << 5 << false;
        QTest::newRow("everything selected") << t << 0 << 28 << 0 << 28 << true;
        QTest::newRow("all lines, final end not selected") << t << 0 << 26 << 0 << 26 << false;
        QTest::newRow("empty line selected") << QByteArray("A\r\n\r\nB") << 3 << 1 << 3 << 0 << true;
        QTest::newRow("text without final end") << QByteArray("N1\r\nN2") << 1 << 4 << 0 << 6 << true;
        QTest::newRow("lone lf lines") << QByteArray("N1\nN2\nN3\n") << 4 << 2 << 3 << 5 << false;
        QTest::newRow("past the end clamped") << QByteArray("N1\nN2") << 4 << 50 << 3 << 2 << false;
    }
    void widenToWholeLines() {
        QFETCH(QByteArray, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(bool, whole);
        const LineRange r =
            ordalvex::widenToWholeLines(text.toStdString(), std::size_t(selStart), std::size_t(selLength));
        QCOMPARE(int(r.start), start);
        QCOMPARE(int(r.length), length);
        QCOMPARE(r.wholeText, whole);
    }

    void previewRtfIsExact() {
        std::string rtf;
        previewToRtf("%\r\nO1234 (TEST 1)\r\nN10 g01 X-10.5 M03\r\n", rtf);
        std::string highlighterHeader;
        writeRtfHeader(highlighterHeader, "Courier New", 12);
        const std::string colours = highlighterHeader.substr(highlighterHeader.find("{\\colortbl"),
                                                             highlighterHeader.find("\\deflang") -
                                                                 highlighterHeader.find("{\\colortbl"));
        const std::string expected =
            std::string(
                "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans "
                "Serif;}{\\f1\\froman\\fcharset2 "
                "Symbol;}{\\f2\\fmodern\\fcharset238{\\*\\fname Courier New;}Courier New CE;}{\\f3\\fmodern"
                "\\fcharset238{\\*\\fname Courier New;};}}") +
            colours +
            "\\deflang1045\\pard\\plain\\f3\\fs23"
            "\\cf5\\b\\i0 %\\par \\cf5\\b\\i0 O1234 \\cf1\\b0\\i0 (TEST 1)\\par "
            "\\cf3\\b1 N10 \\cf10\\b0\\i0 G01 \\cf10\\b0\\i0 X\\cf10\\b0\\i0 -\\cf10\\b0\\i0 10.5 "
            "\\cf10\\b0\\i0 M03\\par \\par }";
        QCOMPARE(bytes(rtf), bytes(expected));
        QVERIFY(colours.starts_with("{\\colortbl ;\\red255\\green0\\blue0;"));
        QVERIFY(colours.ends_with("\\red20\\green128\\blue200;}"));
    }

    void previewStyles_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("sign italic grey")
            << QByteArray("X1;") << QByteArray("\\cf10\\b0\\i0 X1\\cf10\\b0\\i ;");
        QTest::newRow("keyword grey") << QByteArray("IF") << QByteArray("\\cf10\\b0\\i0 IF");
        QTest::newRow("other kept") << QByteArray("\t,\xB9") << QByteArray("\\tab ,\xB9");
        QTest::newRow("escapes") << QByteArray("({\\})") << QByteArray("\\cf1\\b0\\i0 (\\{\\\\\\})");
        QTest::newRow("leading space delimited") << QByteArray(" N1") << QByteArray("  \\cf3\\b1 N1");
        QTest::newRow("lf is a line end")
            << QByteArray("N1\nN2") << QByteArray("\\cf3\\b1 N1\\par \\cf3\\b1 N2");
    }
    void previewStyles() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, body);
        std::string rtf;
        previewToRtf(input.toStdString(), rtf);
        const QByteArray all = bytes(rtf);
        const QByteArray prefix = "\\fs23";
        const qsizetype at = all.indexOf(prefix) + prefix.size();
        QCOMPARE(all.mid(at), body + "\\par }");
    }

    void previewReadsBackAsTheUpperCasedText() {
        const std::string text = "%\r\nn1 g0 x1 (a{b}\\)\r\n\tN2,Y2\r\n";
        std::string rtf;
        int yields = 0;
        previewToRtf(text, rtf, [&yields] { ++yields; });
        const RtfReadResult read = readRtf(rtf);
        QVERIFY(read.document.has_value());
        QCOMPARE(read.document->text, QString("%\nN1 G0 X1 (A{B}\\)\n\tN2,Y2\n"));
        QCOMPARE(yields, 0);
        // Block numbers are the only bold words besides program numbers.
        bool sawBoldNavy = false;
        for (const RtfRun& run : read.document->runs) {
            const RtfCharFormat& f = read.document->formats[run.format];
            const QString piece = read.document->text.mid(run.start, run.length);
            if (f.bold && f.colour == 3) {
                QVERIFY2(piece.startsWith('N'), qPrintable(piece));
                sawBoldNavy = true;
            }
        }
        QVERIFY(sawBoldNavy);
    }

    void previewYieldsDuringLongTexts() {
        std::string text;
        for (int i = 0; i < 5000; ++i)
            text += "N1 G1 X2\r\n";
        int yields = 0;
        std::string rtf;
        previewToRtf(text, rtf, [&yields] { ++yields; });
        QVERIFY(yields >= 5);
    }
};

QTEST_GUILESS_MAIN(TestRenumber)
#include "test_renumber.moc"
