#include "document/core/cnctokenizer.h"

#include <array>

namespace ordalvex {

namespace {

enum : std::uint8_t {
    kWordStart = 1,
    kOperator = 2,
    kSign = 4,
    kWordStop = 8,
    kLetterLike = 16,
    kDigitOrDot = 32,
};

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> t{};
    auto add = [&t](std::string_view chars, std::uint8_t flag) {
        for (char c : chars)
            t[static_cast<unsigned char>(c)] |= flag;
    };
    add("#%(.0123456789:@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", kWordStart);
    add("*+-/=[]", kOperator);
    add(" !\"$%&;<>?\\^`{|}~", kSign);
    add("!\"$%&;<>?\\^`{|}~", kWordStop);
    add("#(@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", kLetterLike);
    add(".0123456789", kDigitOrDot);
    return t;
}

constexpr auto kClasses = makeClasses();

inline bool has(unsigned char c, std::uint8_t flag) {
    return (kClasses[c] & flag) != 0;
}
inline bool isUpperLetter(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}

} // namespace

bool CncTokenizer::isOperator(unsigned char c) {
    return has(c, kOperator);
}

TokenClass CncTokenizer::classifyWord(std::string_view word) {
    const unsigned char first = word.empty() ? 0 : upper(static_cast<unsigned char>(word[0]));
    if (word.size() >= 2 && isUpperLetter(first) && isUpperLetter(upper(static_cast<unsigned char>(word[1]))))
        return TokenClass::Keyword;
    switch (first) {
    case '%':
    case ':':
    case 'O':
        return TokenClass::ProgramNumber;
    case '(':
        return TokenClass::Comment;
    case 'G':
        return TokenClass::AddressG;
    case 'M':
        return TokenClass::AddressM;
    case 'F':
    case 'S':
        return TokenClass::AddressFS;
    case 'D':
    case 'H':
    case 'T':
        return TokenClass::AddressDHT;
    case '#':
    case '@':
    case 'R':
        return TokenClass::AddressHashAtR;
    case 'N':
        return TokenClass::AddressN;
    default:
        break;
    }
    if (first == '.' || (first >= '0' && first <= '9'))
        return TokenClass::Number;
    return TokenClass::OtherAddress;
}

bool CncTokenizer::next(Token& token) {
    const std::size_t size = m_text.size();
    if (m_pos >= size)
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_text.data());
    const std::size_t start = m_pos;
    const unsigned char first = bytes[start];
    token.offset = start;

    if (has(first, kWordStart)) {
        // A word runs over letters until a digit has been seen; a comment runs to ")" and on
        // to the next stop. A line end stops every word; a Ctrl-Z stops it like the end.
        bool hasDigit = false;
        bool inComment = false;
        std::size_t pos = start;
        for (;;) {
            const unsigned char c = bytes[pos];
            if (has(c, kDigitOrDot))
                hasDigit = true;
            if (c == '(')
                inComment = true;
            ++pos;
            if (pos >= size)
                break;
            const unsigned char p = bytes[pos];
            if (isLineEnd(p) || p == 26)
                break;
            if (!inComment) {
                if (hasDigit && has(p, kLetterLike))
                    break;
                if (p == ' ' || has(p, kOperator | kWordStop))
                    break;
            } else if (p == ')') {
                inComment = false;
            }
        }
        token.length = pos - start;
        token.cls = classifyWord(m_text.substr(start, token.length));
        m_pos = pos;
        return true;
    }

    token.length = 1;
    if (has(first, kOperator)) {
        token.cls = TokenClass::Operator;
    } else if (first == ' ') {
        token.cls = TokenClass::Space;
    } else if (has(first, kSign)) {
        token.cls = TokenClass::Sign;
    } else if (first == '\r') {
        token.cls = TokenClass::LineEnd;
        if (start + 1 < size && bytes[start + 1] == '\n')
            token.length = 2;
    } else if (first == '\n') {
        token.cls = TokenClass::LineEnd;
    } else {
        token.cls = TokenClass::Other;
    }
    m_pos = start + token.length;
    return true;
}

} // namespace ordalvex
