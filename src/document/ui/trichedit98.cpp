#include "document/ui/trichedit98.h"

#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/ui/userinteraction.h"
#include "document/core/rtfreader.h"

#include <algorithm>
#include <array>
#include <functional>

#include <QAccessibleWidget>
#include <QFile>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

namespace ordalvex {

// The engine's document loader: filled on any thread, then turned into a document that an
// editor takes. Declared here as the engine's interface gives it (three virtual methods), and
// outside the unnamed namespace: there the compiler would see no class implementing it and
// bind the calls to the pure declarations.
class EngineLoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
    virtual void* ConvertToDocument() = 0;

protected:
    ~EngineLoader() = default;
};

// Calls through the loader's interface. The undefined-behaviour sanitizer cannot know this
// declaration and the engine's are the same interface, so its type check is off here.
#if defined(__clang__) || defined(__GNUC__)
#define ORDALVEX_ENGINE_CALL __attribute__((no_sanitize("vptr")))
#else
#define ORDALVEX_ENGINE_CALL
#endif

ORDALVEX_ENGINE_CALL int releaseLoader(void* loader) {
    return static_cast<EngineLoader*>(loader)->Release();
}

ORDALVEX_ENGINE_CALL int addToLoader(void* loader, const char* data, std::ptrdiff_t length) {
    return static_cast<EngineLoader*>(loader)->AddData(data, length);
}

ORDALVEX_ENGINE_CALL void* documentOfLoader(void* loader) {
    return static_cast<EngineLoader*>(loader)->ConvertToDocument();
}

namespace {

// The editor's accessible interface: a plain editable-text widget. The engine's own interface
// counts the characters up to the caret from the start of the text on every caret move and
// every change (long on a million-line program) even where no assistive technology listens;
// installed after the engine's factory, this one is asked first.
QAccessibleInterface* editorAccessible(const QString&, QObject* object) {
    if (auto* editor = qobject_cast<TRichEdit98*>(object))
        return new QAccessibleWidget(editor, QAccessible::EditableText);
    return nullptr;
}

// Style numbers the engine reserves for its own use (default, margins, braces, ...).
constexpr int kFirstReserved = QsciScintillaBase::STYLE_DEFAULT;
constexpr int kLastReserved = QsciScintillaBase::STYLE_LASTPREDEFINED;
constexpr int kStyleCount = 256;
// The changes the editor hears of. No "performed by" bits: a notice is sent when any bit of
// its type is in the mask, and every change is performed by someone.
constexpr long kModEvents = QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE |
                            QsciScintillaBase::SC_MOD_CONTAINER;
// Bytes styled per turn of the event loop after a load: a few milliseconds each.
constexpr std::size_t kStylingSlice = std::size_t(1) << 20;

quint64 formatKey(const TextFormat& f) {
    return quint64(f.rgb) | (quint64(f.bold) << 24) | (quint64(f.italic) << 25) |
           (quint64(f.underline) << 26);
}

QString crlf(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

bool hasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 127; });
}

} // namespace

struct TRichEdit98::Styling {
    std::string styles;          // what the loaded text's bytes still need, by format index
    std::array<char, 256> lut{}; // format index -> style number
    bool identity = false;       // the indices are the style numbers
    std::size_t next = 0;
    std::function<void()> applied;
    QTimer timer;
};

struct TRichEdit98::FormatRecord {
    long position = 0;
    std::string styles;
    bool deleted = false; // the styles of removed text (back on undo); else of inserted text (back on redo)
};

LoadedText::LoadedText(TRichEdit98& editor) {
    m_loader = reinterpret_cast<void*>(editor.SendScintilla(
        QsciScintillaBase::SCI_CREATELOADER, 0UL, long(QsciScintillaBase::SC_DOCUMENTOPTION_DEFAULT)));
}

LoadedText::~LoadedText() {
    if (m_loader)
        releaseLoader(m_loader);
}

bool LoadedText::fill(StyledText&& text) {
    if (!m_loader)
        return false;
    constexpr std::size_t kPiece = std::size_t(1) << 24;
    for (std::size_t at = 0; at < text.utf8.size(); at += kPiece) {
        const std::size_t n = std::min(kPiece, text.utf8.size() - at);
        if (addToLoader(m_loader, text.utf8.data() + at, static_cast<std::ptrdiff_t>(n)) != 0)
            return false;
    }
    text.utf8 = std::string();
    m_styles = std::move(text.styles);
    m_formats = std::move(text.formats);
    m_ascii = text.ascii;
    return true;
}

