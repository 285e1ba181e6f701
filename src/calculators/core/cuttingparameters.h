#pragma once

#include <vector>

#include <QString>

namespace ordalvex {

// Which pair of the cutting calculator is given: cutting speed and feed per tooth (giving
// spindle speed and table feed), or spindle speed and table feed (giving the other two).
enum class CuttingMode { CuttingSpeed, SpindleSpeed };

// The six fields' texts.
struct CuttingFields {
    QString diameter = QStringLiteral("10");      // tool diameter, mm
    QString edges = QStringLiteral("1");          // number of cutting edges
    QString cuttingSpeed = QStringLiteral("60");  // Vc, m/min
    QString feedPerTooth = QStringLiteral("0.3"); // Fz, mm per tooth
    QString spindleSpeed = QStringLiteral("1");   // S, rev/min
    QString feed = QStringLiteral("1");           // F, mm/min
};

enum class CuttingField { Diameter, Edges, CuttingSpeed, FeedPerTooth, SpindleSpeed, Feed };

struct CuttingResult {
    CuttingFields fields;             // every field's text after the calculation
    std::vector<CuttingField> resets; // fields reset to their reset text, in the order checked
};

// Runs the calculation on the fields' texts. Values outside their inclusive ranges (edges
// 1-100, diameter 1-1000, Vc 1-1000, Fz 0.001-20, S 1-15000, F 1-10000) are reset (edges "1",
// diameter "15", Vc "60", Fz "0.3", S "1", F "1") and the calculation goes on with the reset
// value. Cutting-speed mode writes S = round(Vc·1000 / (π·D)) and F = round(Fz·z·S) as whole
// numbers; spindle-speed mode writes Vc = round(π·D·S / 1000) as a whole number and
// Fz = F / (S·z) with 3 decimals. Rounding is half to even. The input pair is left as typed
// unless reset.
CuttingResult calculateCutting(CuttingMode mode, const CuttingFields& fields);

} // namespace ordalvex
