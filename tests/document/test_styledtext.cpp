// The text and formats the editor shows: the direct load (tokens to UTF-8 and styles) against
// the highlighter's RTF read back, and the editor's position model over the loaded text.

#include "common/core/codepage.h"
#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"
#include "document/core/styledtext.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "testdata.h"
#include "tools/core/previewrtf.h"

#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

// The format of every byte, so that two texts compare byte by byte.
std::vector<TextFormat> formatsPerByte(const StyledText& text) {
    std::vector<TextFormat> out;
    out.reserve(text.styles.size());
    for (char style : text.styles)
        out.push_back(text.formats[static_cast<unsigned char>(style)]);
    return out;
}

// What the RTF path gives: the RTF written by `write`, read back.
StyledText throughRtf(const std::string& rtf) {
    const RtfReadResult read = readRtf(rtf);
    return read.document ? styledFromRtf(*read.document) : StyledText{};
}

// Compares two styled texts; on a difference names the first byte that differs.
void compareStyled(const StyledText& direct, const StyledText& rtf, const char* what) {
    QVERIFY2(direct.utf8 == rtf.utf8, what);
    const auto a = formatsPerByte(direct);
    const auto b = formatsPerByte(rtf);
    QCOMPARE(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        QVERIFY2(a[i] == b[i], qPrintable(QStringLiteral("%1: format differs at byte %2").arg(what).arg(i)));
}

void compareWithRtfPaths(const QByteArray& bytes, const char* what) {
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    std::string rtf;
    highlightToRtf(text, rtf, "Courier New", 10);
    compareStyled(colouredProgram(text), throughRtf(rtf), what);
    std::string preview;
    previewToRtf(text, preview);
    compareStyled(colouredProgram(text, previewStyleStringFor), throughRtf(preview), what);
}

} // namespace

class TestStyledText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameAsTheRtfPath_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a block") << QByteArray("N10 G01 X-10.5 Y2. F100 M03 S1200 T01 D1 H1 #1=2 R5\r\n");
        QTest::newRow("program numbers and comments")
            << QByteArray("%\r\nO0010 (walek fi 20)\r\n:1234\r\nM30\r\n%");
        QTest::newRow("lone CR and lone LF") << QByteArray("N1 G0\rN2 G1\nN3\r\n\r\rX1");
        QTest::newRow("leading space") << QByteArray("  N10 G01");
        QTest::newRow("italic carried into a block number")
            << QByteArray("X1*N20 G0\r\n"); // the sign's italic stays on the N word
        QTest::newRow("keywords and operators")
            << QByteArray("IF[#1LT5]GOTO20\r\n#2=[#1+1]*2/3\r\nWHILE[#1GE0]DO1");
        QTest::newRow("polish letters") << QByteArray("(\xa3\xd3\xaf\xa5 \xb3\xf3\xbf\xb9) N10\r\n");
        QTest::newRow("tab, comma, apostrophe, bytes above 127")
            << QByteArray("N10\tG01,X1'Y2 \x80\x95\xff\r\n");
        QTest::newRow("unclosed comment over lines") << QByteArray("(ab\r\ncd) N1\r\n(x");
        QTest::newRow("empty") << QByteArray();
    }
    void sameAsTheRtfPath() {
        QFETCH(QByteArray, bytes);
        compareWithRtfPaths(bytes, QTest::currentDataTag());
    }

    void sameAsTheRtfPathOnTheCorpus_data() {
        QTest::addColumn<QString>("path");
        if (addFileRows(corpusFiles()) == 0)
            QSKIP("no corpus of real programs on this machine");
    }
    void sameAsTheRtfPathOnTheCorpus() {
        QFETCH(QString, path);
        compareWithRtfPaths(readFile(path), QTest::currentDataTag());
    }

    void plainTextKeepsEveryByteAndEndsLinesWithCrLf() {
        const QByteArray bytes("n10 g00\nx1\r(\xb3uk)\r\n\x01\x7f");
        const StyledText plain = plainProgram(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        QCOMPARE(QString::fromUtf8(plain.utf8.data(), qsizetype(plain.utf8.size())),
                 QStringLiteral("n10 g00\r\nx1\r\n(łuk)\r\n\x01\x7f"));
        QVERIFY(!plain.ascii);
        for (const TextFormat& f : formatsPerByte(plain))
            QVERIFY(f == TextFormat{});
    }

    // Positions count characters, every line end as two, whatever the line ends of the file
    // and however many bytes a Polish letter takes in the engine's buffer.
    void positionsOverPolishLettersAndEveryLineEnd() {
        ScopedInteraction ui;
        TRichEdit98 editor;
        const QByteArray bytes("(\xa3\xd3\xaf\xa5)\rN10\n(\xbf\xf3\xb3w)\r\nX1");
        editor.setStyledText(colouredProgram(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
        // Words are upper-cased as ASCII; Polish letters keep their case.
        const QString text = QStringLiteral("(ŁÓŻĄ)\r\nN10\r\n(żółW)\r\nX1");
        QCOMPARE(editor.text(), text);
        QCOMPARE(editor.textLength(), text.size());
        QCOMPARE(editor.lineCount(), 4);
        for (qsizetype pos = 0; pos <= text.size(); ++pos) {
            if (pos > 0 && text[pos - 1] == QLatin1Char('\r'))
                continue; // between CR and LF: the end of the line
            const qsizetype length = pos < text.size() && text[pos] == QLatin1Char('\r') ? 2 : 1;
            editor.setSelection(pos, length);
            QCOMPARE(editor.selStart(), pos);
            QCOMPARE(editor.selectedText(), text.mid(pos, length));
        }
        editor.setCaretLineColumn(2, 3);
        QCOMPARE(editor.selStart(), text.indexOf(QStringLiteral("łW")));
        QCOMPARE(editor.caretColumn(), 3);
        QCOMPARE(editor.line(2), QStringLiteral("(żółW)"));
        editor.setSelection(1, 4);
        editor.setSelText(QStringLiteral("ąę"));
        QCOMPARE(editor.text(), QStringLiteral("(ąę)\r\nN10\r\n(żółW)\r\nX1"));
        QCOMPARE(editor.selStart(), qsizetype(3));
        QCOMPARE(editor.formatAt(0).rgb, 0xFF0000u); // the comment's red
        QCOMPARE(editor.formatAt(6).rgb, 0x808080u); // N10 grey, after the two-byte letters
        // The search's bytes are one per position.
        QCOMPARE(editor.textBytes().size(), std::size_t(editor.textLength()));
        QCOMPARE(editor.textBytes().substr(1, 2), std::string("\xb9\xea"));
    }
};

QTEST_MAIN(TestStyledText)
#include "test_styledtext.moc"
