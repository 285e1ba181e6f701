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

// A replacement of text[offset, offset + length) by a new number: "N" and the number for a
// block, the digits alone for a jump target.
struct Edit {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::int64_t number = 0;
    bool withN = false;
    bool zeroPadding = false;
};

void appendEdit(std::string& out, const Edit& edit) {
    if (edit.withN)
        out += 'N';
    appendDigits(out, edit.number, edit.zeroPadding);
}

// False when the text certainly holds no jump: no GOTO and no M99 in any case. Saves the jump
// scan's pass over the many programs that never jump.
bool mayHoldJumps(std::string_view text) {
    // c & 0xDF upper-cases a letter; on other bytes it may only find more, never fewer.
    const auto is = [&text](std::size_t i, char letter) { return (text[i] & 0xDF) == letter; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i + 3 < text.size() && is(i, 'G') && is(i + 1, 'O') && is(i + 2, 'T') && is(i + 3, 'O'))
            return true;
        if (is(i, 'M')) {
            std::size_t j = i + 1;
            while (j < text.size() && text[j] == '0')
                ++j;
            if (j + 1 < text.size() && text[j] == '9' && text[j + 1] == '9')
                return true;
        }
    }
    return false;
}

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

// The jumps of every part that may hold some, their offsets and programs counted in the whole
// text.
std::vector<Jump> jumpsOf(std::string_view all, const Part (&parts)[3]) {
    std::vector<Jump> jumps;
    std::size_t sections = 0;
    std::size_t partsCounted = 0;
    for (std::size_t k = 0; k < std::size(parts); ++k) {
        const std::string_view view = all.substr(parts[k].begin, parts[k].end - parts[k].begin);
        if (!mayHoldJumps(view))
            continue;
        // A jump's program is counted from the start of the text.
        for (; partsCounted < k; ++partsCounted) {
            CncTokenizer counter(
                all.substr(parts[partsCounted].begin, parts[partsCounted].end - parts[partsCounted].begin));
            Token token;
            while (counter.next(token))
                sections += token.cls == TokenClass::ProgramNumber;
        }
        for (Jump jump : findJumps(view)) {
            jump.section += sections;
            jump.offset += parts[k].begin;
            jump.digitsOffset += parts[k].begin;
            if (jump.targetWordOffset != Jump::npos)
                jump.targetWordOffset += parts[k].begin;
            jumps.push_back(jump);
        }
    }
    return jumps;
}

// The new digits of every literal jump target that follows its block, sorted by offset; the
// lines of the jumps that cannot follow go to `unfollowed`, ascending, each once.
std::vector<Edit> followJumps(std::string_view all, const std::vector<Jump>& jumps,
                              const std::vector<Block>& blocks, const RenumberOptions& options,
                              std::vector<std::size_t>& unfollowed) {
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
    std::vector<Edit> targetEdits;
    for (const Jump& jump : jumps) {
        bool followed = false;
        if (jump.kind == Jump::Kind::Literal) {
            const TargetMatch& match = matches.at({jump.section, jump.value});
            const Block* block = match.blocks == 1 ? &blocks[match.block] : nullptr;
            if (block && block->renumbered && block->wholeNumber && block->newNumber > 0) {
                const bool padded =
                    options.zeroPadding && jump.digitsLength > 1 && all[jump.digitsOffset] == '0';
                targetEdits.push_back(
                    {jump.digitsOffset, jump.digitsLength, block->newNumber, false, padded});
                followed = true;
            } else if (block && !block->renumbered) {
                followed = match.takenByRenumbered == 0;
            }
        }
        if (!followed)
            unfollowed.push_back(std::size_t(
                std::upper_bound(lineStarts.begin(), lineStarts.end(), jump.offset) - lineStarts.begin()));
    }
    std::sort(unfollowed.begin(), unfollowed.end());
    unfollowed.erase(std::unique(unfollowed.begin(), unfollowed.end()), unfollowed.end());

    std::sort(targetEdits.begin(), targetEdits.end(),
              [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
    return targetEdits;
}

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

    const std::vector<Jump> jumps = jumpsOf(all, parts);

    std::vector<std::size_t> targetWords;
    bool anyLiteral = false;
    for (const Jump& jump : jumps) {
        if (jump.targetWordOffset != Jump::npos)
            targetWords.push_back(jump.targetWordOffset);
        anyLiteral = anyLiteral || jump.kind == Jump::Kind::Literal;
    }
    std::sort(targetWords.begin(), targetWords.end());

    result.text.reserve(all.size() + all.size() / 8 + 16);
    std::size_t copiedUpTo = 0;
    std::ptrdiff_t shiftBefore = 0;
    std::ptrdiff_t shiftInside = 0;
    const auto write = [&](const Edit& edit) {
        result.text.append(all, copiedUpTo, edit.offset - copiedUpTo);
        const std::size_t written = result.text.size();
        appendEdit(result.text, edit);
        copiedUpTo = edit.offset + edit.length;
        const std::ptrdiff_t shift =
            std::ptrdiff_t(result.text.size() - written) - std::ptrdiff_t(edit.length);
        if (edit.offset < start)
            shiftBefore += shift;
        else if (edit.offset < start + length)
            shiftInside += shift;
    };
    // Without jumps no target changes, and blocks are written as they are met.
    const bool writeAtOnce = jumps.empty();
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
            if (part.renumbered && block.oldValue >= options.minNumber) {
                const Edit edit{part.begin + token.offset, numberEnd, next, true, options.zeroPadding};
                if (writeAtOnce)
                    write(edit);
                else
                    edits.push_back(edit);
                block.renumbered = true;
                block.newNumber = next;
                next += options.step;
            }
            if (anyLiteral) {
                block.wholeNumber =
                    numberEnd > 1 && piece.substr(1, numberEnd - 1).find('.') == std::string_view::npos;
                blocks.push_back(block);
            }
        }
    }

    const std::vector<Edit> targetEdits =
        followJumps(all, jumps, blocks, options, result.unfollowedJumpLines);

    // Block edits come in text order; jump targets are merged in.
    const auto byOffset = [](const Edit& a, const Edit& b) { return a.offset < b.offset; };
    std::size_t b = 0, t = 0;
    while (b < edits.size() || t < targetEdits.size())
        write(t == targetEdits.size() || (b < edits.size() && byOffset(edits[b], targetEdits[t]))
                  ? edits[b++]
                  : targetEdits[t++]);
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
