#include "tools/core/spacing.h"

#include <array>

namespace ordalvex {

namespace {

enum : std::uint8_t {
    kWordStart = 1,
    kLetterStop = 2,
    kNumberStop = 4,
};

constexpr std::array<std::uint8_t, 256> makeSplitClasses() {
    std::array<std::uint8_t, 256> t{};
    auto add = [&t](std::string_view chars, std::uint8_t flag) {
        for (char c : chars)
            t[static_cast<unsigned char>(c)] |= flag;
    };
    add("#%:ABCDEFGHIJKLMNOPQRSTUVWXYZ", kWordStart);
    add("\r\n #%(*+-./0123456789:=@[]", kLetterStop);
    add("\r\n #%(*+-/:=@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]", kNumberStop);
    return t;
}

constexpr auto kSplitClasses = makeSplitClasses();

constexpr int kEnd = WordSplitState::kEnd;

inline bool has(int c, std::uint8_t flag) {
    return c >= 0 && (kSplitClasses[static_cast<unsigned>(c)] & flag) != 0;
}
inline bool isLineEnd(int c) {
    return c == '\r' || c == '\n';
}

void readChar(std::string_view text, std::size_t& position, WordSplitState& state) {
    state.pending = position < text.size() ? static_cast<unsigned char>(text[position]) : kEnd;
    ++position;
}

enum class SpacingClass { Letter, Relational, Number, Other, Empty };

SpacingClass classify(std::string_view word) {
    if (word.empty())
        return SpacingClass::Empty;
    if (word == "EQ" || word == "NE" || word == "LT" || word == "LE" || word == "GT" || word == "GE")
        return SpacingClass::Relational;
    const auto first = static_cast<unsigned char>(word.front());
    if (first == '#' || first == '(' || first == '@' || first == '[' || (first >= 'A' && first <= 'Z'))
        return SpacingClass::Letter;
    if (first == ']' || (first >= '0' && first <= '9'))
        return SpacingClass::Number;
    return SpacingClass::Other;
}

} // namespace

std::string removeSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const std::size_t size = text.size();
    bool lineHasText = false;
    std::size_t pos = 0;
    while (pos < size) {
        const char c = text[pos];
        if (c == '(') {
            const std::size_t close = text.find(')', pos + 1);
            const std::size_t end = close == std::string_view::npos ? size : close;
            out.append(text, pos, end - pos);
            pos = end;
            lineHasText = true;
            continue;
        }
        if (c == ' ') {
            ++pos;
            continue;
        }
        if (isLineEnd(static_cast<unsigned char>(c))) {
            const std::size_t length = c == '\r' && pos + 1 < size && text[pos + 1] == '\n' ? 2 : 1;
            if (lineHasText)
                out.append(text, pos, length);
            lineHasText = false;
            pos += length;
            continue;
        }
        out += c;
        lineHasText = true;
        ++pos;
    }
    return out;
}

std::string nextWord(std::string_view text, std::size_t& position, WordSplitState& state) {
    std::string word;
    const int first = state.pending;
    if (first == WordSplitState::kStart || first == kEnd) {
        // Nothing is pending yet (or any more): the only work is reading the next character.
        readChar(text, position, state);
        return word;
    }
    if (has(first, kWordStart)) {
        do {
            word += static_cast<char>(state.pending);
            readChar(text, position, state);
        } while (state.pending != kEnd && !has(state.pending, kLetterStop));
        if (state.pending == '.' && !state.afterDot) {
            // The last letter belongs to the number that follows: give it back.
            word.pop_back();
            if (!word.empty())
                word += ' ';
            position -= 2;
            readChar(text, position, state);
            state.afterDot = true;
        } else {
            state.afterDot = false;
        }
        return word;
    }
    if (first == '.' || (first >= '0' && first <= '9')) {
        do {
            word += static_cast<char>(state.pending);
            readChar(text, position, state);
        } while (state.pending != kEnd && !has(state.pending, kNumberStop));
        return word;
    }
    if (first == '(') {
        bool closed = false;
        do {
            closed = state.pending == ')';
            word += static_cast<char>(state.pending);
            readChar(text, position, state);
        } while (!closed && state.pending != kEnd && !isLineEnd(state.pending));
        return word;
    }
    word += static_cast<char>(first);
    readChar(text, position, state);
    return word;
}

std::string insertSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2 + 16);
    WordSplitState state;
    std::size_t position = 0;
    SpacingClass previous = SpacingClass::Empty;
    while (position <= text.size()) {
        const std::string word = nextWord(text, position, state);
        const SpacingClass cls = classify(word);
        const bool afterNumberOrRelational =
            previous == SpacingClass::Number || previous == SpacingClass::Relational;
        if (((cls == SpacingClass::Letter || cls == SpacingClass::Relational) && afterNumberOrRelational) ||
            (cls == SpacingClass::Number && previous == SpacingClass::Relational))
            out += ' ';
        out += word;
        // An empty word (a letter given back before a ".") leaves no trace in the output, so
        // it must not hide the class of the word before it either.
        if (cls != SpacingClass::Empty)
            previous = cls;
    }
    return out;
}

} // namespace ordalvex
