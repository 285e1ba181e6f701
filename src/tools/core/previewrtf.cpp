#include "tools/core/previewrtf.h"

#include "document/core/highlighter.h"

namespace ordalvex {

namespace {

constexpr std::string_view kPreviewHeader =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
    "{\\f2\\fmodern\\fcharset238{\\*\\fname Courier New;}Courier New CE;}"
    "{\\f3\\fmodern\\fcharset238{\\*\\fname Courier New;};}}";

// The preview shares the editor's colour table; take it from the highlighter's own header
// rather than keeping a second copy in step.
const std::string& colourTable() {
    static const std::string table = [] {
        std::string header;
        writeRtfHeader(header, {}, 0);
        const std::size_t begin = header.find("{\\colortbl");
        const std::size_t end = header.find("\\deflang", begin);
        return header.substr(begin, end - begin);
    }();
    return table;
}

} // namespace

std::string_view previewStyleStringFor(TokenClass cls) {
    switch (cls) {
    case TokenClass::AddressN:
        return "\\cf3\\b1 ";
    case TokenClass::ProgramNumber:
        return "\\cf5\\b\\i0 ";
    case TokenClass::Comment:
        return "\\cf1\\b0\\i0 ";
    case TokenClass::Keyword:
    case TokenClass::Number:
    case TokenClass::AddressG:
    case TokenClass::AddressM:
    case TokenClass::AddressFS:
    case TokenClass::AddressDHT:
    case TokenClass::AddressHashAtR:
    case TokenClass::OtherAddress:
    case TokenClass::Operator:
        return "\\cf10\\b0\\i0 ";
    case TokenClass::Sign:
        return "\\cf10\\b0\\i ";
    case TokenClass::Space:
    case TokenClass::LineEnd:
    case TokenClass::Other:
        break;
    }
    return {};
}

void previewToRtf(std::string_view text, std::string& out, const std::function<void()>& yield) {
    out.reserve(out.size() + text.size() * 2 + 1024);
    out += kPreviewHeader;
    out += colourTable();
    out += "\\deflang1045\\pard\\plain\\f3\\fs23";
    writeRtfBody(text, out, previewStyleStringFor, yield);
}

} // namespace ordalvex
