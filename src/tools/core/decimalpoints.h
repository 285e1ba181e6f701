#pragma once

#include <string>
#include <string_view>

namespace ordalvex {

// The default address list of the decimal-point dialog.
inline constexpr std::string_view kDefaultAddressList = "A B C R X Y Z";

// The addresses named by an address list as typed by the user ("A B C R X Y Z"): every
// character that is "=" or a letter, letters upper-cased ("x" counts as "X"), in the order
// typed; spaces and every other character are ignored. An empty or letterless list gives "".
std::string addressSetFromList(std::string_view list);

// Appends "." to the whole-number values of the given addresses in program text
// (Windows-1250 bytes, any line ends). `addresses` holds upper-case letters and possibly "="
// (as addressSetFromList gives); a letter of the text counts in either case.
// After an address, the run of number characters ("-" and digits) is copied; when it held at
// least one digit and the next character is not ".", a "." is added after the run, so X10
// gives X10., X1000 gives X1000., Y-5 gives Y-5., while X10.5, X.5, X and X- stay as they
// are. A comment, from "(" to ")" or the end of its line, is copied unchanged. Every input
// byte is copied once, in order, so the result is at most twice as long as the input. An
// empty address set returns the text unchanged.
std::string insertDecimalPoints(std::string_view text, std::string_view addresses);

} // namespace ordalvex
