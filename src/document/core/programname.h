#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ordalvex {

struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

// Where the program's name stands in its text (Windows-1250 bytes, line ends as in the
// document): after the first "TEIL :" (else "TEIL:"), else after the first "(" that follows
// the first "%", else after the first "(" of the text; letters compared without case. The name
// runs up to the next ")" (which it leaves out), or to the end of the text when none follows,
// and is cut to its first `maxLength` bytes. Nothing when no start pattern is found.
constexpr std::size_t kProgramNameLength = 28;
std::optional<TextSpan> findProgramName(std::string_view text, std::size_t maxLength = kProgramNameLength);

} // namespace ordalvex
