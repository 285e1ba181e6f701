#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QString>

namespace ordalvex {

// The texts of the bolt-hole circle calculator's fields, as typed, and its unit choices.
struct BoltCircleInput {
    QString diameter;   // circle diameter, millimetres or (inchInput) inches, fractions allowed
    QString firstAngle; // degrees
    QString pitch;      // angle between neighbouring holes, degrees; "0" when not given
    QString count;      // number of holes; "0" when not given
    bool inchInput = false;
    bool inchOutput = false;
};

enum class BoltCircleField { Diameter, FirstAngle, Pitch, Count };

struct BoltCircleError {
    QString message;       // the text of the message box
    BoltCircleField field; // the field that gets the focus
};

// One row of the hole table.
struct BoltCircleHole {
    QString caption;      // column 0: "1. Kąt : 0.00"
    QString x;            // column 1: millimetres with 3 decimals or inches with 4
    QString y;            // column 2
    QString previewLabel; // label of the hole in the preview: "1. 0.00"
    double cosine = 0;    // of the hole's angle, for the preview
    double sine = 0;
};

struct BoltCircleResult {
    // The diameter field's text after the calculation: with inch input the value written with
    // 3 decimals ("1.1/4" becomes "1.250"), also when a check fails; else the text unchanged.
    QString diameterText;
    std::optional<BoltCircleError> error; // the first failed check; no holes then
    double diameterMm = 0;
    double firstAngle = 0;
    double pitch = 0; // after the count and pitch rule
    int count = 0;    // after the count and pitch rule
    std::vector<BoltCircleHole> holes;

    bool ok() const { return !error.has_value(); }
};

// Coordinates of holes on a circle centred on the origin, the first at `firstAngle` degrees
// counter-clockwise from +X, the next ones `pitch` degrees further each (added up hole by
// hole). Checks, in order: diameter 1 to 1000 mm, first angle 0 to 360, a count or a pitch
// given, count 1 to 360, pitch 1 to 180 (all inclusive). A missing count is 360 / pitch
// truncated, a missing pitch 360 / count. Never throws; bad input yields `error`.
BoltCircleResult solveBoltCircle(const BoltCircleInput& input);

// Clipboard text of hole rows given as (X, Y) cell texts: "X<x> Y<y>" and CR LF per row.
QString holeCoordinateLines(const std::vector<std::pair<QString, QString>>& rows);

// The hint of the diameter field while it takes inch fractions (a line break inside).
QString inchFractionHint();

} // namespace ordalvex
