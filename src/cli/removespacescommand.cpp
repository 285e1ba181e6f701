#include "cli/commands.h"
#include "tools/core/spacing.h"

namespace ordalvex::cli {

int runRemoveSpaces(Arguments args) {
    if (args.size() > 1 || (!args.empty() && args.front().starts_with("--")))
        return kBadUsage;
    std::string input;
    if (!readInput(args.empty() ? "-" : args.front(), input))
        return kFailed;
    return writeOutput(removeSpaces(input)) ? kOk : kFailed;
}

} // namespace ordalvex::cli