TRichEdit98::TRichEdit98(QWidget* parent) : QsciScintilla(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(editorAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setUtf8(true);
    setEolMode(QsciScintilla::EolWindows);
    setWrapMode(QsciScintilla::WrapNone);
    setFrameShape(QFrame::NoFrame);
    for (int margin = 0; margin < 5; ++margin)
        setMarginWidth(margin, 0);
    SendScintilla(SCI_USEPOPUP, 0L);
    SendScintilla(SCI_SETMODEVENTMASK, kModEvents);
    // No lexer: every style is set by this class.
    SendScintilla(SCI_SETLEXER, long(SCLEX_CONTAINER));
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    m_styles.resize(kStyleCount);
    m_font = QFont(QStringLiteral("Courier New"), 10);
    m_font.setStyleHint(QFont::TypeWriter);
    setEditorFont(QString(), 0);
    m_insertStyle = styleFor(m_current);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &TRichEdit98::modifiedNotice);
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { noteSelection(); });
    // Commands of the engine that the program does not offer (some would reach the clipboard
    // past its seam).
    for (QsciCommand::Command command :
         {QsciCommand::LineCut, QsciCommand::LineCopy, QsciCommand::LineDelete, QsciCommand::LineTranspose,
          QsciCommand::LineDuplicate, QsciCommand::SelectionDuplicate, QsciCommand::SelectionLowerCase,
          QsciCommand::SelectionUpperCase, QsciCommand::SelectionCut, QsciCommand::SelectionCopy,
          QsciCommand::Paste, QsciCommand::Undo, QsciCommand::Redo, QsciCommand::SelectAll}) {
        if (QsciCommand* found = standardCommands()->find(command)) {
            found->setKey(0);
            found->setAlternateKey(0);
        }
    }
}

TRichEdit98::~TRichEdit98() = default;

// Formats and styles ---------------------------------------------------------------------------

void TRichEdit98::defineStyle(int style, const TextFormat& format) {
    const QColor colour(QRgb(0xFF000000u | format.rgb));
    SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(style), colour);
    SendScintilla(SCI_STYLESETBACK, static_cast<unsigned long>(style), QColor(Qt::white));
    SendScintilla(SCI_STYLESETBOLD, static_cast<unsigned long>(style), long(format.bold));
    SendScintilla(SCI_STYLESETITALIC, static_cast<unsigned long>(style), long(format.italic));
    SendScintilla(SCI_STYLESETUNDERLINE, static_cast<unsigned long>(style), long(format.underline));
    const QByteArray family = m_font.family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<unsigned long>(style), family.constData());
    SendScintilla(SCI_STYLESETSIZEFRACTIONAL, static_cast<unsigned long>(style),
                  long(qRound(m_font.pointSizeF() * 100)));
}

int TRichEdit98::styleFor(const TextFormat& format) {
    const quint64 key = formatKey(format);
    const auto found = m_styleNumbers.constFind(key);
    if (found != m_styleNumbers.constEnd())
        return found.value();
    int style = static_cast<int>(m_styleNumbers.size());
    if (style >= kFirstReserved)
        style += kLastReserved - kFirstReserved + 1;
    // Every style taken: the nearest kept colour would mislead; the last style is reused.
    if (style >= kStyleCount)
        return kStyleCount - 1;
    m_styleNumbers.insert(key, style);
    m_styles[static_cast<std::size_t>(style)] = format;
    defineStyle(style, format);
    return style;
}

TextFormat TRichEdit98::formatAt(qsizetype pos) const {
    const long byte = toByte(pos);
    const int style = int(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(byte))) & 0xFF;
    return m_styles[static_cast<std::size_t>(style)];
}

std::string TRichEdit98::stylesOf(long start, long length) const {
    std::string styles(static_cast<std::size_t>(length) * 2 + 2, '\0');
    SendScintilla(SCI_GETSTYLEDTEXT, start, start + length, styles.data());
    std::string only(static_cast<std::size_t>(length), '\0');
    for (long i = 0; i < length; ++i)
        only[static_cast<std::size_t>(i)] = styles[static_cast<std::size_t>(2 * i + 1)];
    return only;
}

