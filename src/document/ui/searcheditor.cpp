#include "document/ui/searcheditor.h"

#include "common/core/codepage.h"
#include "document/core/patternsearch.h"
#include "document/ui/trichedit98.h"

#include <QTextBlock>

namespace ordalvex {

namespace {

constexpr char kNoByte = 0x7F;

void appendEncoded(std::string& out, QStringView text) {
    for (QChar ch : text) {
        const auto byte = cp1250::fromUnicode(ch.unicode());
        out += byte ? static_cast<char>(*byte) : kNoByte;
    }
}

} // namespace

std::string editorBytes(const TRichEdit98& editor) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(editor.textLength()));
    const QTextDocument* doc = editor.document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            bytes += "\r\n";
        appendEncoded(bytes, block.text());
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
