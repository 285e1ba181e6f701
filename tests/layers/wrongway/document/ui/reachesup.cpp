// A document window reaching up into the tools: the layer check must refuse it.
#include "common/core/codepage.h"
#include "tools/core/spacing.h"
