// A core file including a window: the layer check must refuse it.
#include "common/ui/userinteraction.h"