void TRichEdit98::applyStyles(long start, std::string_view styles) {
    if (styles.empty())
        return;
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start), 0L);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles.size()), styles.data());
}

void TRichEdit98::setSelectionBold(bool bold) {
    m_current.bold = bold;
    m_current.italic = false;
    m_current.underline = false;
}

void TRichEdit98::setDefaultFormat() {
    m_current = TextFormat{};
}

void TRichEdit98::setEditorFont(const QString& name, qreal pointSize) {
    QFont font = m_font;
    if (!name.isEmpty())
        font.setFamily(name);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    setEditorFont(font);
}

void TRichEdit98::setEditorFont(const QFont& font) {
    m_font = font;
    if (m_font.pointSizeF() <= 0 && m_font.pixelSize() > 0) // the engine takes points
        m_font.setPointSizeF(m_font.pixelSize() * 72.0 / std::max(1, logicalDpiY()));
    QWidget::setFont(m_font);
    defineStyle(STYLE_DEFAULT, TextFormat{});
    for (auto it = m_styleNumbers.cbegin(); it != m_styleNumbers.cend(); ++it)
        defineStyle(it.value(), m_styles[static_cast<std::size_t>(it.value())]);
}

// Changes of the text -----------------------------------------------------------------------

// Only the notices before a change are asked for: the engine's widget answers every notice
// after an insertion or deletion with a count of the characters from the start of the text
// (for assistive technology), which made each typed key cost milliseconds per megabyte. So the
// styles of inserted text are noted before the insertion and applied once the operation is
// done (applyPendingStyles), and each change's undo record goes into the history just before
// the change itself.
void TRichEdit98::modifiedNotice(int position, int type, const char*, int length, int, int, int, int,
                                 int token, int) {
    m_textBytes.reset();
    // The notice before an insertion carries no text: the inserted range is looked at once
    // it is in (see checkInsertedText).
    if ((type & SC_MOD_BEFOREINSERT) && !m_indexed && !m_mayHoldNonAscii)
        m_uncheckedInserts.push_back({position, length});
    if (type & SC_PERFORMED_USER) {
        if (type & SC_MOD_BEFOREDELETE) {
            if (m_recording) {
                m_records.push_back({position, stylesOf(position, length), true});
                SendScintilla(SCI_ADDUNDOACTION, static_cast<unsigned long>(m_records.size()),
                              long(UNDO_MAY_COALESCE));
            }
        } else if (type & SC_MOD_BEFOREINSERT) {
            std::string styles = m_insertStyles
                                     ? *m_insertStyles
                                     : std::string(std::size_t(length), static_cast<char>(m_insertStyle));
            if (m_recording) {
                m_records.push_back({position, styles, false});
                SendScintilla(SCI_ADDUNDOACTION, static_cast<unsigned long>(m_records.size()),
                              long(UNDO_MAY_COALESCE));
            }
            m_pendingStyles.push_back({position, std::move(styles), false});
        }
        return;
    }
    if (!(type & SC_MOD_CONTAINER) || token <= 0 || std::size_t(token) > m_records.size())
        return;
    const FormatRecord& record = m_records[std::size_t(token) - 1];
    // Undone, a deletion's text is back already (its record lies below it in the history);
    // redone, an insertion's text arrives right after its record.
    if ((type & SC_PERFORMED_UNDO) && record.deleted)
        applyStyles(record.position, record.styles);
    else if ((type & SC_PERFORMED_REDO) && !record.deleted)
        m_pendingStyles.push_back(record);
}

void TRichEdit98::applyPendingStyles() {
    std::vector<FormatRecord> pending;
    pending.swap(m_pendingStyles);
    for (const FormatRecord& record : pending)
        applyStyles(record.position, record.styles);
}

void TRichEdit98::checkInsertedText() const {
    if (m_uncheckedInserts.empty())
        return;
    // One insertion (a key, a paste, a tool's result) is looked at exactly; several in one
    // step may have moved each other, so they count as holding letters beyond ASCII.
    if (m_uncheckedInserts.size() > 1) {
        m_mayHoldNonAscii = true;
    } else {
        const auto [position, length] = m_uncheckedInserts.front();
        m_mayHoldNonAscii = hasNonAscii(bytesBetween(position, position + length));
    }
    m_uncheckedInserts.clear();
}

