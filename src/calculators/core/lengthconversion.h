#pragma once

#include <QString>

namespace ordalvex {

// The converter's result text for the input text. Empty input gives "0". Otherwise the input
// is read as an inch fraction or decimal ("1.1/4", "3/4", "25.4", in both directions) and
// converted at 25.4 mm per inch, written with 5 decimals. Millimetres above 15000 give
// " 15000 > ", inches above 590 give " 590 > " (the limits themselves still convert).
QString convertLength(const QString& input, bool millimetresToInches);

} // namespace ordalvex
