#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ordalvex {

// Drops the spaces between the words of program text (Windows-1250 bytes; CR LF, lone CR and
// lone LF are each one line end). A comment, from "(" to the next ")" or the end of the text
// (over line ends if it is not closed), is copied unchanged, spaces and line ends included.
// Outside comments every space is dropped, every line that still holds something keeps its
// own line end, and lines left empty (blank or spaces only) are dropped with their line end.
// Every other byte is copied. Empty input gives empty output.
std::string removeSpaces(std::string_view text);

// State of the word splitter between two calls of nextWord: the one-character lookahead and
// whether a run of letters was just cut before a ".". `pending` is a byte (0 to 255), kEnd at
// the end of the text, or kStart, which makes the first call return an empty word and read the
// first character.
struct WordSplitState {
    static constexpr int kStart = -2;
    static constexpr int kEnd = -1;
    int pending = kStart;
    bool afterDot = false;
};

// Returns the next word of `text`, starting at the pending character, and advances `position`
// (always one past the pending character; it passes text.size() once the end is read).
// Words: a word-start character ("#", "%", ":", "A"-"Z") and what follows up to a letter-word
// stop; "." or a digit and what follows up to a number-word stop (so a number takes in "."
// and lower-case letters); a comment from "(" to its ")" or the end of its line; otherwise one
// character. Every line end character (CR, LF) stops a word and ends a comment. A run of
// letters directly before a "." comes back in two pieces: AB.5 gives "A " then "B" then ".5".
// May return an empty word (the first call, and a single letter before a ".").
std::string nextWord(std::string_view text, std::size_t& position, WordSplitState& state);

// Puts one space before each address word of squeezed program text (bytes, any line ends):
// N10G01X10Y-20.5F100 gives N10 G01 X10 Y-20.5 F100. A letter word (first character "#",
// "(", "@", "A"-"Z" or "[") gets a space when the word before it was a number (first
// character a digit or "]") or a relational word (EQ NE LT LE GT GE); a number gets one after
// a relational word. Spaces, line ends and signs already there are kept and never doubled.
// The result is at most twice as long as the input; empty input gives empty output.
std::string insertSpaces(std::string_view text);

} // namespace ordalvex
