#include "cli/commands.h"
#include "tools/core/spacing.h"

namespace ordalvex::cli {

int runRemoveSpaces(Arguments args) {
    return filterInput(args, removeSpaces);
}

int runInsertSpaces(Arguments args) {
    return filterInput(args, insertSpaces);
}

} // namespace ordalvex::cli