void TRichEdit98::ensureIndex() const {
    checkInsertedText();
    if (m_mayHoldNonAscii && !m_indexed) {
        SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, long(SC_LINECHARACTERINDEX_UTF16));
        m_indexed = true;
    }
}

// Positions ---------------------------------------------------------------------------------

long TRichEdit98::toByte(qsizetype pos) const {
    const long byte = engineByte(pos);
    // A position between CR and LF is the end of its line.
    if (byte > 0 && SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(byte)) == '\n' &&
        SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(byte - 1)) == '\r')
        return byte - 1;
    return byte;
}

long TRichEdit98::engineByte(qsizetype pos) const {
    const long length = long(SendScintilla(SCI_GETLENGTH));
    if (pos <= 0)
        return 0;
    ensureIndex();
    if (!m_indexed)
        return long(std::min<qsizetype>(pos, length));
    const long line = long(SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(pos),
                                         long(SC_LINECHARACTERINDEX_UTF16)));
    const long lineIndex = long(SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                              long(SC_LINECHARACTERINDEX_UTF16)));
    const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    const long lineEnd = long(SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line)));
    const long within = long(pos - lineIndex);
    if (within <= 0)
        return lineStart;
    const long counted =
        long(SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), lineEnd));
    if (within >= counted) // on or in the line end
        return std::min(length, lineEnd + (within - counted));
    return long(SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), within));
}

qsizetype TRichEdit98::fromByte(long byte) const {
    if (byte <= 0)
        return 0;
    ensureIndex();
    if (!m_indexed)
        return byte;
    const long line = long(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(byte)));
    const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    const long lineIndex = long(SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                              long(SC_LINECHARACTERINDEX_UTF16)));
    return lineIndex + long(SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), byte));
}

// Loading ---------------------------------------------------------------------------------

void TRichEdit98::resetDocumentState() {
    m_records.clear();
    m_pendingStyles.clear();
    m_forcedModified = false;
    m_indexed = false;
    m_mayHoldNonAscii = false;
    m_uncheckedInserts.clear();
    m_textBytes.reset();
    m_lastAnchor = m_lastCaret = -1;
}

bool TRichEdit98::loadLines(const QString& path) {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    return bytes && showFileBytes(std::string_view(bytes->constData(), std::size_t(bytes->size())));
}

bool TRichEdit98::showFileBytes(std::string_view view) {
    if (!m_plainRtf && view.substr(0, 5) == "{\\rtf") {
        const RtfReadResult read = readRtf(view);
        if (!read.document)
            return false;
        setRichText(*read.document);
    } else {
        setStyledText(plainProgram(view));
    }
    return true;
}

void TRichEdit98::setRichText(const RtfDocument& rtf) {
    setStyledText(styledFromRtf(rtf));
}

void TRichEdit98::setProgramText(const QString& text) {
    const QByteArray utf8 = crlf(text).toUtf8();
    StyledText styled;
    styled.utf8.assign(utf8.constData(), std::size_t(utf8.size()));
    styled.styles.assign(styled.utf8.size(), '\0');
    styled.formats.push_back(TextFormat{});
    styled.ascii = !hasNonAscii(styled.utf8);
    setStyledText(styled);
    m_current = TextFormat{};
}

void TRichEdit98::setStyledText(const StyledText& text, bool undoable) {
    std::array<char, 256> lut{};
    for (std::size_t i = 0; i < text.formats.size(); ++i)
        lut[i] = static_cast<char>(styleFor(text.formats[i]));
    std::string styles(text.styles.size(), '\0');
    std::transform(text.styles.begin(), text.styles.end(), styles.begin(),
                   [&lut](char s) { return lut[static_cast<unsigned char>(s)]; });
    const bool wasReadOnly = isReadOnly();
    setReadOnly(false);
    if (!undoable) {
        m_recording = false;
        SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    }
    m_insertStyles = &styles;
    beginUndoStep();
    SendScintilla(SCI_SETTARGETRANGE, 0UL, SendScintilla(SCI_GETLENGTH));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.utf8.size()), text.utf8.data());
    endUndoStep();
    applyPendingStyles();
    m_insertStyles = nullptr;
    if (!undoable) {
        SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
        clearUndo();
        m_recording = true;
    }
    setReadOnly(wasReadOnly);
    noteSelection();
}

