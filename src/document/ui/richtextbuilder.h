#pragma once

#include "document/core/rtfreader.h"

#include <memory>

#include <QFont>

class QTextDocument;

namespace ordalvex {

// Builds a text document from read RTF: one insert per run of one format, undo off. Safe to
// call on a worker thread: nothing in it is laid out or shaped yet (font engines made on a
// worker die with the thread); the editor gives it its layout on the interface thread. The
// document has no parent; move it to the interface thread before use. `fallbackFont` is used where the RTF
// names no font or size.
std::unique_ptr<QTextDocument> buildDocument(const RtfDocument& rtf, const QFont& fallbackFont);

// The font the RTF's text is set in (the first run's font and size), or `fallbackFont`.
QFont documentFont(const RtfDocument& rtf, const QFont& fallbackFont);

} // namespace ordalvex
