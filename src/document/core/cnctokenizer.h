#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ordalvex {

// The kind of a token of a CNC program, which decides its colour and style.
enum class TokenClass : std::uint8_t {
    Keyword,       // a word whose first two characters are letters: IF, GOTO10, TEIL
    ProgramNumber, // a word starting with "%", ":" or "O"
    Comment,       // a word starting with "("
    Number,        // a word starting with "." or a digit
    AddressG,
    AddressM,
    AddressFS,
    AddressDHT,
    AddressHashAtR, // "#", "@" or "R"
    AddressN,       // block number
    OtherAddress,   // A, B, C, E, I-L, P, Q, U-Z
    Operator,       // one of * + - / = [ ]
    Sign,           // one sign character other than space
    Space,          // one space
    LineEnd,        // CR LF, a lone CR or a lone LF
    Other,          // any other single character (TAB, comma, ")" outside a comment, 128-255...)
};

struct Token {
    std::size_t offset = 0; // first byte in the text
    std::size_t length = 0; // bytes; a CR LF line end is one token of length 2
    TokenClass cls = TokenClass::Other;
};

// Splits program text (Windows-1250 bytes, any of CR LF, CR or LF as line ends) into words,
// operators, signs, spaces, line ends and other characters. Letters are compared upper-cased;
// the text itself is not changed. Every byte of the text belongs to exactly one token, so the
// tokens written one after another give back the whole text.
class CncTokenizer {
public:
    explicit CncTokenizer(std::string_view text) : m_text(text) {}

    // The next token, or false at the end of the text.
    bool next(Token& token);

    std::size_t position() const { return m_pos; }

    // Character classes after upper-casing (exposed for tools that share the word rules).
    static bool isOperator(unsigned char c);
    static bool isLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }
    static unsigned char upper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

    // The class of a word by its first two characters (upper-cased by the caller or not).
    static TokenClass classifyWord(std::string_view word);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace ordalvex
