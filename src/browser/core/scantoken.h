#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The tokenizer of the file browser's folder scan. Its word rules follow the highlighter's,
// except that "." starts no word and only the digits count as digits of a word.
namespace ordalvex {

// The pending character at the end of a text.
inline constexpr unsigned char kScanEnd = 26;

// Classes of the tokens ScanToken reports.
enum class ScanClass {
    Keyword,       // a word whose first two characters are letters A-Z
    Comment,       // a word starting with "("
    ProgramNumber, // a word starting with "%", ":" or "O"
    Number,        // a word starting with a digit
    Address,       // a word starting with "#", "@" or another letter
    Operator,      // one of * + - / = [ ]
    Sign,          // space and the other punctuation that stops a word
    LineEnd,       // one line end (CR LF, a lone CR or a lone LF)
    Other,         // any other single character: TAB . , ) ' control characters, bytes 128-255
    End,           // the end of the text was pending; nothing was taken
};

// Reads a program's bytes one character at a time, with one character of lookahead. The
// text ends at its last byte or at its first Ctrl-Z (26), whichever comes first. Letters
// "a" to "z" are upper-cased as they are read; every other byte is kept. Each line end (CR LF,
// CR or LF) is read as a single CR (13). The bytes must outlive the reader.
class ScanReader {
public:
    explicit ScanReader(std::string_view bytes);

    // The pending character; kScanEnd once the text is used up.
    unsigned char pending() const { return m_pending; }
    bool atEnd() const { return m_pending == kScanEnd; }
    // Reads the next character as pending (stays at the end once there).
    void advance();
    // Makes the character at `offset` (0 to the size of the text) pending.
    void moveTo(std::size_t offset) {
        m_offset = offset;
        advance();
    }
    // The text's bytes, up to its end.
    std::string_view bytes() const { return m_bytes; }
    // Offset in the text of the pending character's first byte (the size of the text at the end).
    std::size_t pendingOffset() const { return m_pendingOffset; }
    // The text (as ScanToken gives it) of the characters from offset `begin` up to `end`,
    // which must not hold a line end, appended to `text`.
    void appendText(std::size_t begin, std::size_t end, std::string& text) const;

private:
    std::string_view m_bytes;
    std::size_t m_offset = 0;
    std::size_t m_pendingOffset = 0;
    unsigned char m_pending = kScanEnd;
};

// A token without its text: the class and the offsets of its first byte and of the byte after
// it. Scanning by spans saves building the text of the many tokens no one reads.
struct ScanSpan {
    ScanClass cls = ScanClass::End;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Takes one token as ScanToken does and returns its span.
ScanSpan ScanTokenSpan(ScanReader& reader);

// Takes one token starting at the reader's pending character and leaves the first character
// after it pending. `text` receives the token's characters (upper-cased a-z, a line end as a
// single CR); it is empty for End, which is returned, without reading, when the text is used up.
ScanClass ScanToken(ScanReader& reader, std::string& text);

} // namespace ordalvex
