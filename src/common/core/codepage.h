#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QStringView>

// Windows-1250, the code page of program files on disk. The editor holds Unicode; conversion
// happens only where bytes enter or leave the program.
namespace ordalvex::cp1250 {

// The Unicode character of a byte. Every byte has one (undefined bytes map to C1 controls).
char16_t toUnicode(unsigned char byte);

// The byte of a Unicode character, or nothing when the code page has none.
std::optional<unsigned char> fromUnicode(char16_t ch);

// Upper-case form of a byte under the code page's own casing (a-z and the accented letters,
// so ą gives Ą); every other byte is returned unchanged.
unsigned char toUpper(unsigned char byte);

// Decodes bytes to text; never fails and never drops a byte.
QString decode(std::string_view bytes);

struct EncodeResult {
    std::string bytes;       // the encoded text; empty when encoding failed
    qsizetype failedAt = -1; // index in the text of the first character without a byte, or -1
    char32_t failedChar = 0; // that character
    bool ok() const { return failedAt < 0; }
};

// Encodes text; refuses, naming the first offending character, rather than dropping it.
EncodeResult encode(QStringView text);

} // namespace ordalvex::cp1250
