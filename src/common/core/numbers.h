#pragma once

#include <QString>
#include <QStringView>

// Reading and writing of the numbers typed into the calculator windows. None of these fails:
// text that is not a number gives a defined value, which the windows then range-check.
namespace ordalvex::numbers {

// Reads a decimal number: leading spaces, an optional "+" or "-", digits with at most one "."
// and an optional exponent ("E" or "e", optional sign, digits). Empty text reads as 0. When a
// character does not fit (a second ".", a "/", a letter, a trailing space) the value is every
// digit read before it taken as one whole number, sign and point ignored: "1.2.3" gives 12,
// "-5x" gives 5. A value too large for a double reads as infinity.
double readNumber(QStringView text);

// Reads a whole number: leading spaces, an optional sign, digits. Empty text reads as 0. At
// the first character that does not fit the value is the whole number formed by the digits
// before it, sign ignored ("2.5" gives 2). Values beyond the int range are clamped to it.
int readWholeNumber(QStringView text);

// Writes `value` in fixed-point notation with `decimals` decimals (0 to 15), "." as separator,
// no grouping or padding, rounded to the nearest. A negative value keeps its "-" also when it
// rounds to zero ("-0.000"). Infinity and NaN are written as "INF", "-INF" and "NAN".
QString writeNumber(double value, int decimals);

// Rounds to the nearest whole number, a value exactly halfway to the even neighbour
// (2.5 gives 2, 3.5 gives 4, -2.5 gives -2). Infinity and NaN are returned unchanged.
double roundHalfEven(double value);

// Reads an inch length written as a decimal or a fraction: "2", "1.25", "3/4" (simple
// fraction), "1.1/4" or ".3/4" (whole part, numerator, denominator). A zero or missing
// numerator of a simple fraction gives the whole part ("3/" gives 3). With nothing usable
// after the "/" of a mixed fraction the numerator's digits are decimals with the place value
// of the digits typed ("1.25/" gives 1.25, "1.05/" gives 1.05, "1.1/0" gives 1.1). Each part
// is read with readNumber, so stray characters give its fallback values. Never NaN: parts
// too large for a double whose combination has no value give positive infinity.
double parseInchFraction(QStringView text);

} // namespace ordalvex::numbers
