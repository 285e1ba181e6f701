#include "tools/core/decimalpoints.h"
#include "tools/core/spacing.h"

#include <QTest>

using namespace ordalvex;

namespace {

QByteArray bytes(const std::string& s) {
    return QByteArray::fromStdString(s);
}

} // namespace

class TestTextTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addressSetTakesLettersAndEquals_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("set");
        QTest::newRow("default") << QByteArray("A B C R X Y Z") << QByteArray("ABCRXYZ");
        QTest::newRow("equals") << QByteArray("R =") << QByteArray("R=");
        QTest::newRow("lower case counts as capitals") << QByteArray("x y") << QByteArray("XY");
        QTest::newRow("digits and signs ignored") << QByteArray("1,X;-2") << QByteArray("X");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
        QTest::newRow("only spaces") << QByteArray("   ") << QByteArray("");
        QTest::newRow("polish letter ignored") << QByteArray("\xA3 X") << QByteArray("X");
    }
    void addressSetTakesLettersAndEquals() {
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, set);
        QCOMPARE(bytes(addressSetFromList(list.toStdString())), set);
    }

    void decimalPoints_data() {
        QTest::addColumn<QByteArray>("addresses");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray xyz = "ABCRXYZ";
        QTest::newRow("line of words")
            << xyz << QByteArray("G01 X10 Y-5 Z0 F100") << QByteArray("G01 X10. Y-5. Z0. F100");
        QTest::newRow("squeezed") << xyz << QByteArray("G91G28Z0") << QByteArray("G91G28Z0.");
        QTest::newRow("before a comment") << xyz << QByteArray("N10 X10(OK)") << QByteArray("N10 X10.(OK)");
        QTest::newRow("inside a comment") << xyz << QByteArray("(X10)") << QByteArray("(X10)");
        QTest::newRow("lower case") << xyz << QByteArray("x12 y3") << QByteArray("x12. y3.");
        QTest::newRow("repeated minus") << xyz << QByteArray("X--5") << QByteArray("X--5.");
        QTest::newRow("minus alone") << xyz << QByteArray("X-") << QByteArray("X-");
        QTest::newRow("address alone") << xyz << QByteArray("X Y") << QByteArray("X Y");
        QTest::newRow("equals as address")
            << QByteArray("R=") << QByteArray("R1=10") << QByteArray("R1.=10.");
        QTest::newRow("end of text") << xyz << QByteArray("G0 X5") << QByteArray("G0 X5.");
        QTest::newRow("already has point")
            << xyz << QByteArray("X10.5 X.5 Y-5.") << QByteArray("X10.5 X.5 Y-5.");
        QTest::newRow("four digits") << xyz << QByteArray("X1000 Y-12345") << QByteArray("X1000. Y-12345.");
        QTest::newRow("four digits then point") << xyz << QByteArray("X1000.5") << QByteArray("X1000.5");
        QTest::newRow("two addresses glued") << xyz << QByteArray("XY10") << QByteArray("XY10.");
        QTest::newRow("comment ends at line end")
            << xyz << QByteArray("(OPEN X1\r\nX2\nY3\rZ4") << QByteArray("(OPEN X1\r\nX2.\nY3.\rZ4.");
        QTest::newRow("comment then address") << xyz << QByteArray("(A)X1") << QByteArray("(A)X1.");
        QTest::newRow("line ends kept") << xyz << QByteArray("X1\r\nY2\r\n") << QByteArray("X1.\r\nY2.\r\n");
        QTest::newRow("other addresses untouched")
            << QByteArray("X") << QByteArray("Y10 X10") << QByteArray("Y10 X10.");
        QTest::newRow("empty address set") << QByteArray("") << QByteArray("X10") << QByteArray("X10");
        QTest::newRow("empty text") << xyz << QByteArray("") << QByteArray("");
        QTest::newRow("polish bytes kept")
            << xyz << QByteArray("(\xA3\xD3)X1\xB9") << QByteArray("(\xA3\xD3)X1.\xB9");
    }
    void decimalPoints() {
        QFETCH(QByteArray, addresses);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes(insertDecimalPoints(input.toStdString(), addresses.toStdString())), expected);
    }

    void removeSpaces_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("comment keeps spaces")
            << QByteArray("N10 G01 X10 (A B)") << QByteArray("N10G01X10(A B)");
        QTest::newRow("unclosed comment to the end")
            << QByteArray("N1 (A B\r\n\r\nC D\r\n") << QByteArray("N1(A B\r\n\r\nC D\r\n");
        QTest::newRow("closed comment over lines")
            << QByteArray("N1 (A\r\n\r\n B) X 1\r\n\r\nY 2") << QByteArray("N1(A\r\n\r\n B)X1\r\nY2");
        QTest::newRow("crlf kept once") << QByteArray("N1 X1\r\nN2 X2\r\n") << QByteArray("N1X1\r\nN2X2\r\n");
        QTest::newRow("empty lines dropped")
            << QByteArray("N1\r\n\r\n  \r\nN2\r\n \r\n") << QByteArray("N1\r\nN2\r\n");
        QTest::newRow("lone lf") << QByteArray("N1 X1\n\nN2 X2\n") << QByteArray("N1X1\nN2X2\n");
        QTest::newRow("lone cr") << QByteArray("N1 X1\r\rN2\r") << QByteArray("N1X1\rN2\r");
        QTest::newRow("mixed ends") << QByteArray("A\rB\nC\r\nD") << QByteArray("A\rB\nC\r\nD");
        QTest::newRow("leading empty lines") << QByteArray("\r\n\r\nN1") << QByteArray("N1");
        QTest::newRow("last line without end") << QByteArray("N1 X 5") << QByteArray("N1X5");
        QTest::newRow("tab is kept") << QByteArray("N1\tX1 \r\n") << QByteArray("N1\tX1\r\n");
        QTest::newRow("only spaces") << QByteArray("   ") << QByteArray("");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }
    void removeSpaces() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes(ordalvex::removeSpaces(input.toStdString())), expected);
    }

    void insertSpaces_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("squeezed block")
            << QByteArray("N10G01X10Y-20.5F100") << QByteArray("N10 G01 X10 Y-20.5 F100");
        QTest::newRow("relational") << QByteArray("IF[#1EQ2]GOTO10") << QByteArray("IF[#1 EQ 2] GOTO10");
        QTest::newRow("comment after number") << QByteArray("X10(ABC)") << QByteArray("X10 (ABC)");
        QTest::newRow("program number") << QByteArray("O0010(TEST)") << QByteArray("O0010 (TEST)");
        QTest::newRow("points") << QByteArray("X10.Y20.") << QByteArray("X10. Y20.");
        QTest::newRow("expression unchanged") << QByteArray("#1=#2+1") << QByteArray("#1=#2+1");
        QTest::newRow("spaced unchanged") << QByteArray("N10 G01") << QByteArray("N10 G01");
        QTest::newRow("number starting with point") << QByteArray("X.5Y.5") << QByteArray("X.5Y.5");
        QTest::newRow("letters before point") << QByteArray("AB.5") << QByteArray("A B.5");
        QTest::newRow("single letter before point after number")
            << QByteArray("G1X10.Y.5") << QByteArray("G1 X10. Y.5");
        QTest::newRow("lower case") << QByteArray("n10g01x10") << QByteArray("n10g01x10");
        QTest::newRow("crlf lines") << QByteArray("N10G0\r\nN20G1\r\n") << QByteArray("N10 G0\r\nN20 G1\r\n");
        QTest::newRow("lf lines no stray space")
            << QByteArray("N10G0\nN20G1\n") << QByteArray("N10 G0\nN20 G1\n");
        QTest::newRow("cr lines") << QByteArray("N10G0\rN20G1") << QByteArray("N10 G0\rN20 G1");
        QTest::newRow("letters end at line end") << QByteArray("GOTO\nN1") << QByteArray("GOTO\nN1");
        QTest::newRow("unclosed comment ends at lf")
            << QByteArray("N1(ABC\nN2X1") << QByteArray("N1 (ABC\nN2 X1");
        QTest::newRow("after bracket") << QByteArray("#1=[#2]LT3") << QByteArray("#1=[#2] LT 3");
        QTest::newRow("number takes in a sign") << QByteArray("X1;Y2") << QByteArray("X1; Y2");
        QTest::newRow("sign after letter") << QByteArray("X;Y2") << QByteArray("X;Y2");
        QTest::newRow("nul byte kept") << QByteArray("X\0Y2", 4) << QByteArray("X\0Y2", 4);
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }
    void insertSpaces() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const std::string out = ordalvex::insertSpaces(input.toStdString());
        QCOMPARE(bytes(out), expected);
        QVERIFY(out.size() <= 2 * std::size_t(input.size()));
    }

    void nextWordSplitsAsDocumented_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("start gives empty word") << QByteArray("N1") << QStringList{"", "N", "1"};
        QTest::newRow("letters before point") << QByteArray("AB.5") << QStringList{"", "A ", "B", ".5"};
        QTest::newRow("single letter before point") << QByteArray("X.5") << QStringList{"", "", "X", ".5"};
        QTest::newRow("number takes lower case") << QByteArray("1.5ab+") << QStringList{"", "1.5ab", "+"};
        QTest::newRow("comment to close") << QByteArray("(A B)C") << QStringList{"", "(A B)", "C"};
        QTest::newRow("comment to cr") << QByteArray("(A\rB") << QStringList{"", "(A", "\r", "B"};
    }
    void nextWordSplitsAsDocumented() {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, words);
        const std::string text = input.toStdString();
        WordSplitState state;
        std::size_t position = 0;
        QStringList got;
        while (position <= text.size())
            got << QString::fromStdString(nextWord(text, position, state));
        QCOMPARE(got, words);
    }
};

QTEST_GUILESS_MAIN(TestTextTools)
#include "test_texttools.moc"
