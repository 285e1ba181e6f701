#include "document/ui/richtextbuilder.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace ordalvex {

QFont documentFont(const RtfDocument& rtf, const QFont& fallbackFont) {
    QFont font = fallbackFont;
    if (rtf.formats.empty())
        return font;
    const RtfCharFormat& first = rtf.formats.front();
    if (first.font >= 0 && static_cast<std::size_t>(first.font) < rtf.fonts.size() &&
        !rtf.fonts[static_cast<std::size_t>(first.font)].isEmpty())
        font.setFamily(rtf.fonts[static_cast<std::size_t>(first.font)]);
    if (first.halfPoints > 0)
        font.setPointSizeF(first.halfPoints / 2.0);
    return font;
}

std::unique_ptr<QTextDocument> buildPlainDocument(QString text, const QFont& font) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(font);
    QTextCursor cursor(doc.get());
    cursor.insertText(editorLineEnds(std::move(text)), plainProgramFormat());
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    return doc;
}

void handOverDocument(QTextDocument& doc, QThread* target) {
    createLineLayouts(doc);
    doc.moveToThread(target);
}

QTextCharFormat plainProgramFormat() {
    QTextCharFormat plain;
    plain.setForeground(QColor(Qt::black));
    plain.setFontWeight(QFont::Normal);
    plain.setFontItalic(false);
    plain.setFontUnderline(false);
    plain.setFontStrikeOut(false);
    return plain;
}

QString editorLineEnds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void createLineLayouts(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        block.layout();
}

std::unique_ptr<QTextDocument> buildDocument(const RtfDocument& rtf, const QFont& fallbackFont) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    const QFont baseFont = documentFont(rtf, fallbackFont);
    doc->setDefaultFont(baseFont);

    std::vector<QTextCharFormat> formats;
    formats.reserve(rtf.formats.size());
    for (const RtfCharFormat& f : rtf.formats) {
        QTextCharFormat format;
        if (f.colour > 0 && static_cast<std::size_t>(f.colour) < rtf.colours.size() &&
            !rtf.colours[static_cast<std::size_t>(f.colour)].isAuto) {
            const RtfColour& c = rtf.colours[static_cast<std::size_t>(f.colour)];
            format.setForeground(QColor(c.red, c.green, c.blue));
        }
        format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(f.italic);
        formats.push_back(format);
    }

    QTextCursor cursor(doc.get());
    cursor.beginEditBlock();
    for (const RtfRun& run : rtf.runs)
        // A view of the run, not a copy: insertText copies it into the document anyway.
        cursor.insertText(QString::fromRawData(rtf.text.constData() + run.start, run.length),
                          formats[run.format]);
    cursor.endEditBlock();

    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    return doc;
}

} // namespace ordalvex
