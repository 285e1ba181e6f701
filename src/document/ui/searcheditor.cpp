#include "document/ui/searcheditor.h"

#include "common/core/codepage.h"
#include "document/core/patternsearch.h"
#include "document/ui/trichedit98.h"

#include <algorithm>

#include <QTextDocument>

namespace ordalvex {

namespace {

constexpr char kNoByte = 0x7F;

} // namespace

std::string editorBytes(const TRichEdit98& editor) {
    // One copy of the raw text is far cheaper than a QString per line on long programs.
    const QTextDocument* doc = editor.document();
    const QString raw = doc->toRawText();
    // characterCount() includes the separator that ends the last line, which is not text.
    const qsizetype length = doc->characterCount() - 1;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(length + doc->blockCount()));
    for (qsizetype i = 0; i < std::min(length, raw.size()); ++i) {
        const char16_t ch = raw[i].unicode();
        if (ch == QChar::ParagraphSeparator) {
            bytes += "\r\n";
            continue;
        }
        const auto byte = cp1250::fromUnicode(ch);
        bytes += byte ? static_cast<char>(*byte) : kNoByte;
    }
    return bytes;
}

bool SearchEditor(TRichEdit98& editor, const QString& pattern, unsigned options) {
    if (pattern.isEmpty())
        return false;
    const std::string text = editorBytes(editor);
    if (text.empty())
        return false;
    std::string encodedPattern;
    for (QChar ch : pattern) {
        const auto byte = cp1250::fromUnicode(ch.unicode());
        if (!byte)
            return false; // the text holds no such character either
        encodedPattern += static_cast<char>(*byte);
    }
    const auto found = SearchBuffer(text, editor.selStart(), editor.selLength(), encodedPattern, options);
    if (!found)
        return false;
    editor.setSelection(static_cast<qsizetype>(*found), pattern.size());
    editor.ensureCursorVisible();
    return true;
}

} // namespace ordalvex
