// Arbitrary bytes through the RTF reader: it must never fail on a document that starts as RTF,
// and what it gives must be well formed.

#include "fuzzsupport.h"
#include "rtfchecks.h"

using namespace ordalvex;
using namespace ordalvex::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const RtfReadResult read = readRtf(rtf);
    const bool startsAsRtf = rtf.substr(0, 5) == "{\\rtf";
    FUZZ_CHECK(read.document.has_value() == startsAsRtf, "only input that does not start as RTF is refused");
    if (!read.document) {
        FUZZ_CHECK(!read.error.isEmpty(), "a refusal says why");
        return 0;
    }
    checkRunsCoverText(*read.document);
    // Every byte of input gives at most one character of text.
    FUZZ_CHECK(static_cast<std::size_t>(read.document->text.size()) <= rtf.size(),
               "the text is never longer than the RTF");
    return 0;
}
