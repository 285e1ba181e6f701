#pragma once

#include <array>
#include <vector>

#include <QString>

namespace ordalvex {

// The five quantities of a right triangle with the right angle between b and c: a the
// hypotenuse, B the acute angle opposite b, C the one opposite c (degrees).
enum class TriangleQuantity { A, B, C, AngleB, AngleC };

// Bit of a quantity in the selection code: a 1, b 2, c 4, B 8, C 16.
int selectionBit(TriangleQuantity quantity);

// True for the codes of two given quantities other than both angles: 3, 5, 6, 9, 10, 12, 17,
// 18 and 20.
bool isSolvableSelection(int code);

struct TriangleWrite {
    TriangleQuantity quantity;
    QString text; // the value with 3 decimals
};

struct TriangleResult {
    std::vector<TriangleWrite> writes; // results in the order they are computed
    QString error;                     // message after the writes, empty on success
};

// Completes the triangle from the two quantities of `code` (values indexed by
// TriangleQuantity; the others are ignored). A given hypotenuse must be longer than a given
// side and a given angle below 90, else `error` names the rule and nothing is written. A
// division by zero, or a result that is not a finite number, stops the calculation with
// "Błędne dane !" after the results already computed. An unsolvable code gives no writes
// and no error.
TriangleResult solveTriangle(int code, const std::array<double, 5>& values);

} // namespace ordalvex
