#include "tools/core/decimalpoints.h"

#include <array>

namespace ordalvex {

namespace {

inline unsigned char asciiUpper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}
inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool isLineEnd(unsigned char c) {
    return c == '\r' || c == '\n';
}

} // namespace

std::string addressSetFromList(std::string_view list) {
    std::string set;
    for (char ch : list) {
        const unsigned char c = asciiUpper(static_cast<unsigned char>(ch));
        if (c == '=' || (c >= 'A' && c <= 'Z'))
            set += static_cast<char>(c);
    }
    return set;
}

std::string insertDecimalPoints(std::string_view text, std::string_view addresses) {
    std::array<bool, 256> isAddress{};
    for (char a : addresses)
        isAddress[static_cast<unsigned char>(a)] = true;

    std::string out;
    out.reserve(text.size() + text.size() / 4 + 16);
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (pos < size) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c == '(') {
            // The ")" or line end that closes the comment is left to the main loop.
            const std::size_t start = pos;
            ++pos;
            while (pos < size && text[pos] != ')' && !isLineEnd(static_cast<unsigned char>(text[pos])))
                ++pos;
            out.append(text, start, pos - start);
            continue;
        }
        out += static_cast<char>(c);
        ++pos;
        if (!isAddress[asciiUpper(c)])
            continue;
        // The whole run is copied, however many digits it has, so the point never lands
        // inside a number.
        bool sawDigit = false;
        while (pos < size && (text[pos] == '-' || isDigit(static_cast<unsigned char>(text[pos])))) {
            sawDigit = sawDigit || text[pos] != '-';
            out += text[pos];
            ++pos;
        }
        if (sawDigit && (pos >= size || text[pos] != '.'))
            out += '.';
    }
    return out;
}

} // namespace ordalvex
