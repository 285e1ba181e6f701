#include "cli/commands.h"
#include "common/core/codepage.h"
#include "document/core/highlighter.h"

#include <QString>

namespace ordalvex::cli {

int runHighlight(Arguments args) {
    std::string fontName = "Courier New";
    std::string size = "12";
    int fontSize = 12;
    if (!takeOption(args, "--font", fontName) || !takeOption(args, "--size", size) ||
        !parseInt(size, fontSize) || args.size() > 1)
        return kBadUsage;
    const auto encodedFont = cp1250::encode(QString::fromUtf8(fontName.data(), qsizetype(fontName.size())));
    if (!encodedFont.ok()) {
        printError("the font name has a character without a Windows-1250 byte");
        return kFailed;
    }
    std::string input;
    if (!readInput(args.empty() ? "-" : args.front(), input))
        return kFailed;
    std::string rtf;
    highlightToRtf(input, rtf, encodedFont.bytes, fontSize);
    return writeOutput(rtf) ? kOk : kFailed;
}

} // namespace ordalvex::cli