void TRichEdit98::adoptText(std::unique_ptr<LoadedText> text, std::function<void()> applied) {
    finishStyling();
    void* doc = documentOfLoader(text->m_loader);
    text->m_loader = nullptr;
    const bool readOnly = isReadOnly(); // a property of the document, not of the view
    SendScintilla(SCI_SETDOCPOINTER, 0UL, doc);
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, doc);
    // A loaded document comes without undo collection.
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setReadOnly(readOnly);
    resetDocumentState();
    setUtf8(true);
    SendScintilla(SCI_SETEOLMODE, long(SC_EOL_CRLF));
    SendScintilla(SCI_SETLEXER, long(SCLEX_CONTAINER));
    SendScintilla(SCI_SETMODEVENTMASK, kModEvents);
    m_mayHoldNonAscii = !text->m_ascii;
    auto styling = std::make_unique<Styling>();
    // A fresh editor numbers the formats in the order the text brings them: then the text's
    // format indices are already style numbers.
    styling->identity = true;
    for (std::size_t i = 0; i < text->m_formats.size(); ++i) {
        styling->lut[i] = static_cast<char>(styleFor(text->m_formats[i]));
        styling->identity = styling->identity && styling->lut[i] == static_cast<char>(i);
    }
    styling->styles = std::move(text->m_styles);
    styling->applied = std::move(applied);
    text.reset();
    m_styling = std::move(styling);
    noteSelection();
    // The first slice at once: the lines on screen are the first ones.
    applyStylingSlice();
    if (m_styling) {
        connect(&m_styling->timer, &QTimer::timeout, this, &TRichEdit98::applyStylingSlice);
        m_styling->timer.start(0);
    }
}

void TRichEdit98::applyStylingSlice() {
    if (!m_styling)
        return;
    Styling& s = *m_styling;
    const std::size_t n = std::min(kStylingSlice, s.styles.size() - s.next);
    const std::string_view slice = std::string_view(s.styles).substr(s.next, n);
    if (s.identity) {
        applyStyles(long(s.next), slice);
    } else {
        std::string translated(n, '\0');
        std::transform(slice.begin(), slice.end(), translated.begin(),
                       [&s](char c) { return s.lut[static_cast<unsigned char>(c)]; });
        applyStyles(long(s.next), translated);
    }
    s.next += n;
    if (s.next >= s.styles.size()) {
        auto applied = std::move(s.applied);
        m_styling.reset();
        if (applied)
            applied();
    }
}

void TRichEdit98::finishStyling() {
    while (m_styling)
        applyStylingSlice();
}

// Text ------------------------------------------------------------------------------------

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
    const long length = long(SendScintilla(SCI_GETLENGTH));
    if (length == 0)
        return 0;
    const int count = int(SendScintilla(SCI_GETLINECOUNT));
    // The empty line after a final line end is not a line of the text.
    const long lastStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(count - 1)));
    return lastStart == length ? count - 1 : count;
}

QString TRichEdit98::line(int index) const {
    if (index < 0 || index >= int(SendScintilla(SCI_GETLINECOUNT)))
        return QString();
    const long start = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(index)));
    const long end = long(SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(index)));
    return QString::fromUtf8(bytesBetween(start, end));
}

std::string_view TRichEdit98::bytesBetween(long start, long end) const {
    // A range pointer moves the engine's gap only when the range spans it; the whole text's
    // pointer would move it to the end, a copy of megabytes between two typed keys.
    const auto* data = reinterpret_cast<const char*>(
        SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), long(end - start)));
    return data && end > start ? std::string_view(data, std::size_t(end - start)) : std::string_view();
}

std::string_view TRichEdit98::utf8() const {
    const auto* data = reinterpret_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    const long length = long(SendScintilla(SCI_GETLENGTH));
    return data ? std::string_view(data, std::size_t(length)) : std::string_view();
}

qsizetype TRichEdit98::textLength() const {
    return fromByte(long(SendScintilla(SCI_GETLENGTH)));
}

