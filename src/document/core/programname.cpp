#include "document/core/programname.h"

#include <algorithm>

namespace ordalvex {

namespace {

bool sameLetter(char c, char upper) {
    return c == upper || c == static_cast<char>(upper | 0x20);
}

// The first "TEIL :" of the text, else its first "TEIL:" (letters without case), in one pass:
// returns where the name after it starts.
std::optional<std::size_t> afterTeil(std::string_view text) {
    std::optional<std::size_t> withoutSpace;
    for (std::size_t i = 0; i + 5 <= text.size(); ++i) {
        if (!sameLetter(text[i], 'T') || !sameLetter(text[i + 1], 'E') || !sameLetter(text[i + 2], 'I') ||
            !sameLetter(text[i + 3], 'L'))
            continue;
        if (text[i + 4] == ' ' && i + 6 <= text.size() && text[i + 5] == ':')
            return i + 6;
        if (text[i + 4] == ':' && !withoutSpace)
            withoutSpace = i + 5;
    }
    return withoutSpace;
}

} // namespace

std::optional<TextSpan> findProgramName(std::string_view text, std::size_t maxLength) {
    std::optional<std::size_t> start = afterTeil(text);
    if (!start) {
        // The first "(" after the first "%", or the first "(" of the text without a "%".
        const std::size_t percent = text.find('%');
        const std::size_t open = text.find('(', percent == std::string_view::npos ? 0 : percent + 1);
        if (open == std::string_view::npos)
            return std::nullopt;
        start = open + 1;
    }
    const std::size_t close = text.find(')', *start);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    return TextSpan{*start, std::min(end - *start, maxLength)};
}

} // namespace ordalvex
