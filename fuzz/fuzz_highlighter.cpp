// Program text through the highlighter and back through the RTF reader: the editor must show
// exactly the upper-cased program (letters a-z only), each line end as one paragraph break.

#include "common/core/codepage.h"
#include "document/core/highlighter.h"
#include "fuzzsupport.h"
#include "rtfchecks.h"

using namespace ordalvex;
using namespace ordalvex::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int fontSize = static_cast<int>(input.inRange(8, 24));
    const std::string_view text = input.rest();

    std::string rtf;
    highlightToRtf(text, rtf, "Courier New", fontSize);
    FUZZ_CHECK(rtf.size() >= text.size(), "the RTF holds at least the text's bytes");

    const RtfReadResult read = readRtf(rtf);
    FUZZ_CHECK(read.document.has_value(), "the highlighter's output reads as RTF");
    checkRunsCoverText(*read.document);

    std::string expected;
    expected.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the LF that follows makes this pair one line end
        expected += isLineEnd(c) ? '\n' : static_cast<char>(upperAscii(c));
    }
    FUZZ_CHECK(read.document->text == cp1250::decode(expected),
               "the RTF reads back as the upper-cased text with one paragraph break per line end");
    return 0;
}
