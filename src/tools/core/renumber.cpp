#include "tools/core/renumber.h"

#include "document/core/cnctokenizer.h"
#include "tools/core/jumps.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>
#include <vector>

namespace ordalvex {

namespace {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The old number of a block word: the decimal digits after "N"; saturates instead of
// overflowing, so a huge number still counts as "at least the minimum".
std::int64_t oldValue(std::string_view word) {
    std::int64_t value = 0;
    for (std::size_t i = 1; i < word.size() && isDigit(word[i]); ++i) {
        value = value * 10 + (word[i] - '0');
        if (value > INT32_MAX)
            return INT32_MAX;
    }
    return value;
}

void appendDigits(std::string& out, std::int64_t number, bool zeroPadding) {
    if (number <= 0)
        return;
    if (zeroPadding) {
        if (number < 1000)
            out += '0';
        if (number < 100)
            out += '0';
        if (number < 10)
            out += '0';
    }
    char digits[24];
    const auto done = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, done.ptr);
}

// A replacement of text[offset, offset + length) in the result.
struct Edit {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string text;
};

// A block-number word as far as jumps care about it.
struct Block {
    std::size_t section = 0;
    std::int64_t oldValue = 0;
    bool wholeNumber = false; // "N" and digits only: N10 but not N10.5 or N alone
    bool renumbered = false;
    std::int64_t newNumber = 0;
};

// What a literal jump target meets in its program.
struct TargetMatch {
    std::size_t blocks = 0;            // blocks whose old number is the target's
    std::size_t block = 0;             // index of the last of them
    std::size_t takenByRenumbered = 0; // renumbered blocks whose new number is the target's
};

// One part of the text: before the range, the range, after it. Each is tokenized on its own,
// so renumbering a range sees exactly the words it saw when it was renumbered alone.
struct Part {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool renumbered = false;
};

} // namespace

