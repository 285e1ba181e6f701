#include "document/core/cnctokenizer.h"
#include "testdata.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/jumps.h"
#include "tools/core/renumber.h"
#include "tools/core/spacing.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <QTest>

using namespace ordalvex;

namespace {

// True when `out` is `in` with some bytes equal to `added` inserted, and nothing else changed.
bool onlyInserted(std::string_view in, std::string_view out, char added) {
    std::size_t i = 0;
    for (char c : out) {
        if (i < in.size() && in[i] == c)
            ++i;
        else if (c != added)
            return false;
    }
    return i == in.size();
}

// Whether every "(" closes before the end of its line (then the comment rules of the two space
// tools agree).
bool commentsCloseOnTheirLine(std::string_view text) {
    bool open = false;
    for (char c : text) {
        if (c == '(')
            open = true;
        else if (c == ')')
            open = false;
        else if ((c == '\r' || c == '\n') && open)
            return false;
    }
    return !open;
}

std::size_t countBlockNumbers(std::string_view text) {
    CncTokenizer tokenizer(text);
    Token token;
    std::size_t count = 0;
    while (tokenizer.next(token))
        count += token.cls == TokenClass::AddressN;
    return count;
}

std::size_t countLineEnds(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++count;
    return count;
}

// A block-number word that is no jump target: its program, line and number.
struct BlockAt {
    std::size_t section = 0;
    std::size_t line = 0;
    long long number = 0;
};

std::vector<BlockAt> blocksOf(std::string_view text, const std::vector<Jump>& jumps) {
    std::vector<std::size_t> targets;
    for (const Jump& jump : jumps)
        if (jump.targetWordOffset != Jump::npos)
            targets.push_back(jump.targetWordOffset);
    std::vector<BlockAt> blocks;
    CncTokenizer tokenizer(text);
    Token token;
    std::size_t section = 0, line = 1;
    while (tokenizer.next(token)) {
        section += token.cls == TokenClass::ProgramNumber;
        line += token.cls == TokenClass::LineEnd;
        if (token.cls != TokenClass::AddressN ||
            std::find(targets.begin(), targets.end(), token.offset) != targets.end())
            continue;
        long long number = 0;
        for (std::size_t i = token.offset + 1;
             i < token.offset + token.length && std::isdigit(uchar(text[i])); ++i)
            number = std::min(number * 10 + (text[i] - '0'), 1LL << 40);
        blocks.push_back({section, line, number});
    }
    return blocks;
}

// The text's lines (split at CR LF, lone CR or lone LF) with every digit removed: what stays
// of a block when its numbers change.
std::vector<std::string> linesWithoutDigits(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else if (!std::isdigit(uchar(text[i]))) {
            lines.back() += text[i];
        }
    }
    return lines;
}

} // namespace

class TestToolsCorpus : public QObject {
    Q_OBJECT

    // One row per program of the corpus, named by its path there.
    static void addPrograms() {
        QTest::addColumn<QString>("path");
        testing::addFileRows(testing::corpusFiles());
    }

private Q_SLOTS:
    void initTestCase() {
        if (testing::corpusDir().isEmpty())
            QSKIP("no corpus of real programs on this machine");
        QVERIFY(!testing::corpusFiles().isEmpty());
    }

    void decimalPointsOnlyAddPointsAfterNumbers_data() { addPrograms(); }
    void decimalPointsOnlyAddPointsAfterNumbers() {
        QFETCH(QString, path);
        const std::string text = testing::readFile(path).toStdString();
        const std::string out = insertDecimalPoints(text, "ABCRXYZ");
        QVERIFY(onlyInserted(text, out, '.'));
        QVERIFY(out.size() <= 2 * text.size());
        // No digit run is ever split by a new point.
        std::size_t i = 0;
        for (std::size_t o = 0; o < out.size(); ++o) {
            if (i < text.size() && text[i] == out[o]) {
                ++i;
                continue;
            }
            QVERIFY2(o + 1 == out.size() || !(out[o + 1] >= '0' && out[o + 1] <= '9'),
                     qPrintable(QStringLiteral("point at %1 splits a number").arg(o)));
        }
    }

    void insertSpacesOnlyAddsSpacesThatRemoveSpacesTakesAway_data() { addPrograms(); }
    void insertSpacesOnlyAddsSpacesThatRemoveSpacesTakesAway() {
        QFETCH(QString, path);
        const std::string text = testing::readFile(path).toStdString();
        const std::string spaced = insertSpaces(text);
        QVERIFY(onlyInserted(text, spaced, ' '));
        QVERIFY(spaced.size() <= 2 * text.size());
        if (commentsCloseOnTheirLine(text))
            QVERIFY(removeSpaces(spaced) == removeSpaces(text));
    }

