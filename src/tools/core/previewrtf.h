#pragma once

#include "document/core/cnctokenizer.h"

#include <functional>
#include <string>
#include <string_view>

namespace ordalvex {

// The renumbering preview's style string for a token class: block numbers bold navy,
// program numbers bold black, comments red, signs grey italic, every other word and operator
// grey; empty for spaces, line ends and other characters, which take the style in force.
std::string_view previewStyleStringFor(TokenClass cls);

// The preview's font, as its RTF header names it.
inline constexpr const char* kPreviewFontName = "Courier New";
inline constexpr double kPreviewPointSize = 11.5;

// Converts program text (Windows-1250 bytes, any line ends) to the RTF of the renumbering
// preview, appended to `out`: the fixed header with "Courier New" as font 3, the editor's
// colour table, 11.5 points ("\fs23"), then each token upper-cased with the preview's style
// string, "\par " per line end, TAB as "\tab ", "\", "{" and "}" escaped, and a closing
// "\par }". A text that begins with a space gets one delimiter space after "\fs23" so that
// its first space survives. `yield`, when given, is called every few thousand tokens so that a
// caller can keep its interface responsive; it must not touch `text` or `out`.
void previewToRtf(std::string_view text, std::string& out, const std::function<void()>& yield = {});

} // namespace ordalvex
