#pragma once

#include "document/core/styledtext.h"
#include "document/ui/qscintilla.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QHash>
#include <QKeySequence>
#include <Qsci/qsciprinter.h>

class QTimer;

namespace ordalvex {

class LoadedText;

// The program's text control: a text editor that keeps a format (colour, bold, italic,
// underline) per character. Positions and lengths given to and returned by this class count
// characters, a line end as two (CR LF), as in the plain text the program saves; the engine
// below holds the text as UTF-8 with CR LF line ends and one style per byte, lays out only
// the lines on screen, and converts positions through its line character index.
class TRichEdit98 : public QsciScintilla {
    Q_OBJECT
public:
    explicit TRichEdit98(QWidget* parent = nullptr);
    ~TRichEdit98() override;

    // Loading. With the plain-RTF flag off, a file that starts as RTF is shown formatted;
    // otherwise its bytes are shown as Windows-1250 text. loadLines returns false (the contents
    // unchanged) when the file cannot be read.
    void setPlainRtf(bool on) { m_plainRtf = on; }
    bool loadLines(const QString& path);
    // The same for a file's bytes already read; false for RTF that cannot be read.
    bool showFileBytes(std::string_view bytes);
    void setRichText(const RtfDocument& rtf);
    void setProgramText(const QString& text); // plain text in the default format
    // Replaces the whole text with `text` (undo history kept unless `undoable` is false, in
    // which case the history is cleared); one undo step.
    void setStyledText(const StyledText& text, bool undoable = false);
    // Takes a text built off the interface thread (see LoadedText) as the whole new contents,
    // without undo history. Its formats are applied in slices on later turns of the event
    // loop; `applied` runs when they all are (never when the editor goes away first).
    void adoptText(std::unique_ptr<LoadedText> text, std::function<void()> applied);
    bool stylingPending() const { return m_styling != nullptr; }

    // Batch updates: no repaint between the outermost begin and end; pairs nest.
    void beginUpdate();
    void endUpdate();

    int lineCount() const;
    QString line(int index) const;
    qsizetype textLength() const;
    QString text() const; // CR LF line ends
    // The whole text as UTF-8, CR LF line ends, straight from the engine's buffer (valid until
    // the next change).
    std::string_view utf8() const;
    // The text as Windows-1250 bytes, one per character position (a character without a byte
    // becomes 0x7F, which no pattern byte other than "?" matches), kept until the text next
    // changes, so that repeated searches of a long program convert it once.
    const std::string& textBytes() const;
    QString selectedText() const; // CR LF line ends
    void setText(const QString& text);

    qsizetype selStart() const;
    qsizetype selLength() const;
    void setSelStart(qsizetype pos);  // empties the selection
    void setSelLength(qsizetype len); // from the selection start
    void setSelection(qsizetype start, qsizetype length);
    void setSelText(const QString& text);
    // Replaces [start, start + length) by `text` in the format `format`.
    void replaceRange(qsizetype start, qsizetype length, const QString& text, const TextFormat& format);

    int caretLine() const;
    // Characters from the start of the caret's line to the caret.
    qsizetype caretColumn() const;
    void setCaretLineColumn(int line, int column);

    bool modified() const;
    void setModified(bool on);

    void clearUndo();
    bool canUndo() const;
    bool canRedo() const;
    void deleteSelection();
    // Groups the changes between begin and end into one undo step.
    void beginUndoStep();
    void endUndoStep();

    // Selection moves made by the program stay unseen while hidden.
    void hideSelection(bool hide);
    void setSelectionBold(bool bold); // the style of text typed or pasted next
    void setDefaultFormat();          // black, no bold, italic or underline
    // The format of the character at `pos`.
    TextFormat formatAt(qsizetype pos) const;
    void setEditorFont(const QString& name, qreal pointSize);
    void setEditorFont(const QFont& font);
    QFont editorFont() const { return m_font; }
    void setBusyCursor(bool busy);

