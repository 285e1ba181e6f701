#pragma once

#include "document/core/cnctokenizer.h"

#include <functional>
#include <string>
#include <string_view>

namespace ordalvex {

// The RTF style string written before a token of the given class ("\cf4\b0\i0 " for a
// keyword); empty for spaces, line ends and other characters, which take the style in force.
std::string_view styleStringFor(TokenClass cls);

// Converts program text to the coloured RTF document the editor loads: the fixed header,
// font table (FontName as font 3), colour table, "\fs" with twice FontSize, one style string
// and the upper-cased text per token, "\par " per line end, and a closing "\par }".
// `text` and `fontName` are Windows-1250 bytes; the result is appended to `out`. Every byte of
// the text reaches the output (TAB as "\tab ", "\", "{" and "}" escaped); a text that begins
// with a space gets one delimiter space after "\fsN" so that its first space survives.
void highlightToRtf(std::string_view text, std::string& out, std::string_view fontName, int fontSize);

// Writes the tokens of `text` as RTF: `styleFor` gives the style string written before each
// word, operator and sign; spaces take the style in force, line ends become "\par ", TAB
// "\tab ", other characters are written as they are. A text that begins with a space gets one
// delimiter space first. `yield`, when set, is called every few thousand tokens so a caller on
// the interface thread can let events through. Appends "\par }" at the end.
void writeRtfBody(std::string_view text, std::string& out, std::string_view (*styleFor)(TokenClass),
                  const std::function<void()>& yield = {});

// Just the header, font table, colour table and font size, as written before the tokens.
void writeRtfHeader(std::string& out, std::string_view fontName, int fontSize);

// Appends a token's text upper-cased and escaped for RTF.
void appendRtfText(std::string& out, std::string_view text);

} // namespace ordalvex
