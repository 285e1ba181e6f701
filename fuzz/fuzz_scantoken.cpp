// The folder scan's tokenizer: tokens follow each other without gaps up to the end of the text
// (its last byte or its first Ctrl-Z), their texts put together give the text upper-cased with
// each line end as one CR, and the span and text readers agree. The program scan built on it
// gives the same lines whether it runs in one go or in small steps.

#include "browser/core/programscan.h"
#include "browser/core/scantoken.h"
#include "fuzzsupport.h"

using namespace ordalvex;
using namespace ordalvex::fuzzing;

namespace {

void checkSameLines(const std::vector<ScanLine>& a, const std::vector<ScanLine>& b) {
    FUZZ_CHECK(a.size() == b.size(), "a stepwise scan finds as many lines as a whole one");
    for (std::size_t i = 0; i < a.size(); ++i) {
        FUZZ_CHECK(a[i].kind == b[i].kind && a[i].bytes == b[i].bytes && a[i].text == b[i].text,
                   "a stepwise scan finds the same lines as a whole one");
        checkSameLines(a[i].children, b[i].children);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t stepTokens = input.byte() % 8 + 1;
    const std::string_view bytes = input.rest();
    const std::string_view text = bytes.substr(0, bytes.find('\x1a'));

    std::string expected;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        expected += isLineEnd(c) ? '\r' : static_cast<char>(upperAscii(c));
    }

    ScanReader byText(bytes), bySpan(bytes);
    FUZZ_CHECK(byText.bytes() == text, "the text ends at its first Ctrl-Z");
    std::string joined, piece;
    std::size_t at = 0;
    for (std::size_t count = 0;; ++count) {
        FUZZ_CHECK(count <= text.size() + 1, "every token but the end takes at least one byte");
        const ScanClass cls = ScanToken(byText, piece);
        const ScanSpan span = ScanTokenSpan(bySpan);
        FUZZ_CHECK(cls == span.cls, "span and text readers agree on the class");
        FUZZ_CHECK(span.begin == at, "tokens follow each other without gaps");
        if (cls == ScanClass::End) {
            FUZZ_CHECK(piece.empty() && span.end == span.begin, "the end takes nothing");
            break;
        }
        FUZZ_CHECK(span.end > span.begin, "a token takes at least one byte");
        FUZZ_CHECK(!piece.empty(), "a token has text");
        FUZZ_CHECK(cls != ScanClass::LineEnd || piece == "\r", "a line end reads as one CR");
        joined += piece;
        at = span.end;
    }
    FUZZ_CHECK(at == text.size(), "the tokens cover the whole text");
    FUZZ_CHECK(joined == expected, "the tokens' texts give the upper-cased text");

    const LineOrder order(true);
    ProgramScanner scanner(bytes, order);
    std::size_t steps = 0;
    while (!scanner.scan(stepTokens))
        FUZZ_CHECK(++steps <= text.size() + 1, "a stepwise scan finishes");
    checkSameLines(scanner.lines(), scanProgram(bytes, order));
    return 0;
}
