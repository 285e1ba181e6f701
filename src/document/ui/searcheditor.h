#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace ordalvex {

class TRichEdit98;

// The editor's whole text as Windows-1250 bytes with CR LF line ends, one byte per character
// position of the editor (a character without a byte becomes 0x7F, which no pattern byte
// other than "?" matches), so offsets in it are editor positions.
std::string editorBytes(const TRichEdit98& editor);

// The program name shown in the window caption, found in the editor text's bytes (see
// findProgramName); nothing when the text names none.
std::optional<QString> programNameIn(std::string_view bytes);
// The same found in UTF-8 text.
std::optional<QString> programNameInUtf8(std::string_view utf8);

// Searches the editor's text from its current selection (see SearchBuffer for the pattern and
// options). When found, selects the match (pattern length) and returns true; otherwise, and
// for an empty pattern or text, leaves the selection alone and returns false.
bool SearchEditor(TRichEdit98& editor, const QString& pattern, unsigned options);

// Whether the editor's selection is a match of `pattern` under `options` (whole word and case
// included), as a search would have selected it.
bool SelectionMatches(const TRichEdit98& editor, const QString& pattern, unsigned options);

} // namespace ordalvex
