#include "document/ui/searcheditor.h"

#include "common/core/codepage.h"
#include "document/core/patternsearch.h"
#include "document/core/programname.h"
#include "document/ui/trichedit98.h"

#include <algorithm>

#include <QTextDocument>

namespace ordalvex {

namespace {

constexpr char kNoByte = 0x7F;

} // namespace

std::string editorBytes(const TRichEdit98& editor) {
    return documentBytes(*editor.document());
}

std::string documentBytes(const QTextDocument& doc) {
    // One copy of the raw text is far cheaper than a QString per line on long programs.
    const QString raw = doc.toRawText();
    // characterCount() includes the separator that ends the last line, which is not text.
    const qsizetype length = std::min(qsizetype(doc.characterCount()) - 1, raw.size());
    const qsizetype lineEnds = std::count(raw.cbegin(), raw.cbegin() + length, QChar::ParagraphSeparator);
    std::string bytes(static_cast<std::size_t>(length + lineEnds), '\0');
    char* out = bytes.data();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t ch = raw[i].unicode();
        if (ch < 0x80) {
            *out++ = static_cast<char>(ch);
        } else if (ch == QChar::ParagraphSeparator) {
            *out++ = '\r';
            *out++ = '\n';
        } else {
            const auto byte = cp1250::fromUnicode(ch);
            *out++ = byte ? static_cast<char>(*byte) : kNoByte;
        }
    }
    return bytes;
}

std::optional<QString> programNameIn(std::string_view bytes) {
    const auto name = findProgramName(bytes);
    if (!name)
        return std::nullopt;
    return cp1250::decode(bytes.substr(name->start, name->length));
}

bool SearchEditor(TRichEdit98& editor, const QString& pattern, unsigned options) {
    if (pattern.isEmpty())
        return false;
    const std::string& text = editor.textBytes();
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
