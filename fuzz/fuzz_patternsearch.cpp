// The pattern search against a plain reference: without whole words, the first match in the
// search direction; with them, the first whole word (a word start after a delimiter, a
// delimiter or the end after it) beyond the word the search starts in.

#include "common/core/codepage.h"
#include "document/core/patternsearch.h"
#include "fuzzsupport.h"

#include <optional>

using namespace ordalvex;
using namespace ordalvex::fuzzing;

namespace {

bool isWordChar(unsigned char c) {
    return c == '#' || c == '%' || c == '.' || c == '@' || isDigit(c) || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

struct Reference {
    std::string_view buffer;
    std::string_view pattern;
    bool matchCase = false;

    unsigned char at(std::ptrdiff_t i) const {
        return i >= 0 && i < std::ptrdiff_t(buffer.size())
                   ? static_cast<unsigned char>(buffer[std::size_t(i)])
                   : 0;
    }
    unsigned char mapped(unsigned char c) const { return matchCase ? c : cp1250::toUpper(c); }

    bool matchesAt(std::ptrdiff_t p) const {
        if (p < 0 || p + std::ptrdiff_t(pattern.size()) > std::ptrdiff_t(buffer.size()))
            return false;
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            const unsigned char want = mapped(static_cast<unsigned char>(pattern[k]));
            const unsigned char have = mapped(at(p + std::ptrdiff_t(k)));
            if (!(want == have || want == '?' || (want == '$' && isDigit(have))))
                return false;
        }
        return true;
    }
    bool wholeWordAt(std::ptrdiff_t p) const {
        return p > 0 && !isWordChar(at(p - 1)) && isWordChar(at(p)) &&
               !isWordChar(at(p + std::ptrdiff_t(pattern.size())));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const unsigned options = input.byte() & 7u;
    const std::uint8_t mode = input.byte();
    const std::uint32_t rawStart = input.u32();
    const std::uint32_t rawLength = input.u32();
    const std::string_view pattern = input.piece(12);
    const std::string_view buffer = input.rest();

    // Mostly selections in and around the buffer; sometimes any int, as a caller might pass.
    const auto n = std::ptrdiff_t(buffer.size());
    std::ptrdiff_t selStart, selLength;
    if (mode & 1u) {
        selStart = static_cast<std::int32_t>(rawStart);
        selLength = static_cast<std::int32_t>(rawLength);
    } else {
        selStart = std::ptrdiff_t(rawStart % std::uint32_t(n + 5)) - 2;
        selLength = std::ptrdiff_t(rawLength % std::uint32_t(n + 5)) - 2;
    }

    const std::optional<std::size_t> found = SearchBuffer(buffer, selStart, selLength, pattern, options);

    const Reference ref{buffer, pattern, (options & frMatchCase) != 0};
    const auto m = std::ptrdiff_t(pattern.size());
    const bool wholeWord = (options & frWholeWord) != 0;
    std::optional<std::size_t> expected;
    if (n > 0 && m > 0) {
        const bool down = (options & frDown) != 0;
        const std::ptrdiff_t start = down ? selStart + selLength : selStart - m;
        if (start >= 0 && start <= n) {
            if (down) {
                // A whole-word search first leaves the word it starts in.
                for (std::ptrdiff_t p = wholeWord ? start + 1 : start; p <= n - m && !expected; ++p)
                    if (ref.matchesAt(p) && (!wholeWord || ref.wholeWordAt(p)))
                        expected = std::size_t(p);
            } else {
                for (std::ptrdiff_t p = start; p >= 0 && !expected; --p)
                    if (ref.matchesAt(p) && (!wholeWord || ref.wholeWordAt(p)))
                        expected = std::size_t(p);
            }
        }
    }
    if (found) {
        FUZZ_CHECK(*found + pattern.size() <= buffer.size(), "a match lies inside the buffer");
        FUZZ_CHECK(ref.matchesAt(std::ptrdiff_t(*found)), "a match matches the pattern");
        FUZZ_CHECK(!wholeWord || ref.wholeWordAt(std::ptrdiff_t(*found)),
                   "a whole-word match is a whole word");
    }
    FUZZ_CHECK(found == expected, "the search finds the nearest match in its direction");
    return 0;
}
