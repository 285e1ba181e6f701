#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace ordalvex {

class TRichEdit98;

// The program name shown in the window caption, found in UTF-8 text (see findProgramName);
// nothing when the text names none.
std::optional<QString> programNameInUtf8(std::string_view utf8);

// Searches the editor's text from its current selection (see SearchBuffer for the pattern and
// options). When found, selects the match (pattern length) and returns true; otherwise, and
// for an empty pattern or text, leaves the selection alone and returns false.
bool SearchEditor(TRichEdit98& editor, const QString& pattern, unsigned options);

// Whether the editor's selection is a match of `pattern` under `options` (whole word and case
// included), as a search would have selected it.
bool SelectionMatches(const TRichEdit98& editor, const QString& pattern, unsigned options);

} // namespace ordalvex
