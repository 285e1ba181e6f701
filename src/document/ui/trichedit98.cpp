#include "document/ui/trichedit98.h"

#include "common/core/codepage.h"
#include "common/ui/userinteraction.h"
#include "document/core/rtfreader.h"
#include "document/ui/richtextbuilder.h"
#include "document/ui/searcheditor.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>

namespace ordalvex {

namespace {

QString crlfFromWidget(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace

TRichEdit98::TRichEdit98(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(false);
    setUndoRedoEnabled(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connectDocument();
    watchText(document());
}

void TRichEdit98::watchText(QTextDocument* doc) {
    m_textBytes.reset();
    // Any change (format changes too) makes the kept bytes stale.
    connect(doc, &QTextDocument::contentsChange, this, [this] { m_textBytes.reset(); });
}

const std::string& TRichEdit98::textBytes() const {
    if (!m_textBytes)
        m_textBytes = documentBytes(*document());
    return *m_textBytes;
}

void TRichEdit98::connectDocument() {
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TRichEdit98::selectionChange,
            Qt::UniqueConnection);
    connect(this, &QPlainTextEdit::selectionChanged, this, &TRichEdit98::selectionChange,
            Qt::UniqueConnection);
}

bool TRichEdit98::loadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!m_plainRtf && view.substr(0, 5) == "{\\rtf") {
        const RtfReadResult read = readRtf(view);
        if (!read.document)
            return false;
        setRichText(*read.document);
    } else {
        setProgramText(cp1250::decode(view));
    }
    return true;
}

void TRichEdit98::setRichText(const RtfDocument& rtf) {
    adoptDocument(buildDocument(rtf, font()));
}

void TRichEdit98::adoptDocument(std::unique_ptr<QTextDocument> doc) {
    QPointer<QTextDocument> old = document();
    QTextDocument* fresh = doc.release();
    fresh->setParent(this);
    fresh->setDocumentLayout(new QPlainTextDocumentLayout(fresh));
    setFont(fresh->defaultFont());
    setDocument(fresh);
    if (old && old != fresh)
        old->deleteLater();
    connectDocument();
    watchText(fresh);
    Q_EMIT selectionChange();
}

void TRichEdit98::setProgramText(const QString& text) {
    const QTextCharFormat plain = plainProgramFormat();
    document()->setUndoRedoEnabled(false);
    setPlainText(editorLineEnds(text));
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.setCharFormat(plain);
    document()->setUndoRedoEnabled(true);
    setCurrentCharFormat(plain);
}

void TRichEdit98::beginUpdate() {
    if (m_updateDepth++ == 0)
        viewport()->setUpdatesEnabled(false);
}

void TRichEdit98::endUpdate() {
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0) {
        viewport()->setUpdatesEnabled(true);
        viewport()->update();
    }
}

int TRichEdit98::lineCount() const {
    const QTextDocument* doc = document();
    // The empty line after a final line end is not a line of the text.
    if (doc->isEmpty())
        return 0;
    const int count = doc->blockCount();
    return doc->lastBlock().length() <= 1 ? count - 1 : count;
}

QString TRichEdit98::line(int index) const {
    const QTextBlock block = document()->findBlockByNumber(index);
    return block.isValid() ? block.text() : QString();
}

qsizetype TRichEdit98::textLength() const {
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

QString TRichEdit98::text() const {
    // Built from the blocks: toPlainText() would turn no-break spaces into plain ones.
    QString all;
    all.reserve(textLength());
    const QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            all += QLatin1Char('\n');
        all += block.text();
    }
    return crlfFromWidget(all);
}

QString TRichEdit98::selectedText() const {
    return crlfFromWidget(textCursor().selectedText());
}

void TRichEdit98::setText(const QString& text) {
    setPlainText(editorLineEnds(text));
}

qsizetype TRichEdit98::crlfStartOfBlock(int blockNumber) const {
    return document()->findBlockByNumber(blockNumber).position() + blockNumber;
}

qsizetype TRichEdit98::toWidgetPosition(qsizetype pos) const {
    if (pos <= 0)
        return 0;
    const QTextDocument* doc = document();
    // Binary search for the last line whose CR LF start is at or before pos.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (crlfStartOfBlock(mid) <= pos)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype offset = std::min<qsizetype>(pos - (block.position() + lo), block.length() - 1);
    return block.position() + offset;
}

