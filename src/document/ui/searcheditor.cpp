#include "document/ui/searcheditor.h"

#include "common/core/codepage.h"
#include "document/core/patternsearch.h"
#include "document/core/programname.h"
#include "document/ui/trichedit98.h"

#include <algorithm>

namespace ordalvex {

std::optional<QString> programNameInUtf8(std::string_view utf8) {
    // The patterns are ASCII, so they stand at the same places in the UTF-8 text; the name is
    // cut after its characters are known.
    const auto name = findProgramName(utf8, utf8.size());
    if (!name)
        return std::nullopt;
    const std::string_view span = utf8.substr(name->start, name->length);
    return QString::fromUtf8(span.data(), qsizetype(span.size())).left(kProgramNameLength);
}

namespace {

// The pattern as Windows-1250 bytes; nothing for a character the code page lacks.
std::optional<std::string> encodedPattern(const QString& pattern) {
    std::string bytes;
    for (QChar ch : pattern) {
        const auto byte = cp1250::fromUnicode(ch.unicode());
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

} // namespace

bool SelectionMatches(const TRichEdit98& editor, const QString& pattern, unsigned options) {
    const qsizetype start = editor.selStart();
    if (pattern.isEmpty() || editor.selLength() != pattern.size())
        return false;
    const auto bytes = encodedPattern(pattern);
    if (!bytes)
        return false;
    const std::string& text = editor.textBytes();
    // A forward search from just before the selection finds it first when it matches.
    const std::optional<std::size_t> found = start == 0
                                                 ? SearchBuffer(text, 0, 0, *bytes, options | frDown)
                                                 : SearchBuffer(text, start - 1, 1, *bytes, options | frDown);
    return found && qsizetype(*found) == start;
}

bool SearchEditor(TRichEdit98& editor, const QString& pattern, unsigned options) {
    if (pattern.isEmpty())
        return false;
    const std::string& text = editor.textBytes();
    if (text.empty())
        return false;
    const auto bytes = encodedPattern(pattern);
    if (!bytes)
        return false; // the text holds no such character either
    // The same step as `ordalvex-cnc find` takes.
    const auto next =
        FindNextSelection(text, BufferSelection{editor.selStart(), editor.selLength()}, *bytes, options);
    if (!next)
        return false;
    editor.setSelection(next->start, next->length);
    editor.ensureCursorVisible();
    return true;
}

} // namespace ordalvex
