#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QPlainTextEdit>

class QPrinter;
class QTextDocument;

namespace ordalvex {

struct RtfDocument;

// The program's text control: a plain-text editor that keeps character formats (colour,
// bold, italic) in its document. Positions and lengths given to and returned by this class
// count every line end as two characters (CR LF), as in the plain text the program saves;
// the class converts them to the widget's own positions.
class TRichEdit98 : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TRichEdit98(QWidget* parent = nullptr);

    // Loading and saving. With the plain-RTF flag off, a file that starts as RTF is shown
    // formatted; otherwise its bytes are shown as Windows-1250 text. Both return false (the
    // contents unchanged) when the file cannot be read.
    void setPlainRtf(bool on) { m_plainRtf = on; }
    bool plainRtf() const { return m_plainRtf; }
    bool loadLines(const QString& path);
    // Replaces the contents with a document from buildDocument() (which has no document layout
    // yet).
    void adoptDocument(std::unique_ptr<QTextDocument> doc);
    void setRichText(const RtfDocument& rtf);
    void setProgramText(const QString& text); // plain text in the default format

    // Batch updates: no repaint between the outermost begin and end; pairs nest.
    void beginUpdate();
    void endUpdate();

    int lineCount() const;
    QString line(int index) const;
    qsizetype textLength() const;
    QString text() const; // lines joined by CR LF
    // The text as editorBytes() gives it, kept until the text next changes, so that repeated
    // searches of a long program convert it once (a byte per position: its size in memory).
    const std::string& textBytes() const;
    QString selectedText() const; // CR LF line ends
    void setText(const QString& text);

    qsizetype selStart() const;
    qsizetype selLength() const;
    void setSelStart(qsizetype pos);  // empties the selection
    void setSelLength(qsizetype len); // from the selection start
    void setSelection(qsizetype start, qsizetype length);
    void setSelText(const QString& text);

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

    // Selection moves made by the program stay unseen while hidden.
    void hideSelection(bool hide);
    void setSelectionBold(bool bold); // the style of text typed or pasted next
    void setDefaultFormat();          // black, no bold, italic, underline or strike-out
    void setEditorFont(const QString& name, int pointSize);
    void setBusyCursor(bool busy);

    void printDocument(QPrinter* printer) const;

    // Position conversion between the CR LF model and the widget.
    qsizetype toWidgetPosition(qsizetype pos) const;
    qsizetype fromWidgetPosition(qsizetype pos) const;

public Q_SLOTS:
    void cut();
    void copy();
    void paste();

Q_SIGNALS:
    void selectionChange();
    void keyDown(int key, int nativeVirtualKey, bool keypad);
    // Raised before a typed character is inserted; a handler may change it or set it to 0.
    void keyPress(QChar& ch);
    void mouseDown(Qt::MouseButton button);
    void mouseMoved();
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void connectDocument();
    void watchText(QTextDocument* doc);
    qsizetype crlfStartOfBlock(int blockNumber) const;

    bool m_plainRtf = false;
    int m_updateDepth = 0;
    bool m_selectionHidden = false;
    mutable std::optional<std::string> m_textBytes;
};

} // namespace ordalvex
