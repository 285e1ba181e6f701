#pragma once

#include "document/core/highlighter.h"
#include "document/core/rtfreader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ordalvex {

// A character format of the editor's text. The font is the editor's own, the same for all.
struct TextFormat {
    std::uint32_t rgb = 0; // 0xRRGGBB; black is the default text colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const TextFormat&) const = default;
};

// Text ready for the editor: UTF-8 with every line end CR LF, and for every byte of it the
// index of its format in `formats`.
struct StyledText {
    std::string utf8;
    std::string styles; // one format index per byte of utf8
    std::vector<TextFormat> formats;
    bool ascii = true; // utf8 holds no byte above 127
};

// The program (Windows-1250 bytes, any line ends) as the coloured editor shows it: words
// upper-cased and coloured by their class exactly as the highlighter's RTF reads back, spaces,
// line ends and other characters in the format in force before them. `styleFor` gives each
// class's RTF style string (the editor's by default; the renumbering preview has its own).
StyledText colouredProgram(std::string_view bytes, std::string_view (*styleFor)(TokenClass) = styleStringFor);

// The program as plain black text.
StyledText plainProgram(std::string_view bytes);

// The text and formats of a read RTF document (paragraph ends become CR LF).
StyledText styledFromRtf(const RtfDocument& rtf);

} // namespace ordalvex
