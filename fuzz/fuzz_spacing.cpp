// Both space tools. insertSpaces adds only spaces, never two together nor beside a space that
// was there; removeSpaces removes only spaces and the line ends of empty lines, both outside
// comments, leaving no space and no empty line outside comments, and is stable on its own
// output. (insertSpaces is not: a character given back before a "." is split off with a
// space, so a second pass may split again.)

#include "fuzzsupport.h"
#include "tools/core/spacing.h"

#include <vector>

using namespace ordalvex;
using namespace ordalvex::fuzzing;

namespace {

void checkInsertSpaces(std::string_view text) {
    const std::string out = insertSpaces(text);
    FUZZ_CHECK(out.size() <= 2 * text.size(), "insertSpaces: at most twice the text");
    std::vector<bool> added(out.size(), false);
    std::size_t i = 0;
    for (std::size_t j = 0; j < out.size(); ++j) {
        if (i < text.size() && out[j] == text[i]) {
            ++i;
            continue;
        }
        FUZZ_CHECK(out[j] == ' ', "insertSpaces adds only spaces");
        added[j] = true;
    }
    FUZZ_CHECK(i == text.size(), "insertSpaces keeps every byte");
    for (std::size_t j = 0; j < out.size(); ++j) {
        if (!added[j])
            continue;
        FUZZ_CHECK(j > 0 && out[j - 1] != ' ', "an added space never follows a space");
        FUZZ_CHECK(j + 1 < out.size() && out[j + 1] != ' ', "an added space never precedes a space");
    }
}

// Outside comments: a line end is CR LF, a lone CR or a lone LF; a comment runs from "(" to
// ")" or the end of the text, over line ends.
void checkRemoveSpaces(std::string_view text) {
    const std::string out = removeSpaces(text);
    FUZZ_CHECK(out.size() <= text.size(), "removeSpaces never lengthens the text");

    // Lines of the input that hold something besides spaces keep their line end.
    std::size_t keptLineEnds = 0;
    bool inComment = false, lineHasText = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (inComment) {
            inComment = c != ')';
            continue;
        }
        if (c == '(') {
            inComment = lineHasText = true;
        } else if (isLineEnd(c)) {
            if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n')
                ++k;
            keptLineEnds += lineHasText ? 1 : 0;
            lineHasText = false;
        } else if (c != ' ') {
            lineHasText = true;
        }
    }

    // Walk input and output together: a dropped byte is a space or a line end, outside comments.
    std::size_t j = 0;
    inComment = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (j < out.size() && out[j] == text[k]) {
            ++j;
        } else {
            FUZZ_CHECK(!inComment, "removeSpaces changes nothing inside a comment");
            FUZZ_CHECK(c == ' ' || isLineEnd(c), "removeSpaces drops only spaces and line ends");
        }
        if (inComment)
            inComment = c != ')';
        else if (c == '(')
            inComment = true;
    }
    FUZZ_CHECK(j == out.size(), "removeSpaces adds nothing");

    // The output: no space and no empty line outside comments.
    std::size_t lineEnds = 0;
    bool lineEmpty = true;
    inComment = false;
    for (std::size_t k = 0; k < out.size(); ++k) {
        const auto c = static_cast<unsigned char>(out[k]);
        if (inComment) {
            inComment = c != ')';
            continue;
        }
        FUZZ_CHECK(c != ' ', "no space is left outside comments");
        if (isLineEnd(c)) {
            FUZZ_CHECK(!lineEmpty, "no empty line is left outside comments");
            if (c == '\r' && k + 1 < out.size() && out[k + 1] == '\n')
                ++k;
            ++lineEnds;
            lineEmpty = true;
        } else {
            lineEmpty = false;
            inComment = c == '(';
        }
    }
    FUZZ_CHECK(lineEnds == keptLineEnds, "every line that holds something keeps its one line end");
    FUZZ_CHECK(removeSpaces(out) == out, "removeSpaces is stable on its own output");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkInsertSpaces(text);
    checkRemoveSpaces(text);
    return 0;
}
