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
    QList<QPair<QString, std::string>> m_programs;

private Q_SLOTS:
    void initTestCase() {
        if (testing::corpusDir().isEmpty())
            QSKIP("no corpus of real programs on this machine");
        for (const QString& path : testing::corpusFiles())
            m_programs.append({path, testing::readFile(path).toStdString()});
        QVERIFY(!m_programs.isEmpty());
    }

    void decimalPointsOnlyAddPointsAfterNumbers() {
        for (const auto& [path, text] : m_programs) {
            const std::string out = insertDecimalPoints(text, "ABCRXYZ");
            QVERIFY2(onlyInserted(text, out, '.'), qPrintable(path));
            QVERIFY2(out.size() <= 2 * text.size(), qPrintable(path));
            // No digit run is ever split by a new point.
            std::size_t i = 0;
            for (std::size_t o = 0; o < out.size(); ++o) {
                if (i < text.size() && text[i] == out[o]) {
                    ++i;
                    continue;
                }
                QVERIFY2(o + 1 == out.size() || !(out[o + 1] >= '0' && out[o + 1] <= '9'), qPrintable(path));
            }
        }
    }

    void insertSpacesOnlyAddsSpacesThatRemoveSpacesTakesAway() {
        for (const auto& [path, text] : m_programs) {
            const std::string spaced = insertSpaces(text);
            QVERIFY2(onlyInserted(text, spaced, ' '), qPrintable(path));
            QVERIFY2(spaced.size() <= 2 * text.size(), qPrintable(path));
            if (commentsCloseOnTheirLine(text))
                QVERIFY2(removeSpaces(spaced) == removeSpaces(text), qPrintable(path));
        }
    }

    void removeSpacesDropsOnlyBlanksAndEmptyLines() {
        for (const auto& [path, text] : m_programs) {
            if (!commentsCloseOnTheirLine(text))
                continue;
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
            QVERIFY2(printableIn == printableOut, qPrintable(path));
            QVERIFY2(countLineEnds(squeezed) <= countLineEnds(text), qPrintable(path));
        }
    }

    void renumberingIsStableAndKeepsTheLines() {
        for (const auto& [path, text] : m_programs) {
            RenumberOptions options;
            const std::string once = renumberText(text, options).text;
            QVERIFY2(renumberText(once, options).text == once, qPrintable(path));
            QCOMPARE(countLineEnds(once), countLineEnds(text));
            QCOMPARE(countBlockNumbers(once), countBlockNumbers(renumberBlocks(text, options)));
            std::string upper(text);
            for (char& c : upper)
                c = char(CncTokenizer::upper(static_cast<unsigned char>(c)));
            QCOMPARE(countBlockNumbers(once), countBlockNumbers(upper));
        }
    }

    void literalJumpsStillReachTheirBlocks() {
        std::size_t programs = 0, checked = 0;
        for (const auto& [path, text] : m_programs) {
            std::string upper(text);
            for (char& c : upper)
                c = char(CncTokenizer::upper(static_cast<unsigned char>(c)));
            if (upper.find("GOTO") == std::string::npos)
                continue;
            ++programs;
            const std::string out = renumberText(text, RenumberOptions()).text;
            const std::vector<Jump> before = findJumps(upper), after = findJumps(out);
            QVERIFY2(after.size() == before.size(), qPrintable(path));
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
            for (std::size_t i = 0; i < before.size(); ++i) {
                if (before[i].kind != Jump::Kind::Literal)
                    continue;
                const BlockAt* target = only(oldBlocks, before[i].section, before[i].value);
                if (!target)
                    continue;
                const QByteArray where =
                    (path + QStringLiteral(": jump in line %1").arg(before[i].line)).toUtf8();
                QVERIFY2(after[i].kind == Jump::Kind::Literal, where.constData());
                const BlockAt* reached = only(newBlocks, after[i].section, after[i].value);
                QVERIFY2(reached, where.constData());
                QVERIFY2(reached->line == target->line, where.constData());
                QVERIFY2(newLines[reached->line - 1] == oldLines[target->line - 1], where.constData());
                ++checked;
            }
        }
        if (programs == 0)
            QSKIP("no program of the corpus jumps");
        if (checked == 0)
            QSKIP("no jump of the corpus names exactly one block");
        qInfo("%zu jumps in %zu programs reach their blocks", checked, programs);
    }
};

QTEST_GUILESS_MAIN(TestToolsCorpus)
#include "test_toolscorpus.moc"
