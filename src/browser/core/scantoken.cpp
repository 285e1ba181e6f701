#include "browser/core/scantoken.h"

#include <array>
#include <cstdint>

namespace ordalvex {

namespace {

enum CharSet : std::uint8_t {
    WordStart = 1,
    Operator = 2,
    Sign = 4,
    WordStop = 8,
    LetterLike = 16,
    Digit = 32,
};

constexpr std::array<std::uint8_t, 256> makeCharSets() {
    std::array<std::uint8_t, 256> t{};
    for (unsigned char c : std::string_view("#%(:@"))
        t[c] |= WordStart;
    for (int c = '0'; c <= '9'; ++c)
        t[c] |= WordStart | Digit;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] |= WordStart | LetterLike;
    for (unsigned char c : std::string_view("#(@"))
        t[c] |= LetterLike;
    for (unsigned char c : std::string_view("*+-/=[]"))
        t[c] |= Operator;
    for (unsigned char c : std::string_view("!\"$%&;<>?\\^`{|}~"))
        t[c] |= Sign | WordStop;
    t[' '] |= Sign;
    return t;
}
constexpr auto kSets = makeCharSets();

bool in(unsigned char c, CharSet set) {
    return (kSets[c] & set) != 0;
}
bool isAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

ScanClass classifyWord(const std::string& word) {
    if (word.size() >= 2 && isAsciiUpper(word[0]) && isAsciiUpper(word[1]))
        return ScanClass::Keyword;
    const auto first = static_cast<unsigned char>(word[0]);
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
        m_pending = c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
    }
}

ScanClass ScanToken(ScanReader& reader, std::string& text) {
    text.clear();
    unsigned char c = reader.pending();
    if (reader.atEnd())
        return ScanClass::End;
    if (!in(c, WordStart)) {
        text.push_back(static_cast<char>(c));
        reader.advance();
        if (in(c, Operator))
            return ScanClass::Operator;
        if (in(c, Sign))
            return ScanClass::Sign;
        return c == '\r' ? ScanClass::LineEnd : ScanClass::Other;
    }
    bool hasDigit = false;
    bool inComment = false;
    for (;;) {
        if (in(c, Digit))
            hasDigit = true;
        if (c == '(')
            inComment = true;
        text.push_back(static_cast<char>(c));
        reader.advance();
        c = reader.pending();
        if (in(c, LetterLike) && hasDigit && !inComment)
            break;
        if (in(c, Operator) && !inComment)
            break;
        if (c == ' ' && !inComment)
            break;
        if (c == '\r')
            break;
        // A closing parenthesis ends the comment, so a stop right after it ends the word.
        if (c == ')')
            inComment = false;
        if (in(c, WordStop) && !inComment)
            break;
        if (c == kScanEnd)
            break;
    }
    return classifyWord(text);
}

} // namespace ordalvex
