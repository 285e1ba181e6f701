#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A selection in a buffer: its start and length (0 for a caret).
struct BufferSelection {
    std::ptrdiff_t start = 0;
    std::ptrdiff_t length = 0;
    bool operator==(const BufferSelection&) const = default;
};

// One "find next" of the editor: searches from the `current` selection (see SearchBuffer) and
// returns the selection the editor then shows, the match as long as the pattern; nothing
// when there is no match (the selection stays as it was).
std::optional<BufferSelection> FindNextSelection(std::string_view buffer, BufferSelection current,
                                                 std::string_view pattern, unsigned options);

// The starts of the matches that "find next" selects when repeated until it finds nothing,
// beginning with the caret at `caret` and each search starting from the selection the
// previous one left. In order of finding (descending without frDown); empty when none.
std::vector<std::size_t> RepeatedFindNext(std::string_view buffer, std::ptrdiff_t caret,
                                          std::string_view pattern, unsigned options);

// Program text (Windows-1250 bytes) as the editor holds it: every line end, whether CR LF, a
// lone CR or a lone LF, written as CR LF, so that offsets in the result are editor positions
// (a line end counts two). Every other byte is kept.
std::string withEditorLineEnds(std::string_view text);

} // namespace ordalvex