    // Prints the whole text in its colours (see ProgramPrinter).
    void printDocument(QsciPrinter& printer);

    // Position conversion between characters and the engine's bytes.
    long toByte(qsizetype pos) const;
    qsizetype fromByte(long byte) const;

public Q_SLOTS:
    void cut() override;
    void copy() override;
    void paste() override;
    void undo() override;
    void redo() override;
    void selectAll(bool select = true) override;

Q_SIGNALS:
    void selectionChange();
    // An editing key (copy, cut, paste, undo, redo, select all) was pressed; when something is
    // connected, it runs the command instead of the editor.
    void commandKey(QKeySequence::StandardKey key);
    void keyDown(int key, int nativeVirtualKey, bool keypad);
    // Raised before a typed character is inserted; a handler may change it or set it to 0.
    void keyPress(QChar& ch);
    void mouseDown(Qt::MouseButton button);
    void mouseMoved();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Styling;
    struct FormatRecord;
    void modifiedNotice(int position, int type, const char* text, int length, int linesAdded, int line,
                        int foldNow, int foldPrev, int token, int annotations);
    int styleFor(const TextFormat& format);
    long engineByte(qsizetype pos) const;
    std::string_view bytesBetween(long start, long end) const;
    void defineStyle(int style, const TextFormat& format);
    void insertPlain(const QString& text);
    void applyStyles(long start, std::string_view styles);
    void applyPendingStyles();
    void applyStylingSlice();
    void finishStyling();
    void checkInsertedText() const;
    void ensureIndex() const;
    void resetDocumentState();
    std::string stylesOf(long start, long length) const;
    void noteSelection();
    bool runCommandKey(QKeyEvent* event);

    bool m_plainRtf = false;
    int m_updateDepth = 0;
    bool m_selectionHidden = false;
    mutable bool m_indexed = false;                                // the engine keeps a UTF-16 line index
    mutable bool m_mayHoldNonAscii = false;                        // the text may hold letters beyond ASCII
    mutable std::vector<std::pair<long, long>> m_uncheckedInserts; // inserted since the last look
    bool m_forcedModified = false;
    bool m_recording = true;                     // keep formats of changes for undo and redo
    const std::string* m_insertStyles = nullptr; // styles of the text being inserted, when given
    int m_insertStyle = 0;                       // else the style of inserted text
    long m_lastAnchor = -1, m_lastCaret = -1;
    TextFormat m_current;
    QFont m_font;
    std::vector<TextFormat> m_styles;          // by style number
    QHash<quint64, int> m_styleNumbers;        // format key -> style number
    std::vector<FormatRecord> m_records;       // formats of changed text, for undo and redo
    std::vector<FormatRecord> m_pendingStyles; // inserted text still to style
    std::unique_ptr<Styling> m_styling;
    mutable std::optional<std::string> m_textBytes;
};

// The printer of a program: the editor's text in its colours, unwrapped, with the page number
// centred under each page.
class ProgramPrinter : public QsciPrinter {
public:
    explicit ProgramPrinter(PrinterMode mode = ScreenResolution);
    void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override;
};

// A text prepared for the editor off the interface thread: the engine's document already
// filled, and the styles still to apply.
class LoadedText {
public:
    // A loader of the editor's engine. Its buffer grows as the worker fills it: reserving the
    // whole size up front would clear that much memory on the interface thread.
    explicit LoadedText(TRichEdit98& editor);
    ~LoadedText();
    LoadedText(const LoadedText&) = delete;
    LoadedText& operator=(const LoadedText&) = delete;
    // Fills the document with `text` (callable on any thread); keeps its styles and formats.
    bool fill(StyledText&& text);

private:
    friend class TRichEdit98;
    void* m_loader = nullptr; // the engine's loader, until the editor takes the document
    std::string m_styles;
    std::vector<TextFormat> m_formats;
    bool m_ascii = true;
};

} // namespace ordalvex
