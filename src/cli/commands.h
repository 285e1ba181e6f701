#pragma once

#include "cli/commandline.h"

namespace ordalvex::cli {

// Each subcommand takes the arguments after its name and returns an exit code; kBadUsage
// makes main print the usage.
int runHighlight(Arguments args);
int runDots(Arguments args);
int runRemoveSpaces(Arguments args);
int runInsertSpaces(Arguments args);
int runRenumber(Arguments args);
int runScan(Arguments args);
int runCalc(Arguments args);
int runFind(Arguments args);
int runSend(Arguments args);
int runReceive(Arguments args);

} // namespace ordalvex::cli
