#pragma once

#include <QStringView>

namespace ordalvex {

// Finds `word` in `text` from its start, ignoring case, as a whole word: the match may not
// split a word of the text, that is, where a letter, digit or "_" of the match meets the text
// around it, that neighbour must not be one too. Returns the position of the first such
// match (in UTF-16 units of `text`), or -1 when there is none or `word` is empty.
qsizetype findWholeWord(QStringView text, QStringView word);

} // namespace ordalvex
