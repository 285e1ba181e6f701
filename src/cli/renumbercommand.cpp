#include "cli/commands.h"
#include "tools/core/jumps.h"
#include "tools/core/renumber.h"

#include <algorithm>
#include <cstdio>

#include <QByteArray>

namespace ordalvex::cli {

namespace {

// Takes "--name N" when present; false when the value is missing, not a number or out of
// [low, high].
bool takeNumber(Arguments& args, std::string_view name, int low, int high, std::int32_t& value) {
    std::string text;
    const std::size_t before = args.size();
    if (!takeOption(args, name, text))
        return false;
    if (args.size() == before)
        return true;
    int parsed = 0;
    if (!parseInt(text, parsed) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

} // namespace

int runRenumber(Arguments args) {
    RenumberOptions options;
    if (!takeNumber(args, "--first", kFirstNumberLow, kFirstNumberHigh, options.firstNumber) ||
        !takeNumber(args, "--step", kStepLow, kStepHigh, options.step) ||
        !takeNumber(args, "--min", kMinNumberLow, kMinNumberHigh, options.minNumber))
        return kBadUsage;
    const auto zeros = std::find(args.begin(), args.end(), std::string_view("--zeros"));
    if (zeros != args.end()) {
        options.zeroPadding = true;
        args.erase(zeros);
    }
    if (args.size() > 1 || (!args.empty() && args.front().starts_with("--")))
        return kBadUsage;
    std::string input;
    if (!readInput(args.empty() ? "-" : args.front(), input))
        return kFailed;
    const RenumberResult result = renumberText(input, options);
    if (!writeOutput(result.text))
        return kFailed;
    // The same warning the dialog shows; the renumbered text is still good to use.
    if (!result.unfollowedJumpLines.empty()) {
        const QByteArray message = unfollowedJumpsMessage(result.unfollowedJumpLines).toUtf8() + '\n';
        std::fwrite(message.data(), 1, std::size_t(message.size()), stderr);
    }
    return kOk;
}

} // namespace ordalvex::cli