QString TRichEdit98::text() const {
    const std::string_view all = utf8();
    return QString::fromUtf8(all.data(), qsizetype(all.size()));
}

const std::string& TRichEdit98::textBytes() const {
    if (!m_textBytes) {
        checkInsertedText();
        const std::string_view all = utf8();
        if (!m_indexed && !m_mayHoldNonAscii) {
            m_textBytes = std::string(all);
        } else {
            const QString text = QString::fromUtf8(all.data(), qsizetype(all.size()));
            std::string bytes(std::size_t(text.size()), '\0');
            for (qsizetype i = 0; i < text.size(); ++i)
                bytes[std::size_t(i)] =
                    static_cast<char>(cp1250::fromUnicode(text[i].unicode()).value_or(0x7F));
            m_textBytes = std::move(bytes);
        }
    }
    return *m_textBytes;
}

QString TRichEdit98::selectedText() const {
    return QString::fromUtf8(
        bytesBetween(long(SendScintilla(SCI_GETSELECTIONSTART)), long(SendScintilla(SCI_GETSELECTIONEND))));
}

void TRichEdit98::setText(const QString& text) {
    setProgramText(text);
}

qsizetype TRichEdit98::selStart() const {
    return fromByte(long(SendScintilla(SCI_GETSELECTIONSTART)));
}

qsizetype TRichEdit98::selLength() const {
    const long start = long(SendScintilla(SCI_GETSELECTIONSTART));
    const long end = long(SendScintilla(SCI_GETSELECTIONEND));
    return end == start ? 0 : fromByte(end) - fromByte(start);
}

void TRichEdit98::setSelStart(qsizetype pos) {
    setSelection(pos, 0);
}

void TRichEdit98::setSelLength(qsizetype len) {
    setSelection(selStart(), len);
}

void TRichEdit98::setSelection(qsizetype start, qsizetype length) {
    if (start <= 0 && length <= 0) {
        // The caret to the start needs no conversion: a text just loaded keeps its line index
        // (for a text with letters beyond ASCII) unbuilt until a position needs it.
        SendScintilla(SCI_SETSEL, 0UL, 0L);
        noteSelection();
        return;
    }
    const qsizetype total = textLength();
    start = std::clamp<qsizetype>(start, 0, total);
    const qsizetype end = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), start, total);
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(toByte(start)), long(toByte(end)));
    noteSelection();
}

void TRichEdit98::insertPlain(const QString& text) {
    const QByteArray utf8 = crlf(text).toUtf8();
    m_insertStyle = styleFor(m_current);
    SendScintilla(SCI_REPLACESEL, utf8.constData());
    applyPendingStyles();
}

void TRichEdit98::setSelText(const QString& text) {
    const bool wasReadOnly = isReadOnly();
    setReadOnly(false);
    beginUndoStep();
    insertPlain(text);
    endUndoStep();
    setReadOnly(wasReadOnly);
    noteSelection();
}

void TRichEdit98::replaceRange(qsizetype start, qsizetype length, const QString& text,
                               const TextFormat& format) {
    setSelection(start, length);
    const TextFormat kept = m_current;
    m_current = format;
    setSelText(text);
    m_current = kept;
}

int TRichEdit98::caretLine() const {
    return int(
        SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(SendScintilla(SCI_GETCURRENTPOS))));
}

qsizetype TRichEdit98::caretColumn() const {
    const long caret = long(SendScintilla(SCI_GETCURRENTPOS));
    const long line = long(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)));
    const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    return fromByte(caret) - fromByte(lineStart);
}

void TRichEdit98::setCaretLineColumn(int line, int column) {
    if (line < 0 || line >= int(SendScintilla(SCI_GETLINECOUNT)))
        return;
    const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    setSelStart(fromByte(lineStart) + column);
}

bool TRichEdit98::modified() const {
    return m_forcedModified || SendScintilla(SCI_GETMODIFY) != 0;
}

void TRichEdit98::setModified(bool on) {
    m_forcedModified = on;
    if (!on)
        SendScintilla(SCI_SETSAVEPOINT);
}

void TRichEdit98::clearUndo() {
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    m_records.clear();
}

bool TRichEdit98::canUndo() const {
    return SendScintilla(SCI_CANUNDO) != 0;
}

