#include "cli/commands.h"
#include "common/core/codepage.h"
#include "document/core/patternsearch.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QString>

namespace ordalvex::cli {

namespace {

// The pattern as Windows-1250 bytes: a command line in UTF-8 (as a Linux terminal gives it) is
// converted, anything else is taken as it is. Nothing when a character has no Windows-1250
// byte: the text cannot hold it either.
std::optional<std::string> patternBytes(std::string_view argument) {
    const QString decoded = QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
    if (decoded.toUtf8() != QByteArray(argument.data(), static_cast<qsizetype>(argument.size())))
        return std::string(argument);
    cp1250::EncodeResult encoded = cp1250::encode(decoded);
    if (!encoded.ok())
        return std::nullopt;
    return std::move(encoded.bytes);
}

} // namespace

int runFind(Arguments args) {
    unsigned options = frDown;
    std::size_t next = 0;
    for (; next < args.size() && args[next].starts_with("--"); ++next) {
        const std::string_view option = args[next];
        if (option == "--") {
            ++next;
            break;
        }
        if (option == "--whole-word")
            options |= frWholeWord;
        else if (option == "--match-case")
            options |= frMatchCase;
        else if (option == "--up")
            options &= ~unsigned(frDown);
        else
            return kBadUsage;
    }
    const std::size_t rest = args.size() - next;
    if (rest < 1 || rest > 2)
        return kBadUsage;
    std::string input;
    if (!readInput(rest == 2 ? args[next + 1] : "-", input))
        return kFailed;
    const auto pattern = patternBytes(args[next]);
    if (!pattern)
        return kFailed;
    const std::string buffer = withEditorLineEnds(input);
    const std::ptrdiff_t caret = (options & frDown) ? 0 : static_cast<std::ptrdiff_t>(buffer.size());
    const std::vector<std::size_t> starts = RepeatedFindNext(buffer, caret, *pattern, options);
    if (starts.empty())
        return kFailed;
    std::string output;
    for (const std::size_t start : starts)
        output += std::to_string(start) + '\n';
    return writeOutput(output) ? kOk : kFailed;
}

} // namespace ordalvex::cli
