#include "tools/core/jumps.h"

#include "document/core/cnctokenizer.h"

#include <algorithm>
#include <cstdint>

#include <QStringList>

namespace ordalvex {

namespace {

inline unsigned char upperAt(std::string_view text, std::size_t pos) {
    return CncTokenizer::upper(static_cast<unsigned char>(text[pos]));
}
inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool isLetter(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t';
}

// Length of the jump keyword that begins `word` (GOTO: 4; GOTOF, GOTOB, GOTOC: 5), or 0.
std::size_t jumpKeywordLength(std::string_view word) {
    static constexpr std::string_view kGoto = "GOTO";
    if (word.size() < kGoto.size())
        return 0;
    for (std::size_t i = 0; i < kGoto.size(); ++i)
        if (upperAt(word, i) != static_cast<unsigned char>(kGoto[i]))
            return 0;
    if (word.size() > kGoto.size()) {
        const unsigned char suffix = upperAt(word, kGoto.size());
        if (suffix == 'F' || suffix == 'B' || suffix == 'C')
            return kGoto.size() + 1;
    }
    return kGoto.size();
}

// A bracketed name such as [LABEL_1] is a label; anything else in brackets is an expression.
bool isBracketedLabel(std::string_view text, std::size_t open) {
    std::size_t pos = open + 1;
    while (pos < text.size() && isBlank(static_cast<unsigned char>(text[pos])))
        ++pos;
    const std::size_t nameStart = pos;
    while (pos < text.size()) {
        const unsigned char c = upperAt(text, pos);
        if (!isLetter(c) && !isDigit(c) && c != '_' && c != '.')
            break;
        ++pos;
    }
    if (pos == nameStart || !isLetter(upperAt(text, nameStart)))
        return false;
    while (pos < text.size() && isBlank(static_cast<unsigned char>(text[pos])))
        ++pos;
    return pos < text.size() && text[pos] == ']';
}

enum class Target { None, Literal, Computed };

// Reads a jump target written in text[pos, end): blanks, an optional "N", then digits (a
// literal), "#", "@", "[" or an operator (computed), or a name (a label: no target).
Target readTarget(std::string_view text, std::size_t pos, std::size_t end, Jump& jump) {
    while (pos < end && isBlank(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (pos == end)
        return Target::None;
    if (upperAt(text, pos) == 'N') {
        ++pos;
        if (pos < end && isLetter(upperAt(text, pos)))
            return Target::None; // a name that begins with N
        jump.withN = true;
    }
    if (pos == end)
        return Target::Computed;
    const unsigned char c = upperAt(text, pos);
    if (isDigit(c)) {
        std::size_t digitsEnd = pos;
        std::int64_t value = 0;
        while (digitsEnd < end && isDigit(static_cast<unsigned char>(text[digitsEnd]))) {
            value = std::min<std::int64_t>(value * 10 + (text[digitsEnd] - '0'), INT32_MAX);
            ++digitsEnd;
        }
        jump.digitsOffset = pos;
        jump.digitsLength = digitsEnd - pos;
        jump.value = value;
        // 20.5 is no block number a control would look up, and a number too long to read is
        // not matched with any block.
        const bool readable = value < INT32_MAX && !(digitsEnd < end && text[digitsEnd] == '.');
        return readable ? Target::Literal : Target::Computed;
    }
    if (c == '[')
        return isBracketedLabel(text, pos) ? Target::None : Target::Computed;
    if (c == '#' || c == '@' || c == '.' || CncTokenizer::isOperator(c) || jump.withN)
        return Target::Computed;
    return Target::None;
}

bool isM99(std::string_view word) {
    std::size_t pos = 1;
    while (pos < word.size() && word[pos] == '0')
        ++pos;
    return word.substr(pos, 2) == "99" &&
           (pos + 2 == word.size() || !(isDigit(word[pos + 2]) || word[pos + 2] == '.'));
}

} // namespace

std::vector<Jump> findJumps(std::string_view text) {
    std::vector<Jump> jumps;
    CncTokenizer tokenizer(text);
    Token token;
    std::size_t line = 1;
    std::size_t section = 0;
    bool awaitingTarget = false;
    Jump pending;
    bool lineHasM99 = false;
    std::size_t m99Offset = 0;
    bool lineHasP = false;
    auto endLine = [&] {
        if (lineHasM99 && lineHasP) {
            Jump jump;
            jump.kind = Jump::Kind::Return;
            jump.offset = m99Offset;
            jump.line = line;
            jump.section = section;
            jumps.push_back(jump);
        }
        lineHasM99 = lineHasP = false;
    };
    auto settle = [&](Target target) {
        if (target == Target::None)
            return;
        pending.kind = target == Target::Literal ? Jump::Kind::Literal : Jump::Kind::Computed;
        jumps.push_back(pending);
    };

    while (tokenizer.next(token)) {
        const std::string_view word = text.substr(token.offset, token.length);
        if (awaitingTarget) {
            if (token.cls == TokenClass::Space || (token.cls == TokenClass::Other && word == "\t"))
                continue;
            awaitingTarget = false;
            if (token.cls == TokenClass::AddressN)
                pending.targetWordOffset = token.offset;
            // A name after the keyword is a label; the word still counts for what it is.
            settle(readTarget(text, token.offset, token.offset + token.length, pending));
        }
        switch (token.cls) {
        case TokenClass::LineEnd:
            endLine();
            ++line;
            break;
        case TokenClass::ProgramNumber:
            ++section;
            break;
        case TokenClass::AddressM:
            if (!lineHasM99 && isM99(word)) {
                lineHasM99 = true;
                m99Offset = token.offset;
            }
            break;
        case TokenClass::OtherAddress:
            lineHasP = lineHasP || upperAt(word, 0) == 'P';
            break;
        case TokenClass::Keyword: {
            const std::size_t keyword = jumpKeywordLength(word);
            if (keyword == 0)
                break;
            pending = Jump();
            pending.offset = token.offset;
            pending.line = line;
            pending.section = section;
            std::size_t rest = token.offset + keyword;
            const std::size_t end = token.offset + token.length;
            while (rest < end && isBlank(static_cast<unsigned char>(text[rest])))
                ++rest;
            if (rest == end)
                awaitingTarget = true;
            else
                settle(readTarget(text, rest, end, pending));
            break;
        }
        default:
            break;
        }
    }
    endLine();
    return jumps;
}

QString unfollowedJumpsMessage(const std::vector<std::size_t>& lines) {
    if (lines.empty())
        return {};
    constexpr std::size_t kNamed = 10;
    QStringList named;
    for (std::size_t i = 0; i < lines.size() && i < kNamed; ++i)
        named.append(QString::number(lines[i]));
    QString where = named.join(QStringLiteral(", "));
    if (lines.size() > kNamed) {
        const std::size_t more = lines.size() - kNamed;
        where += more == 1 ? QStringLiteral(" i w 1 innej") : QStringLiteral(" i w %1 innych").arg(more);
    }
    if (lines.size() == 1)
        return QStringLiteral(
                   "Skok w linii %1 pozostawiono bez zmian: jego cel jest obliczany, nie jest numerem "
                   "dokładnie jednego przenumerowanego bloku albo jest to powrót M99 P. Sprawdź go.")
            .arg(where);
    return QStringLiteral(
               "Skoki w liniach %1 pozostawiono bez zmian: ich cel jest obliczany, nie jest numerem "
               "dokładnie jednego przenumerowanego bloku albo jest to powrót M99 P. Sprawdź je.")
        .arg(where);
}

} // namespace ordalvex
