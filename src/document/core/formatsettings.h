#pragma once

#include <QString>

namespace ordalvex {

// The display settings of documents: the main window holds the master copy (settings
// section "Format"), every document window and the file browser a copy of their own.
struct FormatSettings {
    bool SyntaxHighlighting = true;          // load texts coloured
    bool SyntaxHighlightingOnWriting = true; // typed and pasted text upper-case and bold
    QString FontName;                        // editor font family
    int FontSize = 0;                        // editor font size in points
    bool operator==(const FormatSettings&) const = default;
};

// Where a document window stands, exchanged with the saving and restoring of open windows.
struct DocumentPlacement {
    int Left = 0;
    int Top = 0;
    int Height = 0;
    int Width = 0;
    qsizetype SelStart = 0; // caret position, line ends counted as two characters
    QString FileName;
};

} // namespace ordalvex