RenumberResult renumberText(std::string_view text, const RenumberOptions& options) {
    RenumberResult result;
    std::size_t start = 0;
    std::size_t length = text.size();
    if (options.scope == RenumberOptions::Scope::Range) {
        start = std::min(options.rangeStart, text.size());
        length = std::min(options.rangeLength, text.size() - start);
    }
    if (length == 0) {
        result.text = std::string(text);
        result.rangeStart = start;
        return result;
    }
    std::string source(text);
    for (std::size_t i = start; i < start + length; ++i)
        source[i] = static_cast<char>(CncTokenizer::upper(static_cast<unsigned char>(source[i])));
    const std::string_view all(source);
    const Part parts[] = {
        {0, start, false}, {start, start + length, true}, {start + length, all.size(), false}};

    std::vector<Jump> jumps;
    std::size_t sections = 0;
    for (const Part& part : parts) {
        for (Jump jump : findJumps(all.substr(part.begin, part.end - part.begin))) {
            jump.section += sections;
            jump.offset += part.begin;
            jump.digitsOffset += part.begin;
            if (jump.targetWordOffset != Jump::npos)
                jump.targetWordOffset += part.begin;
            jumps.push_back(jump);
        }
        CncTokenizer counter(all.substr(part.begin, part.end - part.begin));
        Token token;
        while (counter.next(token))
            sections += token.cls == TokenClass::ProgramNumber;
    }

    std::vector<std::size_t> targetWords;
    bool anyLiteral = false;
    for (const Jump& jump : jumps) {
        if (jump.targetWordOffset != Jump::npos)
            targetWords.push_back(jump.targetWordOffset);
        anyLiteral = anyLiteral || jump.kind == Jump::Kind::Literal;
    }
    std::sort(targetWords.begin(), targetWords.end());

    std::vector<Edit> edits;
    std::vector<Block> blocks;
    std::size_t section = 0;
    for (const Part& part : parts) {
        const std::string_view view = all.substr(part.begin, part.end - part.begin);
        // 64 bits: many blocks times a large step must not overflow.
        std::int64_t next = options.firstNumber;
        CncTokenizer tokenizer(view);
        Token token;
        while (tokenizer.next(token)) {
            if (token.cls == TokenClass::ProgramNumber) {
                ++section;
                next = options.firstNumber;
                continue;
            }
            if (token.cls != TokenClass::AddressN ||
                std::binary_search(targetWords.begin(), targetWords.end(), part.begin + token.offset))
                continue;
            const std::string_view piece = view.substr(token.offset, token.length);
            std::size_t numberEnd = 1;
            while (numberEnd < piece.size() && (isDigit(piece[numberEnd]) || piece[numberEnd] == '.'))
                ++numberEnd;
            Block block;
            block.section = section;
            block.oldValue = oldValue(piece);
            block.wholeNumber =
                numberEnd > 1 && piece.substr(1, numberEnd - 1).find('.') == std::string_view::npos;
            if (part.renumbered && block.oldValue >= options.minNumber) {
                Edit edit{part.begin + token.offset, numberEnd, "N"};
                appendDigits(edit.text, next, options.zeroPadding);
                edits.push_back(std::move(edit));
                block.renumbered = true;
                block.newNumber = next;
                next += options.step;
            }
            if (anyLiteral)
                blocks.push_back(block);
        }
    }

    std::map<std::pair<std::size_t, std::int64_t>, TargetMatch> matches;
    for (const Jump& jump : jumps)
        if (jump.kind == Jump::Kind::Literal)
            matches[{jump.section, jump.value}];
    for (std::size_t i = 0; i < blocks.size() && !matches.empty(); ++i) {
        const Block& block = blocks[i];
        if (const auto found = matches.find({block.section, block.oldValue}); found != matches.end()) {
            ++found->second.blocks;
            found->second.block = i;
        }
        if (!block.renumbered)
            continue;
        if (const auto found = matches.find({block.section, block.newNumber}); found != matches.end())
            ++found->second.takenByRenumbered;
    }
    // Lines are counted in the whole text: a part may begin inside a CR LF.
    std::vector<std::size_t> lineStarts;
    if (!jumps.empty()) {
        lineStarts.push_back(0);
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i] == '\n' || (all[i] == '\r' && (i + 1 == all.size() || all[i + 1] != '\n')))
                lineStarts.push_back(i + 1);
    }
    for (const Jump& jump : jumps) {
        bool followed = false;
        if (jump.kind == Jump::Kind::Literal) {
            const TargetMatch& match = matches.at({jump.section, jump.value});
            const Block* block = match.blocks == 1 ? &blocks[match.block] : nullptr;
            if (block && block->renumbered && block->wholeNumber && block->newNumber > 0) {
                const bool padded =
                    options.zeroPadding && jump.digitsLength > 1 && all[jump.digitsOffset] == '0';
                Edit edit{jump.digitsOffset, jump.digitsLength, {}};
                appendDigits(edit.text, block->newNumber, padded);
                edits.push_back(std::move(edit));
                followed = true;
            } else if (block && !block->renumbered) {
                followed = match.takenByRenumbered == 0;
            }
        }
        if (!followed)
            result.unfollowedJumpLines.push_back(std::size_t(
                std::upper_bound(lineStarts.begin(), lineStarts.end(), jump.offset) - lineStarts.begin()));
    }
    std::sort(result.unfollowedJumpLines.begin(), result.unfollowedJumpLines.end());
    result.unfollowedJumpLines.erase(
        std::unique(result.unfollowedJumpLines.begin(), result.unfollowedJumpLines.end()),
        result.unfollowedJumpLines.end());

    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
    result.text.reserve(all.size() + all.size() / 8 + 16);
    std::size_t copiedUpTo = 0;
    std::ptrdiff_t shiftBefore = 0;
    std::ptrdiff_t shiftInside = 0;
    for (const Edit& edit : edits) {
        result.text.append(all, copiedUpTo, edit.offset - copiedUpTo);
        result.text.append(edit.text);
        copiedUpTo = edit.offset + edit.length;
        const std::ptrdiff_t shift = std::ptrdiff_t(edit.text.size()) - std::ptrdiff_t(edit.length);
        if (edit.offset < start)
            shiftBefore += shift;
        else if (edit.offset < start + length)
            shiftInside += shift;
    }
    result.text.append(all, copiedUpTo);
    result.rangeStart = std::size_t(std::ptrdiff_t(start) + shiftBefore);
    result.rangeLength = options.scope == RenumberOptions::Scope::Range
                             ? std::size_t(std::ptrdiff_t(length) + shiftInside)
                             : 0;
    result.changed = true;
    return result;
}

std::string renumberBlocks(std::string_view source, const RenumberOptions& options) {
    RenumberOptions whole = options;
    whole.scope = RenumberOptions::Scope::All;
    return renumberText(source, whole).text;
}

LineRange widenToWholeLines(std::string_view text, std::size_t selStart, std::size_t selLength) {
    LineRange range;
    if (selLength == 0)
        return range;
    const std::size_t size = text.size();
    selStart = std::min(selStart, size);
    const std::size_t end = std::min(selStart + std::min(selLength, size), size);

    std::size_t lineStart = selStart;
    // A position on the LF of a CR LF still belongs to the line the CR ends.
    if (lineStart > 0 && lineStart < size && text[lineStart] == '\n' && text[lineStart - 1] == '\r')
        --lineStart;
    while (lineStart > 0 && !isLineEnd(text[lineStart - 1]))
        --lineStart;

    std::size_t lineEnd = end;
    if (lineEnd > 0 && lineEnd < size && text[lineEnd] == '\n' && text[lineEnd - 1] == '\r')
        --lineEnd;
    while (lineEnd < size && !isLineEnd(text[lineEnd]))
        ++lineEnd;

    range.start = lineStart;
    range.length = lineEnd - lineStart;
    range.wholeText = range.length == 0 || (size < 2 ? range.length > 0 : range.length > size - 2);
    return range;
}

} // namespace ordalvex
