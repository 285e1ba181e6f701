#pragma once

#include <optional>

#include <QChar>

namespace ordalvex {

// The characters a calculator field accepts as they are typed.
enum class KeyFilter {
    Digits,   // "0" to "9"
    Decimal,  // "0" to "9" and "."; a typed "," becomes "."
    Fraction, // every character from "." to "9" (digits, "." and "/"); a typed "," becomes "."
};

// The character to insert for a typed one under `filter`, or nothing when it is discarded.
// Backspace ("\b") always passes; every other control or printable character outside the
// filter's set is discarded.
std::optional<QChar> filterTypedCharacter(QChar typed, KeyFilter filter);

} // namespace ordalvex
