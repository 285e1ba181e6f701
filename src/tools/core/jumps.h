#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <QString>

namespace ordalvex {

// A jump by block number found in program text.
struct Jump {
    enum class Kind {
        Literal,  // GOTO20, GOTO 20, GOTOF N20, $GOTO N0020: the number is written out
        Computed, // GOTO#5, GOTO[#1+10], GOTO N#1, GOTO 20.5: no plain number of a readable size
        Return,   // M99 with a P word on its line: the number may name a block of the caller
    };
    Kind kind = Kind::Literal;
    std::size_t offset = 0;  // first byte of the jump keyword (of the M99 word for Return)
    std::size_t line = 1;    // 1-based line of the jump (CR LF, lone CR and lone LF end a line)
    std::size_t section = 0; // program-number words ("%", ":", "O1000") before the jump
    // Literal only: the target's digits (leading zeros included, no "N"), where they are and
    // what they read as (saturated at INT32_MAX).
    std::size_t digitsOffset = 0;
    std::size_t digitsLength = 0;
    std::int64_t value = 0;
    bool withN = false; // the target is written with "N" (GOTOF N20), not bare (GOTO20)
    // Offset of the N word that follows the keyword as a word of its own ("GOTOF N20",
    // "GOTO N#1"); npos when there is none. Such a word names a target, not a block.
    std::size_t targetWordOffset = npos;

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

// Finds the jumps of program text (Windows-1250 bytes, any case, any line ends), in the order
// they appear, using the highlighter's word rules (so nothing inside a "(...)" comment counts).
// A jump keyword is a word that begins with GOTO, GOTOF, GOTOB or GOTOC, wherever it stands
// (after "]", after "$", at the start of a block). Its target is written inside the same word
// (GOTO20, GOTOFN20, GOTO#5), or is the next word after spaces or tabs on the same line
// (GOTO 20, GOTOF N20, GOTO [#1+10]). Targets that are labels rather than numbers (GOTO LBL,
// GOTOF MARK1, $GOTO [LABEL_1]) and keywords with no target at all give no jump. A line that
// holds an M99 word and a P word gives one Return jump (at the M99). Empty text gives none.
std::vector<Jump> findJumps(std::string_view text);

// The warning shown when renumbering left jumps as they were. `lines`: 1-based line numbers,
// ascending; the message names the first ten and says how many more there are. Empty for no
// lines.
QString unfollowedJumpsMessage(const std::vector<std::size_t>& lines);

} // namespace ordalvex
