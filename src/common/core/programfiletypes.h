#pragma once

#include <QString>

namespace ordalvex {

// The file name patterns of machining programs, ours (".nc", ".min") and those of other
// controls, separated by blanks as file dialogs and the file browser take them:
// "*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia".
QString cncProgramMasks();

// The file type offered for every machining program: "Programy CNC (" + cncProgramMasks() + ")".
QString cncProgramFilter();

} // namespace ordalvex