    void removeSpacesDropsOnlyBlanksAndEmptyLines_data() { addPrograms(); }
    void removeSpacesDropsOnlyBlanksAndEmptyLines() {
        QFETCH(QString, path);
        const std::string text = testing::readFile(path).toStdString();
        if (!commentsCloseOnTheirLine(text))
            QSKIP("a comment runs on past its line, where the comment rules of the space tools differ");
        const std::string squeezed = removeSpaces(text);
        // Outside comments only spaces and line ends may go; inside comments nothing does.
        std::string kept;
        bool inComment = false;
        for (char c : text) {
            if (c == '(')
                inComment = true;
            else if (c == ')')
                inComment = false;
            if (c == ' ' && !inComment)
                continue;
            kept += c;
        }
        std::string printableIn, printableOut;
        for (char c : kept)
            if (c != '\r' && c != '\n')
                printableIn += c;
        for (char c : squeezed)
            if (c != '\r' && c != '\n')
                printableOut += c;
        QVERIFY(printableIn == printableOut);
        QVERIFY(countLineEnds(squeezed) <= countLineEnds(text));
    }

    void renumberingIsStableAndKeepsTheLines_data() { addPrograms(); }
    void renumberingIsStableAndKeepsTheLines() {
        QFETCH(QString, path);
        const std::string text = testing::readFile(path).toStdString();
        RenumberOptions options;
        const std::string once = renumberText(text, options).text;
        QVERIFY(renumberText(once, options).text == once);
        QCOMPARE(countLineEnds(once), countLineEnds(text));
        QCOMPARE(countBlockNumbers(once), countBlockNumbers(renumberBlocks(text, options)));
        std::string upper(text);
        for (char& c : upper)
            c = char(CncTokenizer::upper(static_cast<unsigned char>(c)));
        QCOMPARE(countBlockNumbers(once), countBlockNumbers(upper));
    }

    // Rows only for the programs that jump.
    void literalJumpsStillReachTheirBlocks_data() {
        QTest::addColumn<QString>("path");
        QStringList jumping;
        for (const QString& path : testing::corpusFiles())
            if (testing::readFile(path).toUpper().contains("GOTO"))
                jumping.append(path);
        if (testing::addFileRows(jumping) == 0)
            QSKIP("no program of the corpus jumps");
    }
    void literalJumpsStillReachTheirBlocks() {
        QFETCH(QString, path);
        const std::string text = testing::readFile(path).toStdString();
        std::string upper(text);
        for (char& c : upper)
            c = char(CncTokenizer::upper(static_cast<unsigned char>(c)));
        const std::string out = renumberText(text, RenumberOptions()).text;
        const std::vector<Jump> before = findJumps(upper), after = findJumps(out);
        QCOMPARE(after.size(), before.size());
        const std::vector<BlockAt> oldBlocks = blocksOf(upper, before), newBlocks = blocksOf(out, after);
        const std::vector<std::string> oldLines = linesWithoutDigits(upper),
                                       newLines = linesWithoutDigits(out);
        auto only = [](const std::vector<BlockAt>& blocks, std::size_t section, long long number) {
            const BlockAt* found = nullptr;
            for (const BlockAt& block : blocks) {
                if (block.section != section || block.number != number)
                    continue;
                if (found)
                    return static_cast<const BlockAt*>(nullptr);
                found = &block;
            }
            return found;
        };
        std::size_t checked = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i].kind != Jump::Kind::Literal)
                continue;
            const BlockAt* target = only(oldBlocks, before[i].section, before[i].value);
            if (!target)
                continue;
            const QByteArray where = QStringLiteral("jump in line %1").arg(before[i].line).toUtf8();
            QVERIFY2(after[i].kind == Jump::Kind::Literal, where.constData());
            const BlockAt* reached = only(newBlocks, after[i].section, after[i].value);
            QVERIFY2(reached, where.constData());
            QVERIFY2(reached->line == target->line, where.constData());
            QVERIFY2(newLines[reached->line - 1] == oldLines[target->line - 1], where.constData());
            ++checked;
        }
        if (checked == 0)
            QSKIP("no jump of this program names exactly one block");
    }
};

QTEST_GUILESS_MAIN(TestToolsCorpus)
#include "test_toolscorpus.moc"
