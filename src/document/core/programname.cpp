#include "document/core/programname.h"

#include "document/core/patternsearch.h"

#include <algorithm>

namespace ordalvex {

std::optional<TextSpan> findProgramName(std::string_view text, std::size_t maxLength) {
    constexpr unsigned kOptions = frDown;
    std::optional<std::size_t> found = SearchBuffer(text, 0, 0, "TEIL :", kOptions);
    std::size_t patternLength = 6;
    if (!found) {
        found = SearchBuffer(text, 0, 0, "TEIL:", kOptions);
        patternLength = 5;
    }
    if (!found) {
        // The first "(" after the first "%", or the first "(" of the text without a "%".
        const std::optional<std::size_t> percent = SearchBuffer(text, 0, 0, "%", kOptions);
        found = percent ? SearchBuffer(text, static_cast<std::ptrdiff_t>(*percent), 1, "(", kOptions)
                        : SearchBuffer(text, 0, 0, "(", kOptions);
        patternLength = 1;
    }
    if (!found)
        return std::nullopt;
    const std::size_t start = *found + patternLength;
    const std::size_t close = text.find(')', start);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    return TextSpan{start, std::min(end - start, maxLength)};
}

} // namespace ordalvex
