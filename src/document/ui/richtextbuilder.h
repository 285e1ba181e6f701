#pragma once

#include "document/core/rtfreader.h"

#include <memory>

#include <QFont>
#include <QString>
#include <QTextCharFormat>

class QTextDocument;
class QThread;

namespace ordalvex {

// Builds a text document from read RTF: one insert per run of one format, undo off. Safe to call on a worker
// thread: nothing in it is laid out or shaped yet (font engines made on a worker die with the thread); the
// editor gives it its layout on the interface thread. The document has no parent; move it to the interface
// thread before use. `fallbackFont` is used where the RTF names no font or size.
std::unique_ptr<QTextDocument> buildDocument(const RtfDocument& rtf, const QFont& fallbackFont);

// A document of `text` (line ends as in a program file) in the plain program format and
// `font`, undo off. Worker-safe as buildDocument.
std::unique_ptr<QTextDocument> buildPlainDocument(QString text, const QFont& font);

// The last step on the worker that built `doc`: gives it its line layouts (createLineLayouts)
// and moves it to `target`, the thread that will show it.
void handOverDocument(QTextDocument& doc, QThread* target);

// Black upright type of normal weight, neither underlined nor struck out: uncoloured text.
QTextCharFormat plainProgramFormat();

// CR LF, lone CR and lone LF all become the editor's single line end ("\n").
QString editorLineEnds(QString text);

// Gives every block of `doc` its (empty) line layout. The editor lays out every block again
// when it takes a document and creates the line layout of each block that has none: a million
// allocations on a long program. Called on the thread that built the document, they are not
// made on the interface thread. An empty line layout holds no font, so this is worker-safe.
void createLineLayouts(QTextDocument& doc);

// The font the RTF's text is set in (the first run's font and size), or `fallbackFont`.
QFont documentFont(const RtfDocument& rtf, const QFont& fallbackFont);

} // namespace ordalvex
