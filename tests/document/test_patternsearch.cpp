#include "document/core/patternsearch.h"
#include "document/core/programname.h"

#include <limits>

#include <QTest>

using namespace ordalvex;

namespace {
constexpr int kNone = -1;
}

class TestPatternSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void search_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("expected");
        const int down = frDown;
        QTest::newRow("digits wildcard matches a program number")
            << QByteArray("%\r\nO0010\r\n") << 0 << 0 << QByteArray("O$$$$") << down << 3;
        QTest::newRow("digits wildcard refuses a letter")
            << QByteArray("O12A4") << 0 << 0 << QByteArray("O$$$$") << down << kNone;
        QTest::newRow("digits wildcard refuses a line end")
            << QByteArray("O123\r\n") << 0 << 0 << QByteArray("O$$$$") << down << kNone;
        QTest::newRow("question mark matches a line end")
            << QByteArray("A\r\nB") << 0 << 0 << QByteArray("A?") << down << 0;
        QTest::newRow("case folded both ways")
            << QByteArray("o0010") << 0 << 0 << QByteArray("O$$$$") << down << 0;
        QTest::newRow("lower-case pattern finds upper text")
            << QByteArray("N10 G01") << 0 << 0 << QByteArray("g01") << down << 4;
        QTest::newRow("polish letters folded")
            << QByteArray("(WA\xa3\x45K)") << 0 << 0 << QByteArray("wa\xb3\x65k") << down << 1;
        QTest::newRow("match case keeps case apart")
            << QByteArray("g01 G01") << 0 << 0 << QByteArray("G01") << int(frDown | frMatchCase) << 4;
        QTest::newRow("forward starts after the selection")
            << QByteArray("0123456789ABCDEFGHIJ") << 10 << 3 << QByteArray("B") << down << kNone;
        QTest::newRow("forward finds after the selection")
            << QByteArray("0123456789ABCDEFGHIJ") << 10 << 3 << QByteArray("D") << down << 13;
        QTest::newRow("overlapping the selection is skipped")
            << QByteArray("XXXXXXXXXXABCDXXXXX") << 10 << 3 << QByteArray("CD") << down << kNone;
        QTest::newRow("backward ends before the selection")
            << QByteArray("X1 X1 X1") << 6 << 0 << QByteArray("X1") << 0 << 3;
        QTest::newRow("backward reaches position 0")
            << QByteArray("X1 Y2") << 3 << 0 << QByteArray("X1") << 0 << 0;
        QTest::newRow("backward match ends before the selection")
            << QByteArray("AB") << 1 << 0 << QByteArray("?B") << 0 << kNone;
        QTest::newRow("no match past the end for a final wildcard")
            << QByteArray("X1") << 0 << 0 << QByteArray("X1?") << down << kNone;
        QTest::newRow("no match past the end for a final digit wildcard")
            << QByteArray("X1") << 0 << 0 << QByteArray("1$") << down << kNone;
        QTest::newRow("last possible position")
            << QByteArray("ABCX1") << 0 << 0 << QByteArray("X?") << down << 3;
        QTest::newRow("empty pattern") << QByteArray("ABC") << 0 << 0 << QByteArray("") << down << kNone;
        QTest::newRow("empty text") << QByteArray("") << 0 << 0 << QByteArray("A") << down << kNone;
        QTest::newRow("selection beyond the end")
            << QByteArray("ABC") << 5 << 0 << QByteArray("A") << down << kNone;
        const int whole = frDown | frWholeWord;
        QTest::newRow("whole word never matches the first word from 0")
            << QByteArray("X10 X10") << 0 << 0 << QByteArray("X10") << whole << 4;
        QTest::newRow("whole word not inside a longer number")
            << QByteArray("A X100 X10.5 X10 B") << 0 << 0 << QByteArray("X10") << whole << 13;
        QTest::newRow("whole word at the end of the text")
            << QByteArray("A X10") << 0 << 0 << QByteArray("X10") << whole << 2;
        QTest::newRow("whole word backward skips a longer word")
            << QByteArray("Y X10 X100 Z") << 11 << 0 << QByteArray("X10") << int(frWholeWord) << 2;
    }
    void search() {
        QFETCH(QByteArray, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QByteArray, pattern);
        QFETCH(int, options);
        QFETCH(int, expected);
        const auto found =
            SearchBuffer(std::string_view(text.constData(), size_t(text.size())), selStart, selLength,
                         std::string_view(pattern.constData(), size_t(pattern.size())), unsigned(options));
        QCOMPARE(found ? int(*found) : kNone, expected);
    }

    // Selections no editor can hold find nothing, without overflowing (checked in the
    // sanitizer build); ordinary ones next to them still search.
    void selectionsAtTheLimitsFindNothing() {
        constexpr auto most = std::numeric_limits<std::ptrdiff_t>::max();
        constexpr auto least = std::numeric_limits<std::ptrdiff_t>::min();
        const std::string_view text = "N10 G01 X5";
        QVERIFY(!SearchBuffer(text, most, most, "G01", frDown));
        QVERIFY(!SearchBuffer(text, most, 1, "G01", frDown));
        QVERIFY(!SearchBuffer(text, least, least, "G01", frDown));
        QVERIFY(!SearchBuffer(text, least, 0, "G01", frDown));
        QVERIFY(!SearchBuffer(text, least, 0, "G01", 0));
        QVERIFY(!SearchBuffer(text, most, 0, "G01", 0));
        QCOMPARE(SearchBuffer(text, 0, 0, "G01", frDown), std::optional<std::size_t>(4));
        QCOMPARE(SearchBuffer(text, 10, 0, "G01", 0), std::optional<std::size_t>(4));
    }

    void longTextIsSearchedWhole() {
        std::string text(200000, 'X');
        text += "O4321";
        const auto found = SearchBuffer(text, 0, 0, "O$$$$", frDown);
        QVERIFY(found.has_value());
        QCOMPARE(*found, std::size_t(200000));
        const auto back = SearchBuffer(text, std::ptrdiff_t(text.size()), 0, "O4321", 0);
        QVERIFY(back.has_value());
        QCOMPARE(*back, std::size_t(200000));
    }

    void programName_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected"); // "-" when no name is found
        QTest::newRow("comment after the percent")
            << QByteArray("%\r\nO0010 (WALEK FI 20)\r\n") << "WALEK FI 20";
        QTest::newRow("TEIL colon wins over an earlier comment")
            << QByteArray("(FIRST)\r\n(TEIL : ABC)\r\n") << " ABC";
        QTest::newRow("TEIL without space") << QByteArray("(TEIL:XY)") << "XY";
        QTest::newRow("TEIL found without case") << QByteArray("(teil : abc)") << " abc";
        QTest::newRow("comment before the percent is passed over")
            << QByteArray("(A)\r\n%\r\n(B)\r\n") << "B";
        QTest::newRow("first comment without a percent") << QByteArray("O1 (NAME) (OTHER)") << "NAME";
        QTest::newRow("percent without a comment after it") << QByteArray("(A)\r\n%\r\nN10\r\n") << "-";
        QTest::newRow("nothing to find") << QByteArray("N10 G00 X0\r\n") << "-";
        QTest::newRow("cut to 28 characters")
            << QByteArray("(ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789)") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ01";
        QTest::newRow("no closing bracket runs to the end") << QByteArray("%\r\n(OPEN NAME") << "OPEN NAME";
        QTest::newRow("name over a line end") << QByteArray("(TWO\r\nLINES)") << "TWO\r\nLINES";
    }
    void programName() {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        const std::string_view view(text.constData(), size_t(text.size()));
        const auto span = findProgramName(view);
        const QString name =
            span ? QString::fromLatin1(view.substr(span->start, span->length).data(), qsizetype(span->length))
                 : QStringLiteral("-");
        QCOMPARE(name, expected);
    }
};

QTEST_APPLESS_MAIN(TestPatternSearch)
#include "test_patternsearch.moc"
