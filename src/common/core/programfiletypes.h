#pragma once

#include <QString>

namespace ordalvex {

// The file name patterns of machining programs, ours (".nc", ".min") and those of other
// controls, separated by blanks as file dialogs and the file browser take them:
// "*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia".
QString cncProgramMasks();

// The file type offered for every machining program: "Programy CNC (" + cncProgramMasks() + ")".
QString cncProgramFilter();

// The extension of the file name in `path`, with its dot and as written (".NC" for
// "C:/P/O0010.NC"); empty when the name has none. Only the file name counts, "/" and "\"
// ending the folders: "dir.x/name" has no extension, nor has a hidden name such as ".hidden";
// "a.b.c" has ".c", and a name ending in a dot has ".".
QString extensionOf(const QString& path);

// `path` with the extension of its file name (as extensionOf() finds it) replaced by
// `extension` (given with its dot, ".bak"; empty removes it): "dir.x/name" gives "dir.x/name.bak".
QString withExtension(const QString& path, const QString& extension);

} // namespace ordalvex
