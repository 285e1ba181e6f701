#pragma once

// The editing engine's widget. Its headers use Qt's bare signal and slot keywords, which this
// project compiles without.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qsciscintilla.h>
#undef signals
#undef slots
