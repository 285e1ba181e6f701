#include "document/core/cnctokenizer.h"
#include "testdata.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/renumber.h"
#include "tools/core/spacing.h"

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
};

QTEST_GUILESS_MAIN(TestToolsCorpus)
#include "test_toolscorpus.moc"