bool TRichEdit98::canRedo() const {
    return SendScintilla(SCI_CANREDO) != 0;
}

void TRichEdit98::beginUndoStep() {
    SendScintilla(SCI_BEGINUNDOACTION);
}

void TRichEdit98::endUndoStep() {
    SendScintilla(SCI_ENDUNDOACTION);
}

void TRichEdit98::undo() {
    if (isReadOnly())
        return;
    SendScintilla(SCI_UNDO);
    applyPendingStyles();
    noteSelection();
}

void TRichEdit98::redo() {
    if (isReadOnly())
        return;
    SendScintilla(SCI_REDO);
    applyPendingStyles();
    noteSelection();
}

void TRichEdit98::selectAll(bool select) {
    if (select)
        SendScintilla(SCI_SELECTALL);
    else
        SendScintilla(SCI_SETEMPTYSELECTION, SendScintilla(SCI_GETCURRENTPOS));
    noteSelection();
}

void TRichEdit98::deleteSelection() {
    if (isReadOnly())
        return;
    SendScintilla(SCI_REPLACESEL, "");
    noteSelection();
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

void TRichEdit98::noteSelection() {
    const long anchor = long(SendScintilla(SCI_GETANCHOR));
    const long caret = long(SendScintilla(SCI_GETCURRENTPOS));
    if (anchor == m_lastAnchor && caret == m_lastCaret)
        return;
    const bool caretMoved = caret != m_lastCaret;
    m_lastAnchor = anchor;
    m_lastCaret = caret;
    if (caretMoved && !m_styling) {
        // What is typed next takes the format of the character before the caret (at a line's
        // start, of the one after it), as in a word processor.
        const long length = long(SendScintilla(SCI_GETLENGTH));
        const long line = long(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)));
        const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
        const long lineEnd = long(SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line)));
        long at = caret - 1;
        if (caret == lineStart && lineEnd > lineStart)
            at = caret;
        if (at >= 0 && at < length) {
            const int style = int(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(at))) & 0xFF;
            m_current = m_styles[static_cast<std::size_t>(style)];
        }
    }
    Q_EMIT selectionChange();
}

void TRichEdit98::setBusyCursor(bool busy) {
    viewport()->setCursor(busy ? Qt::WaitCursor : Qt::IBeamCursor);
}

void TRichEdit98::printDocument(QsciPrinter& printer) {
    finishStyling();
    printer.printRange(this);
}

ProgramPrinter::ProgramPrinter(PrinterMode mode) : QsciPrinter(mode) {
    setWrapMode(QsciScintilla::WrapNone);
}

void ProgramPrinter::formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) {
    const QFontMetrics metrics(painter.font());
    const int footer = metrics.height() * 2;
    const QRect number(area.left(), area.bottom() - metrics.height(), area.width(), metrics.height());
    area.setBottom(area.bottom() - footer);
    if (drawing)
        painter.drawText(number, Qt::AlignHCenter | Qt::AlignBottom, QString::number(pageNumber));
}

// Clipboard -------------------------------------------------------------------------------

void TRichEdit98::cut() {
    if (isReadOnly() || selLength() == 0)
        return;
    copy();
    deleteSelection();
}

void TRichEdit98::copy() {
    if (selLength() == 0)
        return;
    QString text = selectedText();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    interaction().setClipboardText(text);
}

void TRichEdit98::paste() {
    if (isReadOnly())
        return;
    const QString text = interaction().clipboardText();
    if (text.isEmpty())
        return;
    setSelText(text);
}

// Input -----------------------------------------------------------------------------------

bool TRichEdit98::runCommandKey(QKeyEvent* event) {
    static constexpr QKeySequence::StandardKey kCommands[] = {
        QKeySequence::Copy, QKeySequence::Cut,  QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll,
    };
    for (QKeySequence::StandardKey key : kCommands) {
        if (!event->matches(key))
            continue;
        if (isSignalConnected(QMetaMethod::fromSignal(&TRichEdit98::commandKey))) {
            Q_EMIT commandKey(key);
        } else {
            switch (key) {
            case QKeySequence::Copy:
                copy();
                break;
            case QKeySequence::Cut:
                cut();
                break;
            case QKeySequence::Paste:
                paste();
                break;
            case QKeySequence::Undo:
                undo();
                break;
            case QKeySequence::Redo:
                redo();
                break;
            default:
                selectAll();
                break;
            }
        }
        return true;
    }
    return false;
}

