#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Stops the run when a property of the code under test does not hold. libFuzzer then keeps
// the input as a crash file, so the failing case can be replayed with the target alone.
#define FUZZ_CHECK(condition, what)                                                                          \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property violated: %s\n  (%s) at %s:%d\n", what, #condition, __FILE__,     \
                         __LINE__);                                                                          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace ordalvex::fuzzing {

// Splits a fuzz input into parameters and payload. Reads past the end give zeros and empty
// pieces, so every input, however short, makes a complete call.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        if (m_rest.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | byte();
        return v;
    }
    // A value from lo to hi, bounds included (lo <= hi).
    std::int64_t inRange(std::int64_t lo, std::int64_t hi) {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<std::int64_t>(u32() % span);
    }
    // The next `length` bytes, or fewer at the end.
    std::string_view take(std::size_t length) {
        const std::string_view piece = m_rest.substr(0, length);
        m_rest.remove_prefix(piece.size());
        return piece;
    }
    // A piece whose length is given by the next byte, at most `maxLength`.
    std::string_view piece(std::size_t maxLength) { return take(byte() % (maxLength + 1)); }
    std::string_view rest() {
        const std::string_view all = m_rest;
        m_rest = {};
        return all;
    }

private:
    std::string_view m_rest;
};

inline unsigned char upperAscii(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}
inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool isLineEnd(unsigned char c) {
    return c == '\r' || c == '\n';
}

} // namespace ordalvex::fuzzing
