#include "document/core/highlighter.h"

#include <array>

namespace ordalvex {

namespace {

constexpr std::string_view kColourTable =
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue128;"
    "\\red0\\green128\\blue0;\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red128\\green128\\blue0;"
    "\\red128\\green0\\blue128;\\red0\\green128\\blue128;"
    "\\red128\\green128\\blue128;\\red192\\green192\\blue192;\\red0\\green255\\blue0;"
    "\\red255\\green255\\blue0;\\red255\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red20\\green128\\blue200;}";

// 0: copy upper-cased, 1: escape with a backslash.
constexpr std::array<bool, 256> makeEscapes() {
    std::array<bool, 256> t{};
    t['\\'] = t['{'] = t['}'] = true;
    return t;
}
constexpr auto kEscape = makeEscapes();

} // namespace

std::string_view styleStringFor(TokenClass cls) {
    switch (cls) {
    case TokenClass::Keyword:
        return "\\cf4\\b0\\i0 ";
    case TokenClass::ProgramNumber:
        return "\\cf5\\b\\i0 ";
    case TokenClass::Comment:
        return "\\cf1\\b0\\i0 ";
    case TokenClass::Number:
    case TokenClass::OtherAddress:
        return "\\cf0\\b0\\i0 ";
    case TokenClass::AddressG:
        return "\\cf2\\b0\\i0 ";
    case TokenClass::AddressM:
        return "\\cf16\\b0\\i0 ";
    case TokenClass::AddressFS:
        return "\\cf9\\b0\\i0 ";
    case TokenClass::AddressDHT:
        return "\\cf8\\b0\\i0 ";
    case TokenClass::AddressHashAtR:
        return "\\cf3\\b0\\i0 ";
    case TokenClass::AddressN:
        return "\\cf10\\b0 ";
    case TokenClass::Operator:
        return "\\cf6\\b0\\i0 ";
    case TokenClass::Sign:
        return "\\cf14\\b0\\i ";
    case TokenClass::Space:
    case TokenClass::LineEnd:
    case TokenClass::Other:
        break;
    }
    return {};
}

void writeRtfHeader(std::string& out, std::string_view fontName, int fontSize) {
    out += "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 "
           "Symbol;}"
           "{\\f2\\fmodern\\fcharset238{\\*\\fname Courier New;}Courier New CE;}"
           "{\\f3\\fmodern\\fcharset238{\\*\\fname ";
    out += fontName;
    out += ";}";
    out += fontName;
    out += ";}}";
    out += kColourTable;
    out += "\\deflang1045\\pard\\plain\\f3\\fs";
    out += std::to_string(2 * static_cast<long long>(fontSize));
}

void appendRtfText(std::string& out, std::string_view text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (kEscape[c])
            out += '\\';
        out += static_cast<char>(CncTokenizer::upper(c));
    }
}

void writeRtfBody(std::string_view text, std::string& out, std::string_view (*styleFor)(TokenClass),
                  const std::function<void()>& yield) {
    constexpr std::size_t kTokensPerYield = 4096;
    if (!text.empty() && text.front() == ' ')
        out += ' ';
    CncTokenizer tokenizer(text);
    Token token;
    std::size_t count = 0;
    while (tokenizer.next(token)) {
        if (yield && ++count % kTokensPerYield == 0)
            yield();
        const std::string_view piece = text.substr(token.offset, token.length);
        switch (token.cls) {
        case TokenClass::LineEnd:
            out += "\\par ";
            break;
        case TokenClass::Space:
            out += ' ';
            break;
        case TokenClass::Other:
            if (piece.front() == '\t')
                out += "\\tab ";
            else
                out += piece.front();
            break;
        default:
            out += styleFor(token.cls);
            appendRtfText(out, piece);
            break;
        }
    }
    out += "\\par }";
}

void highlightToRtf(std::string_view text, std::string& out, std::string_view fontName, int fontSize) {
    // Style strings make the RTF three to four times the text; one reservation avoids copying
    // the whole output as it grows.
    out.reserve(out.size() + text.size() * 4 + 1024);
    writeRtfHeader(out, fontName, fontSize);
    writeRtfBody(text, out, styleStringFor);
}

} // namespace ordalvex
