#include "cli/commands.h"
#include "tools/core/decimalpoints.h"

namespace ordalvex::cli {

int runDots(Arguments args) {
    std::string list(kDefaultAddressList);
    if (!takeOption(args, "--addresses", list) || args.size() > 1 ||
        (!args.empty() && args.front().starts_with("--")))
        return kBadUsage;
    std::string input;
    if (!readInput(args.empty() ? "-" : args.front(), input))
        return kFailed;
    return writeOutput(insertDecimalPoints(input, addressSetFromList(list))) ? kOk : kFailed;
}

} // namespace ordalvex::cli
