#include "common/core/codepage.h"
#include "document/core/cnctokenizer.h"
#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"
#include "testdata.h"

#include <QDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

std::string rtfOf(std::string_view text, std::string_view font = "Courier New", int size = 12) {
    std::string out;
    highlightToRtf(text, out, font, size);
    return out;
}

// The part of the RTF after the header, colour table and font size.
QByteArray body(std::string_view text) {
    std::string header;
    writeRtfHeader(header, "Courier New", 12);
    const std::string rtf = rtfOf(text);
    return QByteArray::fromStdString(rtf.substr(header.size()));
}

// "CLASS:text" per token, for checking the word rules without RTF noise.
QString tokens(std::string_view text) {
    static const char* names[] = {"KW",  "PN", "CM",  "NUM", "G",  "M",  "FS",  "DHT",
                                  "#@R", "N",  "ADR", "OP",  "SG", "SP", "EOL", "OTH"};
    QStringList list;
    CncTokenizer tokenizer(text);
    Token t;
    while (tokenizer.next(t))
        list << QString::fromLatin1(names[int(t.cls)]) + QLatin1Char(':') +
                    QString::fromLatin1(text.substr(t.offset, t.length).data(), qsizetype(t.length));
    return list.join(QLatin1Char(' '));
}

// What the editor shows for a program: its bytes upper-cased (a-z only), every line end one
// '\n', decoded from Windows-1250.
QString expectedShownText(const QByteArray& bytes) {
    QByteArray upper = bytes;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    QString text = cp1250::decode(std::string_view(upper.constData(), size_t(upper.size())));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

class TestHighlighter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExample() {
        QCOMPARE(
            body("%\r\nO1234 (TEST 1)\r\nN10 G01 X-10.5 M03\r\n"),
            QByteArray("\\cf5\\b\\i0 %\\par \\cf5\\b\\i0 O1234 \\cf1\\b0\\i0 (TEST 1)\\par \\cf10\\b0 N10 "
                       "\\cf2\\b0\\i0 G01 \\cf0\\b0\\i0 X\\cf6\\b0\\i0 -\\cf0\\b0\\i0 10.5 \\cf16\\b0\\i0 "
                       "M03\\par \\par }"));
    }

    void headerAndFontSize() {
        const std::string empty = rtfOf("", "Arial", 10);
        QCOMPARE(
            QByteArray::fromStdString(empty),
            QByteArray(
                "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans "
                "Serif;}{\\f1\\froman\\fcharset2 "
                "Symbol;}{\\f2\\fmodern\\fcharset238{\\*\\fname Courier New;}Courier New CE;}{\\f3\\fmodern"
                "\\fcharset238{\\*\\fname Arial;}Arial;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0"
                "\\blue255;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red0\\green0\\blue0;\\red128"
                "\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green0\\blue128;"
                "\\red0\\green128\\blue128;"
                "\\red128\\green128\\blue128;\\red192\\green192\\blue192;\\red0\\green255\\blue0;\\red255"
                "\\green255\\blue0;\\red255\\green0\\blue255;\\red0\\green255\\blue255;\\red20\\green128"
                "\\blue200;}\\deflang1045\\pard\\plain\\f3\\fs20\\par }"));
        QVERIFY(rtfOf("", "X", 0).find("\\fs0\\par }") != std::string::npos);
    }

    void wordRules_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("words split after a digit")
            << QByteArray("N10G01X5F100") << "N:N10 G:G01 ADR:X5 FS:F100";
        QTest::newRow("keywords stay whole") << QByteArray("GOTO10 IF") << "KW:GOTO10 SP:  KW:IF";
        QTest::newRow("signed number") << QByteArray("X-10.5") << "ADR:X OP:- NUM:10.5";
        QTest::newRow("macro line") << QByteArray("IF[#1EQ2]GOTO10")
                                    << "KW:IF OP:[ #@R:#1 KW:EQ2 OP:] KW:GOTO10";
        QTest::newRow("program number then comment") << QByteArray("O1234(ABC)") << "PN:O1234 CM:(ABC)";
        QTest::newRow("percent comment is one word") << QByteArray("%(ABC)") << "PN:%(ABC)";
        QTest::newRow("comment runs on after its bracket") << QByteArray("(A)X10") << "CM:(A)X10";
        QTest::newRow("digit in comment counts") << QByteArray("(T1)X5") << "CM:(T1) ADR:X5";
        QTest::newRow("address then comment") << QByteArray("X10(A)") << "ADR:X10 CM:(A)";
        QTest::newRow("lower case classed as upper") << QByteArray("g1x2") << "G:g1 ADR:x2";
        QTest::newRow("comment ends at line end") << QByteArray("(A B\r\nN1") << "CM:(A B EOL:\r\n N:N1";
        QTest::newRow("lone LF ends a word") << QByteArray("X1\nY2") << "ADR:X1 EOL:\n ADR:Y2";
        QTest::newRow("lone CR ends a word") << QByteArray("X1\rY2") << "ADR:X1 EOL:\r ADR:Y2";
        QTest::newRow("sign stops a word") << QByteArray("X1!Y") << "ADR:X1 SG:! ADR:Y";
        QTest::newRow("other characters are single tokens") << QByteArray(")_,") << "OTH:) OTH:_ OTH:,";
        QTest::newRow("ctrl-z stops a word") << QByteArray("X1\x1aY") << "ADR:X1 OTH:\x1a ADR:Y";
        QTest::newRow("first two letters make a keyword")
            << QByteArray("TEIL OR NE3 O12 :5") << "KW:TEIL SP:  KW:OR SP:  KW:NE3 SP:  PN:O12 SP:  PN::5";
        QTest::newRow("address classes") << QByteArray("D1 H2 T3 S4 F5 M6 R7 @8 #9 N0 A1 .5")
                                         << "DHT:D1 SP:  DHT:H2 SP:  DHT:T3 SP:  FS:S4 SP:  FS:F5 SP:  M:M6 "
                                            "SP:  #@R:R7 SP:  #@R:@8 SP:  #@R:#9 "
                                            "SP:  N:N0 SP:  ADR:A1 SP:  NUM:.5";
    }
    void wordRules() {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QCOMPARE(tokens(std::string_view(text.constData(), size_t(text.size()))), expected);
    }

    void charactersThatNeedCare_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("escapes in comment and signs")
            << QByteArray("(A\\{}) \\")
            << QByteArray("\\cf1\\b0\\i0 (A\\\\\\{\\}) \\cf14\\b0\\i \\\\\\par }");
        QTest::newRow("leading space keeps a delimiter")
            << QByteArray(" X1") << QByteArray("  \\cf0\\b0\\i0 X1\\par }");
        QTest::newRow("tab token") << QByteArray("\tX") << QByteArray("\\tab \\cf0\\b0\\i0 X\\par }");
        QTest::newRow("8-bit bytes kept") << QByteArray("\xa3\xb3") << QByteArray("\xa3\xb3\\par }");
        QTest::newRow("final percent shown")
            << QByteArray("M30\r\n%") << QByteArray("\\cf16\\b0\\i0 M30\\par \\cf5\\b\\i0 %\\par }");
    }
    void charactersThatNeedCare() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(body(std::string_view(text.constData(), size_t(text.size()))), expected);
    }

    // The reference files hold the tool's exact output for each sample input.
    void referenceFiles_data() {
        QTest::addColumn<QString>("path");
        const QDir inputs(testDataDir() + QStringLiteral("/input"));
        const QStringList names = inputs.entryList({QStringLiteral("*.nc")}, QDir::Files);
        QVERIFY2(!names.isEmpty(), qPrintable(inputs.path()));
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << inputs.filePath(name);
    }
    void referenceFiles() {
        QFETCH(QString, path);
        const QByteArray input = readFile(path);
        const QString referencePath = testDataDir() + QStringLiteral("/reference/") +
                                      QFileInfo(path).completeBaseName() + QStringLiteral(".rtf");
        QVERIFY2(QFile::exists(referencePath), qPrintable(referencePath));
        const QByteArray expected = readFile(referencePath);
        const QByteArray actual =
            QByteArray::fromStdString(rtfOf(std::string_view(input.constData(), size_t(input.size()))));
        QVERIFY2(actual == expected, qPrintable(describeDifference(expected, actual)));
    }

    // Reading the RTF back gives every character of the program, upper-cased.
    void roundTripKeepsEveryCharacter_data() {
        QTest::addColumn<QString>("path");
        const QDir inputs(testDataDir() + QStringLiteral("/input"));
        QStringList files;
        for (const QString& name : inputs.entryList({QStringLiteral("*.nc")}, QDir::Files))
            files << inputs.filePath(name);
        QVERIFY2(!files.isEmpty(), qPrintable(inputs.path()));
        if (corpusDir().isEmpty())
            qInfo("corpus folder absent: checked the bundled inputs only");
        addFileRows(files + corpusFiles());
    }
    void roundTripKeepsEveryCharacter() {
        QFETCH(QString, path);
        const QByteArray input = readFile(path);
        const std::string rtf = rtfOf(std::string_view(input.constData(), size_t(input.size())));
        const RtfReadResult read = readRtf(rtf);
        QVERIFY(read.document.has_value());
        const QString expected = expectedShownText(input);
        if (read.document->text != expected) {
            qsizetype at = 0;
            while (at < expected.size() && at < read.document->text.size() &&
                   read.document->text[at] == expected[at])
                ++at;
            QFAIL(qPrintable(QStringLiteral("differs at character %1").arg(at)));
        }
    }
};

QTEST_APPLESS_MAIN(TestHighlighter)
#include "test_highlighter.moc"
