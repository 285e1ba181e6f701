#include "browser/core/scantoken.h"

#include <array>
#include <cstdint>

namespace ordalvex {

namespace {

enum CharSet : std::uint16_t {
    WordStart = 1,
    Operator = 2,
    Sign = 4,
    WordStop = 8,
    LetterLike = 16,
    Digit = 32,
    Space = 64,
    LineEndChar = 128,
};

// Indexed by the raw byte: "a" to "z" have the sets of their capitals, since every character
// is read upper-cased; CR and LF are both line ends.
constexpr std::array<std::uint16_t, 256> makeCharSets() {
    std::array<std::uint16_t, 256> t{};
    for (unsigned char c : std::string_view("#%(:@"))
        t[c] |= WordStart;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= WordStart | Digit;
    for (int c = 'A'; c <= 'Z'; ++c) {
        t[c] |= WordStart | LetterLike;
        t[c + 32] |= WordStart | LetterLike;
    }
    for (unsigned char c : std::string_view("#(@"))
        t[c] |= LetterLike;
    for (unsigned char c : std::string_view("*+-/=[]"))
        t[c] |= Operator;
    for (unsigned char c : std::string_view("!\"$%&;<>?\\^`{|}~"))
        t[c] |= Sign | WordStop;
    t[' '] |= Sign | Space;
    t['\r'] |= LineEndChar;
    t['\n'] |= LineEndChar;
    return t;
}
constexpr auto kSets = makeCharSets();

bool in(unsigned char c, CharSet set) {
    return (kSets[c] & set) != 0;
}
unsigned char upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

ScanClass classifyWord(unsigned char first, unsigned char second, std::size_t length) {
    if (length >= 2 && first >= 'A' && first <= 'Z' && second >= 'A' && second <= 'Z')
        return ScanClass::Keyword;
    if (first == '(')
        return ScanClass::Comment;
    if (first == '%' || first == ':' || first == 'O')
        return ScanClass::ProgramNumber;
    if (in(first, Digit))
        return ScanClass::Number;
    return ScanClass::Address;
}

} // namespace

ScanReader::ScanReader(std::string_view bytes) : m_bytes(bytes.substr(0, bytes.find('\x1a'))) {
    advance();
}

void ScanReader::advance() {
    m_pendingOffset = m_offset;
    if (m_offset >= m_bytes.size()) {
        m_pending = kScanEnd;
        return;
    }
    const auto c = static_cast<unsigned char>(m_bytes[m_offset++]);
    if (c == '\r' || c == '\n') {
        if (c == '\r' && m_offset < m_bytes.size() && m_bytes[m_offset] == '\n')
            ++m_offset;
        m_pending = '\r';
    } else {
        m_pending = upper(c);
    }
}

void ScanReader::appendText(std::size_t begin, std::size_t end, std::string& text) const {
    for (std::size_t i = begin; i < end; ++i)
        text.push_back(static_cast<char>(upper(static_cast<unsigned char>(m_bytes[i]))));
}

ScanSpan ScanTokenSpan(ScanReader& reader) {
    ScanSpan span;
    span.begin = reader.pendingOffset();
    unsigned char c = reader.pending();
    if (reader.atEnd()) {
        span.end = span.begin;
        return span;
    }
    if (!in(c, WordStart)) {
        reader.advance();
        span.end = reader.pendingOffset();
        span.cls = in(c, Operator) ? ScanClass::Operator
                   : in(c, Sign)   ? ScanClass::Sign
                   : c == '\r'     ? ScanClass::LineEnd
                                   : ScanClass::Other;
        return span;
    }
    // The word is read straight from the bytes: this loop is where a folder scan spends its time.
    const std::string_view bytes = reader.bytes();
    const unsigned char first = c;
    unsigned char second = 0;
    bool hasDigit = (kSets[c] & Digit) != 0;
    bool inComment = c == '(';
    std::size_t at = span.begin + 1;
    for (; at < bytes.size(); ++at) {
        const auto b = static_cast<unsigned char>(bytes[at]);
        const auto sets = kSets[b];
        if (sets & LineEndChar)
            break;
        if (!inComment && ((sets & (Operator | Space | WordStop)) || ((sets & LetterLike) && hasDigit)))
            break;
        // A closing parenthesis ends the comment, so a stop right after it ends the word.
        if (b == ')')
            inComment = false;
        if (at == span.begin + 1)
            second = upper(b);
        if (sets & Digit)
            hasDigit = true;
        if (b == '(')
            inComment = true;
    }
    reader.moveTo(at);
    span.end = at;
    span.cls = classifyWord(first, second, at - span.begin);
    return span;
}

ScanClass ScanToken(ScanReader& reader, std::string& text) {
    text.clear();
    const ScanSpan span = ScanTokenSpan(reader);
    if (span.cls == ScanClass::LineEnd)
        text.push_back('\r');
    else
        reader.appendText(span.begin, span.end, text);
    return span.cls;
}

} // namespace ordalvex
