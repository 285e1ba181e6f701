#include "tools/core/renumber.h"

#include "document/core/cnctokenizer.h"

#include <algorithm>
#include <charconv>

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

void appendNumber(std::string& out, std::int64_t number, bool zeroPadding) {
    out += 'N';
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

} // namespace

std::string renumberBlocks(std::string_view source, const RenumberOptions& options) {
    std::string upper(source);
    for (char& c : upper)
        c = static_cast<char>(CncTokenizer::upper(static_cast<unsigned char>(c)));

    std::string out;
    out.reserve(upper.size() + upper.size() / 8 + 16);
    // 64 bits: many blocks times a large step must not overflow.
    std::int64_t next = options.firstNumber;
    // Text between replaced numbers is copied in one piece rather than token by token.
    std::size_t copiedUpTo = 0;
    CncTokenizer tokenizer(upper);
    Token token;
    while (tokenizer.next(token)) {
        if (token.cls == TokenClass::ProgramNumber) {
            next = options.firstNumber;
            continue;
        }
        if (token.cls != TokenClass::AddressN)
            continue;
        const std::string_view piece = std::string_view(upper).substr(token.offset, token.length);
        if (oldValue(piece) < options.minNumber)
            continue;
        std::size_t numberEnd = 1;
        while (numberEnd < piece.size() && (isDigit(piece[numberEnd]) || piece[numberEnd] == '.'))
            ++numberEnd;
        out.append(upper, copiedUpTo, token.offset - copiedUpTo);
        appendNumber(out, next, options.zeroPadding);
        copiedUpTo = token.offset + numberEnd;
        next += options.step;
    }
    out.append(upper, copiedUpTo);
    return out;
}

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
    const std::string renumbered = renumberBlocks(text.substr(start, length), options);
    result.text.reserve(text.size() - length + renumbered.size());
    result.text.append(text.substr(0, start));
    result.text.append(renumbered);
    result.text.append(text.substr(start + length));
    result.rangeStart = start;
    result.rangeLength = options.scope == RenumberOptions::Scope::Range ? renumbered.size() : 0;
    result.changed = true;
    return result;
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