bool TRichEdit98::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        const bool plain = mods == Qt::NoModifier && key->key() < Qt::Key_F1 && key->key() != Qt::Key_Escape;
        static constexpr QKeySequence::StandardKey kOwn[] = {QKeySequence::Copy,  QKeySequence::Cut,
                                                             QKeySequence::Paste, QKeySequence::Undo,
                                                             QKeySequence::Redo,  QKeySequence::SelectAll};
        bool own = plain;
        for (QKeySequence::StandardKey k : kOwn)
            own = own || key->matches(k);
        // The editor's own keys stay its own; every other key combination is free for the
        // window's shortcuts (the editor still gets it when no shortcut takes it).
        if (own)
            event->accept();
        else
            event->ignore();
        return true;
    }
    return QsciScintilla::event(event);
}

void TRichEdit98::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    if (runCommandKey(event)) {
        noteSelection();
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
        m_insertStyle = styleFor(m_current);
        if (ch != typed[0] && ch != QLatin1Char('\b')) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(ch),
                              event->isAutoRepeat(), static_cast<quint16>(event->count()));
            QsciScintilla::keyPressEvent(&changed);
            applyPendingStyles();
            noteSelection();
            return;
        }
    }
    m_insertStyle = styleFor(m_current);
    // A new line is a step of its own: an undo takes back the line break, then the line typed.
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (newLine)
        beginUndoStep();
    QsciScintilla::keyPressEvent(event);
    if (newLine)
        endUndoStep();
    applyPendingStyles();
    noteSelection();
}

void TRichEdit98::inputMethodEvent(QInputMethodEvent* event) {
    m_insertStyle = styleFor(m_current);
    QsciScintilla::inputMethodEvent(event);
    applyPendingStyles();
    noteSelection();
}

// The input method asks after every key for the text around the caret. The engine's widget
// answers with the whole paragraph, which in a program without blank lines is the whole
// text: the caret's line is what an input method needs.
QVariant TRichEdit98::inputMethodQuery(Qt::InputMethodQuery query) const {
    const long caret = long(SendScintilla(SCI_GETCURRENTPOS));
    const long anchor = long(SendScintilla(SCI_GETANCHOR));
    const long lineNumber = long(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)));
    const long lineStart = long(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lineNumber)));
    const long lineEnd = long(SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(lineNumber)));
    const auto textOf = [this](long from, long to) { return QString::fromUtf8(bytesBetween(from, to)); };
    switch (query) {
    case Qt::ImSurroundingText:
        return textOf(lineStart, lineEnd);
    case Qt::ImCursorPosition:
        return int(textOf(lineStart, caret).size());
    case Qt::ImAnchorPosition:
        return int(textOf(lineStart, std::clamp(anchor, lineStart, lineEnd)).size());
    case Qt::ImTextBeforeCursor:
        return textOf(lineStart, caret);
    case Qt::ImTextAfterCursor:
        return textOf(caret, lineEnd);
    case Qt::ImAbsolutePosition:
        return qlonglong(fromByte(caret));
    default:
        return QsciScintilla::inputMethodQuery(query);
    }
}

void TRichEdit98::mousePressEvent(QMouseEvent* event) {
    Q_EMIT mouseDown(event->button());
    // A middle click would paste the X selection past the clipboard's seam.
    if (event->button() == Qt::MiddleButton)
        return;
    QsciScintilla::mousePressEvent(event);
    noteSelection();
}

void TRichEdit98::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton)
        return;
    QsciScintilla::mouseReleaseEvent(event);
    noteSelection();
}

void TRichEdit98::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    QsciScintilla::mouseMoveEvent(event);
    noteSelection();
}

// Dropped files are opened by the main window, never inserted as their names.
void TRichEdit98::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QsciScintilla::dragEnterEvent(event);
}

void TRichEdit98::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QsciScintilla::dragMoveEvent(event);
}

void TRichEdit98::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    m_insertStyle = styleFor(m_current);
    QsciScintilla::dropEvent(event);
    applyPendingStyles();
    noteSelection();
}

} // namespace ordalvex
