#include "cli/commands.h"
#include "tools/core/decimalpoints.h"

namespace ordalvex::cli {

int runDots(Arguments args) {
    std::string list(kDefaultAddressList);
    if (!takeOption(args, "--addresses", list))
        return kBadUsage;
    return filterInput(args, [&list](std::string_view input) {
        return insertDecimalPoints(input, addressSetFromList(list));
    });
}

} // namespace ordalvex::cli
