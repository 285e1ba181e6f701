#include "browser/core/wholeword.h"

namespace ordalvex {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

qsizetype findWholeWord(QStringView text, QStringView word) {
    if (word.isEmpty())
        return -1;
    for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + word.size();
        const bool startsClean = at == 0 || !isWordChar(text[at - 1]) || !isWordChar(text[at]);
        const bool endsClean = end == text.size() || !isWordChar(text[end]) || !isWordChar(text[end - 1]);
        if (startsClean && endsClean)
            return at;
    }
    return -1;
}

} // namespace ordalvex
