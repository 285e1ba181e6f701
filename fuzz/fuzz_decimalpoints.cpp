// The decimal-point tool adds "." characters only, each right after a run of number characters
// that holds a digit, never before a digit or another "."; nothing inside a comment changes,
// and a second pass changes nothing more.

#include "fuzzsupport.h"
#include "tools/core/decimalpoints.h"

using namespace ordalvex;
using namespace ordalvex::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string addresses = addressSetFromList(input.piece(16));
    const std::string_view text = input.rest();

    for (char a : addresses)
        FUZZ_CHECK(a == '=' || (a >= 'A' && a <= 'Z'), "an address set holds capitals and '=' only");

    const std::string out = insertDecimalPoints(text, addresses);
    FUZZ_CHECK(out.size() <= 2 * text.size(), "the result is at most twice the text");
    if (addresses.empty())
        FUZZ_CHECK(out == text, "an empty address set changes nothing");

    // Walk the input and the output together; every output byte that is not the next input
    // byte must be an inserted ".".
    bool inComment = false;
    std::size_t i = 0;
    for (std::size_t j = 0; j < out.size(); ++j) {
        const auto o = static_cast<unsigned char>(out[j]);
        if (i < text.size() && o == static_cast<unsigned char>(text[i])) {
            if (o == '(')
                inComment = true;
            else if (o == ')' || isLineEnd(o))
                inComment = false;
            ++i;
            continue;
        }
        FUZZ_CHECK(o == '.', "only '.' characters are added");
        FUZZ_CHECK(!inComment, "nothing is added inside a comment");
        // The point closes the run of number characters ("-" and digits) after an address,
        // and that run holds a digit.
        bool runHasDigit = false;
        for (std::size_t k = j;
             k > 0 && (isDigit(static_cast<unsigned char>(out[k - 1])) || out[k - 1] == '-'); --k)
            runHasDigit = runHasDigit || out[k - 1] != '-';
        FUZZ_CHECK(runHasDigit, "a point follows a number run that holds a digit");
        FUZZ_CHECK(i >= text.size() || (!isDigit(static_cast<unsigned char>(text[i])) && text[i] != '.'),
                   "a point never lands inside a digit run nor before another point");
    }
    FUZZ_CHECK(i == text.size(), "every input byte is kept");
    FUZZ_CHECK(insertDecimalPoints(out, addresses) == out, "a second pass adds nothing");
    return 0;
}
