#include "tools/core/jumps.h"
#include "tools/core/renumber.h"

#include <QTest>

using namespace ordalvex;

namespace {

using Lines = QList<int>;

// One jump as "<kind><line>.<section>", then the target as written for literals, then "w" when
// the target is an N word of its own: "L3.0 N20 w", "C1.0", "R2.1".
QString describe(std::string_view text, const Jump& jump) {
    static const char kinds[] = {'L', 'C', 'R'};
    QString out = QStringLiteral("%1%2.%3").arg(kinds[int(jump.kind)]).arg(jump.line).arg(jump.section);
    if (jump.kind == Jump::Kind::Literal) {
        out += ' ';
        if (jump.withN)
            out += 'N';
        out += QString::fromLatin1(text.substr(jump.digitsOffset, jump.digitsLength));
    }
    if (jump.targetWordOffset != Jump::npos)
        out += QStringLiteral(" w");
    return out;
}

Lines toLines(const std::vector<std::size_t>& lines) {
    Lines out;
    for (std::size_t line : lines)
        out.append(int(line));
    return out;
}

} // namespace

class TestJumps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsJumpsAndTheirTargets_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("jumps");
        auto row = [](const char* name, const char* text, QStringList jumps) {
            QTest::newRow(name) << QByteArray(text) << jumps;
        };
        row("bare number glued after a condition", "IF[#1LT5]GOTO20", {"L1.0 20"});
        row("bare number after a space", "GOTO 20", {"L1.0 20"});
        row("N word after forward jump", "GOTOF N40", {"L1.0 N40 w"});
        row("lower case and two spaces", "gotob  n40", {"L1.0 N40 w"});
        row("behind a dollar sign", "$GOTO N20", {"L1.0 N20 w"});
        row("N glued to the keyword", "GOTOFN20", {"L1.0 N20"});
        row("tab glued into the keyword", "GOTOF\tN20", {"L1.0 N20"});
        row("leading zeros kept as written", "GOTOC0020", {"L1.0 0020"});
        row("variable glued", "GOTO#5", {"C1.0"});
        row("expression in brackets", "GOTO[#1+10]", {"C1.0"});
        row("expression after a space", "GOTO [#1+10]", {"C1.0"});
        row("variable after N", "GOTO N#1", {"C1.0 w"});
        row("fraction", "GOTO 20.5", {"C1.0"});
        row("N without digits", "GOTO N", {"C1.0 w"});
        row("number too long to read", "GOTO99999999999", {"C1.0"});
        row("return with P", "M99 P20", {"R1.0"});
        row("return with P glued", "m99p20", {"R1.0"});
        row("return with leading zero", "P20 M099", {"R1.0"});
        row("return without P", "M99", {});
        row("subprogram call", "M98 P20", {});
        row("other M with P", "M990 P1", {});
        row("label word", "GOTO LBL 2", {});
        row("bracketed label", "$GOTO [LABEL_1]", {});
        row("name starting with N", "GOTONAME", {});
        row("named mark", "GOTOF MARKE1", {});
        row("keyword without target", "GOTO", {});
        row("target on the next line is a block", "GOTO\nN20", {});
        row("inside a comment", "(GOTO 20)", {});
        row("other keyword ending in GOTO", "XGOTO20", {});
        row("lines and programs counted", "%\nO1\nN1 GOTO1\nO2\nGOTO 2\nM99 P1 GOTO3",
            {"L3.2 1", "L5.3 2", "L6.3 3", "R6.3"});
        row("every line end counts once", "X\r\nY\rZ\nGOTO1", {"L4.0 1"});
    }
    void findsJumpsAndTheirTargets() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, jumps);
        const std::string source = text.toStdString();
        QStringList found;
        for (const Jump& jump : findJumps(source))
            found.append(describe(source, jump));
        QCOMPARE(found, jumps);
    }

    void renumberingFollowsJumps_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("min");
        QTest::addColumn<bool>("zeros");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<Lines>("unfollowed");
        QTest::newRow("macro loop, return and forward jump")
            << 100 << 10 << 0 << false
            << QByteArray("N10 G0 X0\r\nN20 #1=#1+1\r\nN30 IF[#1LT5]GOTO20\r\nN40 M99 P20\r\nN50 GOTOF "
                          "N20\r\nN60 M30\r\n")
            << QByteArray("N100 G0 X0\r\nN110 #1=#1+1\r\nN120 IF[#1LT5]GOTO110\r\nN130 M99 P20\r\nN140 "
                          "GOTOF N110\r\nN150 M30\r\n")
            << Lines{4};
        QTest::newRow("number after a space") << 10 << 10 << 0 << false << QByteArray("N1 X1\nN2 GOTO 1\n")
                                              << QByteArray("N10 X1\nN20 GOTO 10\n") << Lines{};
        QTest::newRow("target N takes no number of the sequence")
            << 10 << 10 << 0 << false << QByteArray("N1\nGOTOF N1\nN2") << QByteArray("N10\nGOTOF N10\nN20")
            << Lines{};
        QTest::newRow("spaces and dollar kept")
            << 10 << 10 << 0 << false << QByteArray("N5 X1\nN6 GOTOB  N5\n$GOTO N6\n")
            << QByteArray("N10 X1\nN20 GOTOB  N10\n$GOTO N20\n") << Lines{};
        QTest::newRow("glued N and bare C jump")
            << 10 << 10 << 0 << false << QByteArray("N7\nN3\nGOTOFN7 GOTOC3")
            << QByteArray("N10\nN20\nGOTOFN10 GOTOC20") << Lines{};
        QTest::newRow("upper-cased with the rest") << 10 << 10 << 0 << false << QByteArray("n3 x1\ngotof n3")
                                                   << QByteArray("N10 X1\nGOTOF N10") << Lines{};
        QTest::newRow("what follows the target kept")
            << 10 << 10 << 0 << false << QByteArray("N1\nIF[#1LT5]GOTO1(LOOP)")
            << QByteArray("N10\nIF[#1LT5]GOTO10(LOOP)") << Lines{};
        QTest::newRow("computed targets left and reported")
            << 10 << 10 << 0 << false << QByteArray("N1 GOTO#5\nN2 GOTO[#1+10]\nN3 GOTO N#1\nN4 GOTO 2.5")
            << QByteArray("N10 GOTO#5\nN20 GOTO[#1+10]\nN30 GOTO N#1\nN40 GOTO 2.5") << Lines{1, 2, 3, 4};
        QTest::newRow("number on no block")
            << 10 << 10 << 0 << false << QByteArray("N1 GOTO99") << QByteArray("N10 GOTO99") << Lines{1};
        QTest::newRow("number on two blocks") << 10 << 10 << 0 << false << QByteArray("N5\nN5\nGOTO5")
                                              << QByteArray("N10\nN20\nGOTO5") << Lines{3};
        QTest::newRow("return with P, glued or not")
            << 10 << 10 << 0 << false << QByteArray("N1\nM99 P1\nM99P1\nM99\nM98 P1")
            << QByteArray("N10\nM99 P1\nM99P1\nM99\nM98 P1") << Lines{2, 3};
        QTest::newRow("labels are no block numbers")
            << 10 << 10 << 0 << false << QByteArray("GOTO LBL 2\n$GOTO [LABEL_1]\nGOTOF MARKE\nN1")
            << QByteArray("GOTO LBL 2\n$GOTO [LABEL_1]\nGOTOF MARKE\nN10") << Lines{};
        QTest::newRow("keyword at line end leaves next block alone")
            << 10 << 10 << 0 << false << QByteArray("N1 GOTO\nN2") << QByteArray("N10 GOTO\nN20") << Lines{};
        QTest::newRow("comment is no jump")
            << 10 << 10 << 0 << false << QByteArray("(GOTO 5)\nN5") << QByteArray("(GOTO 5)\nN10") << Lines{};
        QTest::newRow("same number in another program")
            << 10 << 10 << 0 << false << QByteArray("O1\nN5\nN6\nO2\nN6\nGOTO6")
            << QByteArray("O1\nN10\nN20\nO2\nN10\nGOTO10") << Lines{};
        QTest::newRow("target only in another program")
            << 10 << 10 << 0 << false << QByteArray("O1\nN7\nO2\nN8\nGOTO7")
            << QByteArray("O1\nN10\nO2\nN10\nGOTO7") << Lines{5};
        QTest::newRow("zeros where the target had them")
            << 10 << 10 << 0 << true << QByteArray("N0020 X1\nGOTO0020\nGOTO20\nGOTOF N020")
            << QByteArray("N0010 X1\nGOTO0010\nGOTO10\nGOTOF N0010") << Lines{};
        QTest::newRow("zeros dropped without the option")
            << 10 << 10 << 0 << false << QByteArray("N0020\nGOTO0020") << QByteArray("N10\nGOTO10")
            << Lines{};
        QTest::newRow("no zeros from a thousand up")
            << 1000 << 10 << 0 << true << QByteArray("N0020\nGOTO0020") << QByteArray("N1000\nGOTO1000")
            << Lines{};
        QTest::newRow("kept block below minimum still reached")
            << 10 << 10 << 100 << false << QByteArray("N50 X1\nN100 X2\nGOTO50")
            << QByteArray("N50 X1\nN10 X2\nGOTO50") << Lines{};
        QTest::newRow("kept block number taken by a renumbered one")
            << 50 << 10 << 100 << false << QByteArray("N50 X1\nN100 X2\nGOTO50")
            << QByteArray("N50 X1\nN50 X2\nGOTO50") << Lines{3};
        QTest::newRow("block renumbered to nothing")
            << 0 << 10 << 0 << false << QByteArray("N5\nGOTO5") << QByteArray("N\nGOTO5") << Lines{2};
        QTest::newRow("block with a fraction")
            << 10 << 10 << 0 << false << QByteArray("N10.5\nGOTO10") << QByteArray("N10\nGOTO10") << Lines{2};
        QTest::newRow("two jumps on one line reported once")
            << 10 << 10 << 0 << false << QByteArray("N1 GOTO7 GOTO8") << QByteArray("N10 GOTO7 GOTO8")
            << Lines{1};
    }
    void renumberingFollowsJumps() {
        QFETCH(int, first);
        QFETCH(int, step);
        QFETCH(int, min);
        QFETCH(bool, zeros);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QFETCH(Lines, unfollowed);
        const RenumberResult result =
            renumberText(input.toStdString(), RenumberOptions{first, step, min, zeros});
        QCOMPARE(QByteArray::fromStdString(result.text), expected);
        QCOMPARE(toLines(result.unfollowedJumpLines), unfollowed);
        // A second pass finds every followed jump on its block again.
        const RenumberResult again = renumberText(result.text, RenumberOptions{first, step, min, zeros});
        QCOMPARE(QByteArray::fromStdString(again.text), expected);
    }

    void rangeRenumberingMovesJumpsEverywhere_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("rangeStart");
        QTest::addColumn<int>("rangeLength");
        QTest::addColumn<Lines>("unfollowed");
        QTest::newRow("jump before the range grows, the range moves")
            << QByteArray("N1 X1\r\nN2 GOTO3\r\nN3 X3\r\nGOTO1\r\n") << 15 << 5
            << QByteArray("N1 X1\r\nN2 GOTO10\r\nN10 X3\r\nGOTO1\r\n") << 16 << 6 << Lines{};
        QTest::newRow("jump after the range keeps its case")
            << QByteArray("n1 x1\r\ngotof n1\r\n") << 0 << 5 << QByteArray("N10 X1\r\ngotof n10\r\n") << 0
            << 6 << Lines{};
        QTest::newRow("jump inside the range to a block outside")
            << QByteArray("N1 X1\r\nN2 GOTO1\r\n") << 7 << 8 << QByteArray("N1 X1\r\nN10 GOTO1\r\n") << 7 << 9
            << Lines{};
        QTest::newRow("block outside the range whose number the range took")
            << QByteArray("N10 X1\r\nN2 GOTO10\r\n") << 8 << 9 << QByteArray("N10 X1\r\nN10 GOTO10\r\n") << 8
            << 10 << Lines{2};
        QTest::newRow("return at the very end after the range")
            << QByteArray("N1\r\nP1 M99") << 0 << 2 << QByteArray("N10\r\nP1 M99") << 0 << 3 << Lines{2};
        QTest::newRow("target word inside the range takes no number")
            << QByteArray("N5\r\nGOTOF N5\r\nN6\r\n") << 0 << 16 << QByteArray("N10\r\nGOTOF N10\r\nN20\r\n")
            << 0 << 19 << Lines{};
    }
    void rangeRenumberingMovesJumpsEverywhere() {
        QFETCH(QByteArray, input);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QByteArray, expected);
        QFETCH(int, rangeStart);
        QFETCH(int, rangeLength);
        QFETCH(Lines, unfollowed);
        RenumberOptions options;
        options.scope = RenumberOptions::Scope::Range;
        options.rangeStart = std::size_t(start);
        options.rangeLength = std::size_t(length);
        const RenumberResult result = renumberText(input.toStdString(), options);
        QCOMPARE(QByteArray::fromStdString(result.text), expected);
        QCOMPARE(int(result.rangeStart), rangeStart);
        QCOMPARE(int(result.rangeLength), rangeLength);
        QCOMPARE(toLines(result.unfollowedJumpLines), unfollowed);
    }

    void warningNamesTheFirstTenLines_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        const QString one = QStringLiteral(
            "Skok w linii 3 pozostawiono bez zmian: jego cel jest obliczany, nie jest numerem dokładnie "
            "jednego przenumerowanego bloku albo jest to powrót M99 P. Sprawdź go.");
        const QString many = QStringLiteral(
            "Skoki w liniach %1 pozostawiono bez zmian: ich cel jest obliczany, nie jest numerem dokładnie "
            "jednego przenumerowanego bloku albo jest to powrót M99 P. Sprawdź je.");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("one") << 1 << one;
        QTest::newRow("three") << 3 << many.arg("3, 6, 9");
        QTest::newRow("ten") << 10 << many.arg("3, 6, 9, 12, 15, 18, 21, 24, 27, 30");
        QTest::newRow("eleven") << 11 << many.arg("3, 6, 9, 12, 15, 18, 21, 24, 27, 30 i w 1 innej");
        QTest::newRow("twenty five") << 25 << many.arg("3, 6, 9, 12, 15, 18, 21, 24, 27, 30 i w 15 innych");
    }
    void warningNamesTheFirstTenLines() {
        QFETCH(int, count);
        QFETCH(QString, expected);
        std::vector<std::size_t> lines;
        for (int i = 1; i <= count; ++i)
            lines.push_back(std::size_t(3 * i));
        QCOMPARE(unfollowedJumpsMessage(lines), expected);
    }
};

QTEST_GUILESS_MAIN(TestJumps)
#include "test_jumps.moc"
