#include "document/core/patternsearch.h"

#include "common/core/codepage.h"

#include <array>

namespace ordalvex {

namespace {

constexpr std::array<bool, 256> makeWordChars() {
    std::array<bool, 256> t{};
    for (unsigned char c : std::string_view("#%.@0123456789"))
        t[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = t[c + 32] = true;
    return t;
}
constexpr auto kWordChar = makeWordChars();

class Searcher {
public:
    Searcher(std::string_view buffer, std::string_view pattern, unsigned options)
        : m_buffer(buffer), m_length(static_cast<std::ptrdiff_t>(buffer.size())), m_options(options) {
        const bool matchCase = (options & frMatchCase) != 0;
        for (int i = 0; i < 256; ++i)
            m_map[i] =
                matchCase ? static_cast<unsigned char>(i) : cp1250::toUpper(static_cast<unsigned char>(i));
        m_pattern.reserve(pattern.size());
        for (char c : pattern)
            m_pattern += static_cast<char>(m_map[static_cast<unsigned char>(c)]);
    }

    std::optional<std::size_t> run(std::ptrdiff_t start, std::ptrdiff_t count, int step) {
        m_candidate = start;
        m_count = count;
        const auto patternLength = static_cast<std::ptrdiff_t>(m_pattern.size());
        const bool wholeWord = (m_options & frWholeWord) != 0;
        while (m_count >= 0) {
            if (wholeWord && !moveToWordStart(step))
                return std::nullopt;
            if (m_candidate >= 0 && m_candidate + patternLength <= m_length && matchesAt(m_candidate)) {
                if (!wholeWord || m_count == 0 || !isWordChar(m_candidate + patternLength))
                    return static_cast<std::size_t>(m_candidate);
            }
            m_candidate += step;
            --m_count;
        }
        return std::nullopt;
    }

private:
    unsigned char at(std::ptrdiff_t i) const {
        return i >= 0 && i < m_length ? static_cast<unsigned char>(m_buffer[static_cast<std::size_t>(i)]) : 0;
    }
    bool isWordChar(std::ptrdiff_t i) const { return kWordChar[at(i)]; }

    bool matchesAt(std::ptrdiff_t pos) const {
        for (std::size_t k = 0; k < m_pattern.size(); ++k) {
            const auto p = static_cast<unsigned char>(m_pattern[k]);
            const unsigned char b = m_map[at(pos + static_cast<std::ptrdiff_t>(k))];
            if (p == b || p == '?' || (p == '$' && b >= '0' && b <= '9'))
                continue;
            return false;
        }
        return true;
    }

    // Leaves the word the candidate stands in and skips the delimiters after it (backward:
    // the delimiters, then the word, ending on the word's first character).
    bool moveToWordStart(int step) {
        if (step > 0) {
            while (m_count > 0 && isWordChar(m_candidate))
                m_candidate += step, --m_count;
            while (m_count > 0 && !isWordChar(m_candidate))
                m_candidate += step, --m_count;
        } else {
            while (m_count > 0 && !isWordChar(m_candidate))
                m_candidate += step, --m_count;
            while (m_count > 0 && isWordChar(m_candidate))
                m_candidate += step, --m_count;
        }
        if (m_count <= 0)
            return false;
        if (step < 0 && !isWordChar(m_candidate))
            ++m_candidate, ++m_count;
        return true;
    }

    std::string_view m_buffer;
    std::ptrdiff_t m_length;
    unsigned m_options;
    std::array<unsigned char, 256> m_map{};
    std::string m_pattern;
    std::ptrdiff_t m_candidate = 0;
    std::ptrdiff_t m_count = 0;
};

} // namespace

std::optional<std::size_t> SearchBuffer(std::string_view buffer, std::ptrdiff_t selStart,
                                        std::ptrdiff_t selLength, std::string_view pattern,
                                        unsigned options) {
    const auto length = static_cast<std::ptrdiff_t>(buffer.size());
    const auto patternLength = static_cast<std::ptrdiff_t>(pattern.size());
    if (length <= 0 || patternLength == 0)
        return std::nullopt;
    std::ptrdiff_t start = 0;
    std::ptrdiff_t count = 0;
    int step = 1;
    // Positions far outside any text (a selection near the type's limits) find nothing rather
    // than overflow.
    if (options & frDown) {
        if (__builtin_add_overflow(selStart, selLength, &start) || start < 0 || start > length)
            return std::nullopt;
        count = length - start - patternLength + 1;
        if (count < 0)
            return std::nullopt;
    } else {
        step = -1;
        if (__builtin_sub_overflow(selStart, patternLength, &start))
            return std::nullopt;
        count = start + 1;
    }
    if (start < 0 || start > length)
        return std::nullopt;
    Searcher searcher(buffer, pattern, options);
    return searcher.run(start, count, step);
}

std::optional<BufferSelection> FindNextSelection(std::string_view buffer, BufferSelection current,
                                                 std::string_view pattern, unsigned options) {
    const auto found = SearchBuffer(buffer, current.start, current.length, pattern, options);
    if (!found)
        return std::nullopt;
    return BufferSelection{static_cast<std::ptrdiff_t>(*found), static_cast<std::ptrdiff_t>(pattern.size())};
}

std::vector<std::size_t> RepeatedFindNext(std::string_view buffer, std::ptrdiff_t caret,
                                          std::string_view pattern, unsigned options) {
    std::vector<std::size_t> starts;
    BufferSelection selection{caret, 0};
    // Each match lies wholly after (or, upward, before) the previous selection, so the loop ends.
    while (const auto next = FindNextSelection(buffer, selection, pattern, options)) {
        starts.push_back(static_cast<std::size_t>(next->start));
        selection = *next;
    }
    return starts;
}

std::string withEditorLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        out += "\r\n";
    }
    return out;
}

} // namespace ordalvex
