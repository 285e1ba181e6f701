#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ordalvex {

// Ranges of the renumbering numbers as the dialog accepts them, bounds included.
inline constexpr int kMinNumberLow = 0, kMinNumberHigh = 9000, kMinNumberDefault = 0;
inline constexpr int kFirstNumberLow = 0, kFirstNumberHigh = 5000, kFirstNumberDefault = 10;
inline constexpr int kStepLow = 1, kStepHigh = 100, kStepDefault = 10;

// What to renumber and how.
struct RenumberOptions {
    enum class Scope {
        All,   // "Przenumeruj wszystko": the whole text
        Range, // "Przenumeruj zaznaczone": rangeLength bytes from rangeStart
    };
    std::int32_t firstNumber = kFirstNumberDefault; // first new number, and where numbering restarts
    std::int32_t step = kStepDefault;               // added after each renumbered word
    std::int32_t minNumber = kMinNumberDefault;     // words with an old number below keep it
    bool zeroPadding = false;                       // numbers 1 to 999 written with four digits
    Scope scope = Scope::All;
    std::size_t rangeStart = 0;  // byte offset in the text (line ends count as they are stored)
    std::size_t rangeLength = 0; // bytes; 0 with Scope::Range renumbers nothing
};

struct RenumberResult {
    std::string text;            // the whole text after renumbering
    std::size_t rangeStart = 0;  // where the renumbered part starts in `text`
    std::size_t rangeLength = 0; // its length in `text` (0 for Scope::All)
    bool changed = false;        // false when there was nothing to renumber (empty source)
    // 1-based lines (of the text and of the result alike), ascending, each once, that hold a
    // jump left as it was because its new target cannot be known (see renumberText).
    std::vector<std::size_t> unfollowedJumpLines;
};

// Renumbers the block numbers of program text (Windows-1250 bytes, any line ends). Block
// numbers are exactly the words the highlighter colours as N addresses (N10, N, N10.5, not
// the keywords NE2, NOT or NAME), except an N word that is the target of a jump keyword
// (GOTOF N20: see findJumps). Every character of the source is upper-cased (a-z only).
// For each block number whose old value (the digits after "N"; none reads as 0) is at least
// minNumber, "N" and the digits and "." right after it are replaced by "N" and the next number
// (zero-padded to four digits when asked and the number is 1 to 999; "N" alone when it is 0
// or less), the rest of the word kept; the next number then grows by step. The numbering
// restarts at firstNumber after every program-number word ("%", ":", "O1000"). With
// Scope::Range only that part of the text (clamped to the text) is scanned and renumbered;
// the rest is returned unchanged except for jump targets. An empty source returns the text
// unchanged with changed false.
// Jumps anywhere in the text follow their block. Blocks are matched within their program
// (from one program-number word to the next). A literal target whose number is on exactly
// one block of its program, renumbered and written as a whole number, takes that block's new
// number in the target's own style: "N" kept or left out as it was, four digits only when
// padding is asked and the target had a leading zero. A target on exactly one block that kept
// its number stays, and is still right unless a renumbered block took that number. Every
// other jump is left as it was and its line reported: computed targets, numbers on no block
// or on several, a block renumbered to 0 or with a fraction (N10.5), and M99 with P.
RenumberResult renumberText(std::string_view text, const RenumberOptions& options);

// The renumbered form of a whole source, options' scope ignored.
std::string renumberBlocks(std::string_view source, const RenumberOptions& options);

// Line range chosen from a selection of the preview.
struct LineRange {
    std::size_t start = 0;  // first byte of the first selected line
    std::size_t length = 0; // up to the end of the last selected line, its line end excluded
    bool wholeText = false; // the range is empty or covers the text: renumber everything
};

// Widens a selection (byte offsets in `text`, any line ends) to whole lines: from the start of
// the line that holds selStart to the end of the line that holds selStart + selLength, so a
// selection ending at the very start of a line takes that line in whole. `wholeText` is set
// when the widened length is 0 or above text.size() - 2. Offsets past the text are clamped.
// A selLength of 0 gives start 0, length 0 and wholeText false (no range).
LineRange widenToWholeLines(std::string_view text, std::size_t selStart, std::size_t selLength);

} // namespace ordalvex
