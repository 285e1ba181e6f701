// Renumbering changes only the numbers of block-number words: every other token comes back
// upper-cased and otherwise as it was, each renumbered word keeps what follows its number, and
// the new numbers run from the first number by the step, restarting after program numbers.
// Outside a chosen range nothing changes at all.

#include "document/core/cnctokenizer.h"
#include "fuzzsupport.h"
#include "tools/core/renumber.h"

#include <algorithm>

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

void checkRenumbered(std::string_view source, std::string_view out, const RenumberOptions& options) {
    std::string upper(source);
    for (char& c : upper)
        c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
    CncTokenizer tokenizer(upper);
    Token token;
    std::size_t o = 0;
    std::int64_t next = options.firstNumber;
    while (tokenizer.next(token)) {
        const std::string_view piece = std::string_view(upper).substr(token.offset, token.length);
        if (token.cls == TokenClass::ProgramNumber)
            next = options.firstNumber;
        if (token.cls != TokenClass::AddressN || oldNumber(piece) < options.minNumber) {
            FUZZ_CHECK(out.substr(o, piece.size()) == piece,
                       "words other than block numbers stay as they were");
            o += piece.size();
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
        return 0;
    }
    const std::size_t start = std::min(options.rangeStart, text.size());
    const std::size_t length = std::min(options.rangeLength, text.size() - start);
    FUZZ_CHECK(result.rangeStart == start, "the range starts where it was asked, clamped to the text");
    FUZZ_CHECK(result.changed == (length > 0), "an empty range renumbers nothing");
    if (length == 0) {
        FUZZ_CHECK(result.text == text, "an empty range leaves the text as it was");
        return 0;
    }
    FUZZ_CHECK(result.text.size() == text.size() - length + result.rangeLength, "the range length adds up");
    FUZZ_CHECK(std::string_view(result.text).substr(0, start) == text.substr(0, start),
               "the text before the range is unchanged");
    FUZZ_CHECK(std::string_view(result.text).substr(start + result.rangeLength) ==
                   text.substr(start + length),
               "the text after the range is unchanged");
    checkRenumbered(text.substr(start, length),
                    std::string_view(result.text).substr(start, result.rangeLength), options);
    return 0;
}
