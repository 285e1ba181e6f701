#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ordalvex {

// Options of a search, with the bit values of the find dialog's flags.
enum SearchOption : unsigned {
    frDown = 1,      // toward the end of the text; without it toward the start
    frWholeWord = 2, // the match must be a whole word
    frMatchCase = 4, // compare case-sensitively; without it both sides are upper-cased
};

// Finds `pattern` in `buffer` (Windows-1250 bytes) around the current selection. In the
// pattern "?" matches any one byte and "$" any decimal digit. Forward searches begin after the
// selection, backward ones end before its start. Word characters are "#", "%", ".", "@",
// digits and ASCII letters. Returns the offset of the match, or nothing when there is none,
// the buffer or pattern is empty, or the selection lies outside the buffer. A match never
// runs past the end of the buffer nor starts before its beginning.
std::optional<std::size_t> SearchBuffer(std::string_view buffer, std::ptrdiff_t selStart,
                                        std::ptrdiff_t selLength, std::string_view pattern, unsigned options);

} // namespace ordalvex