qsizetype TRichEdit98::fromWidgetPosition(qsizetype pos) const {
    const QTextBlock block = document()->findBlock(static_cast<int>(pos));
    return pos + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

qsizetype TRichEdit98::selStart() const {
    return fromWidgetPosition(textCursor().selectionStart());
}

qsizetype TRichEdit98::selLength() const {
    const QTextCursor c = textCursor();
    return fromWidgetPosition(c.selectionEnd()) - fromWidgetPosition(c.selectionStart());
}

void TRichEdit98::setSelStart(qsizetype pos) {
    setSelection(pos, 0);
}

void TRichEdit98::setSelLength(qsizetype len) {
    setSelection(selStart(), len);
}

void TRichEdit98::setSelection(qsizetype start, qsizetype length) {
    const qsizetype total = textLength();
    start = std::clamp<qsizetype>(start, 0, total);
    const qsizetype end = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), start, total);
    QTextCursor c(document());
    c.setPosition(static_cast<int>(toWidgetPosition(start)));
    c.setPosition(static_cast<int>(toWidgetPosition(end)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TRichEdit98::setSelText(const QString& text) {
    QTextCursor c = textCursor();
    c.insertText(editorLineEnds(text), currentCharFormat());
    setTextCursor(c);
}

int TRichEdit98::caretLine() const {
    return textCursor().blockNumber();
}

qsizetype TRichEdit98::caretColumn() const {
    return textCursor().positionInBlock();
}

void TRichEdit98::setCaretLineColumn(int line, int column) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    setSelStart(crlfStartOfBlock(line) + column);
}

bool TRichEdit98::modified() const {
    return document()->isModified();
}
void TRichEdit98::setModified(bool on) {
    document()->setModified(on);
}

void TRichEdit98::clearUndo() {
    document()->clearUndoRedoStacks();
}
bool TRichEdit98::canUndo() const {
    return document()->isUndoAvailable();
}
bool TRichEdit98::canRedo() const {
    return document()->isRedoAvailable();
}

void TRichEdit98::deleteSelection() {
    QTextCursor c = textCursor();
    c.removeSelectedText();
    setTextCursor(c);
}

void TRichEdit98::hideSelection(bool hide) {
    if (m_selectionHidden == hide)
        return;
    m_selectionHidden = hide;
    // Freezing the viewport keeps the program's own selection moves out of sight.
    if (hide)
        beginUpdate();
    else
        endUpdate();
}

void TRichEdit98::setSelectionBold(bool bold) {
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    mergeCurrentCharFormat(format);
}

void TRichEdit98::setDefaultFormat() {
    setCurrentCharFormat(plainProgramFormat());
}

void TRichEdit98::setEditorFont(const QString& name, int pointSize) {
    QFont f = font();
    if (!name.isEmpty())
        f.setFamily(name);
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setStyleHint(QFont::TypeWriter);
    setFont(f);
    document()->setDefaultFont(f);
}

void TRichEdit98::setBusyCursor(bool busy) {
    if (busy)
        viewport()->setCursor(Qt::WaitCursor);
    else
        viewport()->setCursor(Qt::IBeamCursor);
}

void TRichEdit98::printDocument(QPrinter* printer) const {
    document()->print(printer);
}

void TRichEdit98::cut() {
    if (isReadOnly() || !textCursor().hasSelection())
        return;
    copy();
    deleteSelection();
}

void TRichEdit98::copy() {
    if (!textCursor().hasSelection())
        return;
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    interaction().setClipboardText(text);
}

void TRichEdit98::paste() {
    if (isReadOnly())
        return;
    const QString text = interaction().clipboardText();
    if (text.isEmpty())
        return;
    QTextCursor c = textCursor();
    c.insertText(editorLineEnds(text), currentCharFormat());
    setTextCursor(c);
}

void TRichEdit98::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText())
        return;
    QTextCursor c = textCursor();
    c.insertText(editorLineEnds(source->text()), currentCharFormat());
    setTextCursor(c);
}

void TRichEdit98::keyPressEvent(QKeyEvent* event) {
    // The clipboard goes through the program's own seam, never the widget's direct access.
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::Cut) {
        cut();
        return;
    }
    if (event == QKeySequence::Paste) {
        paste();
        return;
    }
    Q_EMIT keyDown(event->key(), static_cast<int>(event->nativeVirtualKey()),
                   event->modifiers().testFlag(Qt::KeypadModifier));
    const QString typed = event->text();
    if (typed.size() == 1 && !isReadOnly() && (typed[0].isPrint() || typed[0] == QLatin1Char('\b'))) {
        QChar ch = typed[0];
        Q_EMIT keyPress(ch);
        if (ch.isNull())
            return;
        if (ch != typed[0] && ch != QLatin1Char('\b')) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(ch),
                              event->isAutoRepeat(), static_cast<quint16>(event->count()));
            QPlainTextEdit::keyPressEvent(&changed);
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TRichEdit98::mousePressEvent(QMouseEvent* event) {
    Q_EMIT mouseDown(event->button());
    QPlainTextEdit::mousePressEvent(event);
}

void TRichEdit98::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    QPlainTextEdit::mouseMoveEvent(event);
}

void TRichEdit98::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    Q_EMIT focusLeft();
}

} // namespace ordalvex
