// Renumbering changes only the numbers of block-number words and the digits of literal jump
// targets: every other token comes back upper-cased and otherwise as it was, each renumbered
// word keeps what follows its number, the N word after a jump keyword takes no number, and the
// new numbers run from the first number by the step, restarting after program numbers.
// Outside a chosen range only jump targets change. Reported jump lines exist, ascending, and
// include every computed jump and every M99 with P.

#include "document/core/cnctokenizer.h"
#include "fuzzsupport.h"
#include "tools/core/jumps.h"
#include "tools/core/renumber.h"

#include <algorithm>
#include <functional>
#include <vector>

using namespace ordalvex;
using namespace ordalvex::fuzzing;

namespace {

std::int64_t oldNumber(std::string_view word) {
    std::int64_t value = 0;
    for (std::size_t i = 1; i < word.size() && isDigit(static_cast<unsigned char>(word[i])); ++i)
        value = std::min<std::int64_t>(value * 10 + (word[i] - '0'), INT32_MAX);
    return value;
}

std::string numberText(std::int64_t number, bool zeroPadding) {
    if (number <= 0)
        return {};
    std::string digits = std::to_string(number);
    if (zeroPadding && digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

// Offsets of the literal jump targets' digits in `text`, and of the N words that are targets.
struct JumpSpots {
    std::vector<Jump> jumps;
    std::vector<std::size_t> digits;
    std::vector<std::size_t> targetWords;
    explicit JumpSpots(std::string_view text) : jumps(findJumps(text)) {
        for (const Jump& jump : jumps) {
            if (jump.kind == Jump::Kind::Literal)
                digits.push_back(jump.digitsOffset);
            if (jump.targetWordOffset != Jump::npos)
                targetWords.push_back(jump.targetWordOffset);
        }
        std::sort(digits.begin(), digits.end());
    }
    bool isTargetWord(std::size_t offset) const {
        return std::find(targetWords.begin(), targetWords.end(), offset) != targetWords.end();
    }
};

// Whether `out` at `o` holds `piece` (found at `at` in the scanned text), except that the digit
// runs of literal jump targets in it may have become other digits; moves `o` past it.
bool matchesExceptJumpDigits(std::string_view piece, std::size_t at, std::string_view out, std::size_t& o,
                             const JumpSpots& spots) {
    std::size_t i = 0;
    for (std::size_t offset : spots.digits) {
        if (offset < at + i || offset >= at + piece.size())
            continue;
        const std::size_t d = offset - at;
        if (out.substr(o, d - i) != piece.substr(i, d - i))
            return false;
        o += d - i;
        i = d;
        while (i < piece.size() && isDigit(static_cast<unsigned char>(piece[i])))
            ++i;
        const std::size_t digitsStart = o;
        while (o < out.size() && isDigit(static_cast<unsigned char>(out[o])))
            ++o;
        if (o == digitsStart)
            return false;
    }
    if (out.substr(o, piece.size() - i) != piece.substr(i))
        return false;
    o += piece.size() - i;
    return true;
}

void checkRenumbered(std::string_view source, std::string_view out, const RenumberOptions& options) {
    std::string upper(source);
    for (char& c : upper)
        c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
    const JumpSpots spots(upper);
    CncTokenizer tokenizer(upper);
    Token token;
    std::size_t o = 0;
    std::int64_t next = options.firstNumber;
    while (tokenizer.next(token)) {
        const std::string_view piece = std::string_view(upper).substr(token.offset, token.length);
        if (token.cls == TokenClass::ProgramNumber)
            next = options.firstNumber;
        if (token.cls != TokenClass::AddressN || oldNumber(piece) < options.minNumber ||
            spots.isTargetWord(token.offset)) {
            FUZZ_CHECK(matchesExceptJumpDigits(piece, token.offset, out, o, spots),
                       "words other than block numbers stay as they were but for jump targets");
            continue;
        }
        std::size_t numberEnd = 1;
        while (numberEnd < piece.size() &&
               (isDigit(static_cast<unsigned char>(piece[numberEnd])) || piece[numberEnd] == '.'))
            ++numberEnd;
        const std::string replaced = "N" + numberText(next, options.zeroPadding);
        FUZZ_CHECK(out.substr(o, replaced.size()) == replaced, "a block number gets the next number");
        o += replaced.size();
        const std::string_view tail = piece.substr(numberEnd);
        FUZZ_CHECK(out.substr(o, tail.size()) == tail, "what follows a block number is kept");
        o += tail.size();
        next += options.step;
    }
    FUZZ_CHECK(o == out.size(), "nothing is added after the last word");
}

// The reported lines lie in the text, ascending, and name every jump that cannot be followed
// whatever the numbers are. `parts` are the pieces of the text that were scanned on their own.
void checkReportedLines(std::string_view text, const std::vector<std::string_view>& parts,
                        const RenumberResult& result) {
    std::vector<std::size_t> lineStarts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            lineStarts.push_back(i + 1);
    const auto& reported = result.unfollowedJumpLines;
    FUZZ_CHECK(std::adjacent_find(reported.begin(), reported.end(), std::greater_equal<>()) == reported.end(),
               "reported lines ascend, each once");
    FUZZ_CHECK(reported.empty() || (reported.front() >= 1 && reported.back() <= lineStarts.size()),
               "reported lines are lines of the text");
    for (std::string_view part : parts) {
        const std::size_t base = std::size_t(part.data() - text.data());
        for (const Jump& jump : findJumps(part)) {
            if (jump.kind == Jump::Kind::Literal)
                continue;
            const std::size_t line =
                std::size_t(std::upper_bound(lineStarts.begin(), lineStarts.end(), base + jump.offset) -
                            lineStarts.begin());
            FUZZ_CHECK(std::binary_search(reported.begin(), reported.end(), line),
                       "computed jumps and M99 with P are reported");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    RenumberOptions options;
    options.firstNumber = static_cast<std::int32_t>(input.inRange(kFirstNumberLow, kFirstNumberHigh));
    options.step = static_cast<std::int32_t>(input.inRange(kStepLow, kStepHigh));
    options.minNumber = static_cast<std::int32_t>(input.inRange(kMinNumberLow, kMinNumberHigh));
    const std::uint8_t flags = input.byte();
    options.zeroPadding = (flags & 1u) != 0;
    options.scope = (flags & 2u) ? RenumberOptions::Scope::Range : RenumberOptions::Scope::All;
    const std::uint32_t rawStart = input.u32(), rawLength = input.u32();
    const std::string_view text = input.rest();
    options.rangeStart = rawStart % (text.size() + 3);
    options.rangeLength = (flags & 4u) ? rawLength : rawLength % (text.size() + 3);

    const RenumberResult result = renumberText(text, options);
    if (options.scope == RenumberOptions::Scope::All) {
        FUZZ_CHECK(result.changed == !text.empty(), "only an empty source is left unrenumbered");
        checkRenumbered(text, result.text, options);
        FUZZ_CHECK(renumberBlocks(text, options) == result.text, "the scan gives the same text");
        if (!text.empty())
            checkReportedLines(text, {text}, result);
        return 0;
    }
    const std::size_t start = std::min(options.rangeStart, text.size());
    const std::size_t length = std::min(options.rangeLength, text.size() - start);
    FUZZ_CHECK(result.changed == (length > 0), "an empty range renumbers nothing");
    if (length == 0) {
        FUZZ_CHECK(result.rangeStart == start, "an empty range stays where it was asked");
        FUZZ_CHECK(result.text == text, "an empty range leaves the text as it was");
        return 0;
    }
    // The parts before and after the range are scanned on their own, as the range is.
    const std::string_view before = text.substr(0, start), after = text.substr(start + length);
    std::size_t o = 0;
    // The range may begin inside a number: the text before it ends where the range begins.
    FUZZ_CHECK(result.rangeStart <= result.text.size(), "the range starts in the text");
    FUZZ_CHECK(matchesExceptJumpDigits(before, 0, std::string_view(result.text).substr(0, result.rangeStart),
                                       o, JumpSpots(before)),
               "the text before the range changes only in jump targets");
    FUZZ_CHECK(o == result.rangeStart, "the range starts where the text before it ends");
    FUZZ_CHECK(result.rangeStart + result.rangeLength <= result.text.size(), "the range lies in the text");
    o = result.rangeStart + result.rangeLength;
    FUZZ_CHECK(matchesExceptJumpDigits(after, 0, result.text, o, JumpSpots(after)) && o == result.text.size(),
               "the text after the range changes only in jump targets");
    checkRenumbered(text.substr(start, length),
                    std::string_view(result.text).substr(result.rangeStart, result.rangeLength), options);
    checkReportedLines(text, {before, text.substr(start, length), after}, result);
    return 0;
}
