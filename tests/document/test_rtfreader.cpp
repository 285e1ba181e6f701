#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"

#include <QTest>

using namespace ordalvex;

namespace {

RtfDocument read(std::string_view rtf) {
    RtfReadResult result = readRtf(rtf);
    if (!result.document)
        qFatal("not read: %s", qPrintable(result.error));
    return *result.document;
}

// "text|colour,bold,italic" per run.
QStringList runs(const RtfDocument& doc) {
    QStringList list;
    for (const RtfRun& run : doc.runs) {
        const RtfCharFormat& f = doc.formats[run.format];
        list << doc.text.mid(run.start, run.length) +
                    QStringLiteral("|%1,%2,%3").arg(f.colour).arg(int(f.bold)).arg(int(f.italic));
    }
    return list;
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsWhatTheHighlighterWrites() {
        std::string rtf;
        highlightToRtf("%\r\nO1234 (TEST 1)\r\nN10 G01 X-10.5\r\n", rtf, "Courier New", 10);
        const RtfDocument doc = read(rtf);
        QCOMPARE(doc.text, QStringLiteral("%\nO1234 (TEST 1)\nN10 G01 X-10.5\n"));
        QCOMPARE(runs(doc), QStringList({"%\nO1234 |5,1,0", "(TEST 1)\n|1,0,0", "N10 |10,0,0", "G01 |2,0,0",
                                         "X|0,0,0", "-|6,0,0", "10.5\n|0,0,0"}));
        QCOMPARE(doc.colours.size(), std::size_t(17));
        QVERIFY(doc.colours[0].isAuto);
        QCOMPARE(int(doc.colours[16].red), 20);
        QCOMPARE(int(doc.colours[16].blue), 200);
        QCOMPARE(doc.fonts.at(3), QStringLiteral("Courier New"));
        QCOMPARE(doc.formats.front().halfPoints, 20);
        QCOMPARE(doc.formats.front().font, 3);
    }

    void textForms_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("escaped brackets and backslash") << QByteArray("{\\rtf1 a\\\\b\\{c\\}}") << "a\\b{c}";
        QTest::newRow("hex escape is Windows-1250") << QByteArray("{\\rtf1 \\'a3\\'f3d\\'9f}") << "Łódź";
        QTest::newRow("8-bit text is Windows-1250") << QByteArray("{\\rtf1 \xa5\xb9}") << "Ąą";
        QTest::newRow("unicode with fallback")
            << QByteArray("{\\rtf1 \\u937?x\\uc2\\u8364\\'80\\'80y}") << QString::fromUtf8("Ωx€y");
        QTest::newRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}") << "a\tb\nc";
        QTest::newRow("delimiter space swallowed once") << QByteArray("{\\rtf1\\b  x}") << " x";
        QTest::newRow("raw line breaks ignored") << QByteArray("{\\rtf1 a\r\nb}") << "ab";
        QTest::newRow("unknown words ignored") << QByteArray("{\\rtf1\\foo12\\bar a\\baz-3 b}") << "ab";
        QTest::newRow("starred destination skipped")
            << QByteArray("{\\rtf1{\\*\\generator Something 1.0;}a}") << "a";
        QTest::newRow("known destinations skipped")
            << QByteArray("{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 N;}}a}") << "a";
        QTest::newRow("final paragraph mark dropped") << QByteArray("{\\rtf1 a\\par b\\par }") << "a\nb";
        QTest::newRow("empty paragraph kept before the final one")
            << QByteArray("{\\rtf1 a\\par \\par }") << "a\n";
        QTest::newRow("text after the end ignored") << QByteArray("{\\rtf1 a}junk") << "a";
        QTest::newRow("unterminated document") << QByteArray("{\\rtf1 a{\\b b") << "ab";
        QTest::newRow("truncated hex escape") << QByteArray("{\\rtf1 a\\'4") << "a";
    }
    void textForms() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(read(std::string_view(rtf.constData(), size_t(rtf.size()))).text, text);
    }

    void groupsRestoreFormatting() {
        const RtfDocument doc = read("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}a{\\b\\i\\cf1 b}c\\plain d}");
        QCOMPARE(runs(doc), QStringList({"a|0,0,0", "b|1,1,1", "cd|0,0,0"}));
        QCOMPARE(int(doc.colours[1].green), 2);
    }

    void refusesNonRtf() {
        const RtfReadResult result = readRtf("N10 G00");
        QVERIFY(!result.document);
        QVERIFY(!result.error.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestRtfReader)
#include "test_rtfreader.moc"
