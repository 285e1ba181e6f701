#include "common/core/programfiletypes.h"

namespace ordalvex {

QString cncProgramMasks() {
    return QStringLiteral("*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia");
}

QString cncProgramFilter() {
    return QStringLiteral("Programy CNC (%1)").arg(cncProgramMasks());
}

} // namespace ordalvex
