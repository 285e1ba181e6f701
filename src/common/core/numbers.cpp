#include "common/core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace ordalvex::numbers {

namespace {

bool isDigit(QChar ch) {
    return ch >= u'0' && ch <= u'9';
}

qsizetype skipSpaces(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

// The whole number formed by every digit of text[from, to), in double so that a long run
// cannot overflow.
double digitsAsWholeNumber(QStringView text, qsizetype from, qsizetype to) {
    double value = 0;
    for (qsizetype i = from; i < to; ++i) {
        if (isDigit(text[i]))
            value = value * 10 + (text[i].unicode() - u'0');
    }
    return value;
}

// Converts text already checked to be a well-formed number, correctly rounded and independent
// of the process locale. A lone sign or point has no digits and reads as 0.
double convertWellFormed(QStringView text) {
    std::string ascii = text.toString().toStdString();
    const bool negative = !ascii.empty() && ascii.front() == '-';
    if (!ascii.empty() && (ascii.front() == '+' || ascii.front() == '-'))
        ascii.erase(0, 1);
    if (ascii.empty() || ascii == ".")
        return 0;
    double value = 0;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: infinity for a large exponent, else zero.
        const auto exponentAt = ascii.find_first_of("eE");
        const bool largeExponent = exponentAt != std::string::npos && ascii[exponentAt + 1] != '-';
        value =
            largeExponent || exponentAt == std::string::npos ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

double readNumber(QStringView text) {
    const qsizetype start = skipSpaces(text);
    qsizetype i = start;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool pointSeen = false;
    while (i < text.size() && (isDigit(text[i]) || (text[i] == u'.' && !pointSeen))) {
        pointSeen = pointSeen || text[i] == u'.';
        ++i;
    }
    bool complete = i == text.size();
    if (!complete && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        const qsizetype exponentDigits = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        complete = i == text.size() && i > exponentDigits;
    }
    if (!complete)
        return digitsAsWholeNumber(text, start, i);
    return convertWellFormed(text.sliced(start));
}

int readWholeNumber(QStringView text) {
    qsizetype i = skipSpaces(text);
    const qsizetype start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    while (i < text.size() && isDigit(text[i]))
        ++i;
    double value = digitsAsWholeNumber(text, start, i);
    if (i == text.size() && negative)
        value = -value;
    value =
        std::clamp(value, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    return static_cast<int>(value);
}

QString writeNumber(double value, int decimals) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        value = 0; // drops the sign of -0.0, which is not a negative value
    decimals = std::clamp(decimals, 0, 15);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return QString::fromLatin1(buffer);
}

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

namespace {

double inchFractionValue(QStringView text) {
    enum class Form { Plain, Simple, Mixed };
    Form form = Form::Plain;

    qsizetype i = 0;
    while (i < text.size() && text[i] != u'.' && text[i] != u'/')
        ++i;
    const double whole = readNumber(text.first(i));
    if (i == text.size())
        return whole;
    if (text[i] == u'/')
        form = Form::Simple;
    bool pointCounts = text[i] == u'.';

    const qsizetype numeratorStart = i + 1;
    qsizetype j = numeratorStart;
    while (j < text.size() && text[j] != u'/')
        ++j;
    const QStringView numeratorText = text.sliced(numeratorStart, j - numeratorStart);
    if (j < text.size()) {
        form = Form::Mixed;
        pointCounts = false;
    }
    const double numerator =
        readNumber(pointCounts ? QStringLiteral("0.") + numeratorText.toString() : numeratorText.toString());

    switch (form) {
    case Form::Plain:
        return whole + numerator;
    case Form::Simple:
        return numerator > 0 ? whole / numerator : whole;
    case Form::Mixed:
        break;
    }
    const double denominator = readNumber(QStringLiteral("0") + text.sliced(j + 1).toString());
    if (denominator > 0)
        return whole + numerator / denominator;
    // Nothing usable after the "/": the numerator was typed as the decimals of the value, so
    // each digit typed (leading zeros included) shifts it one place.
    qsizetype places = 0;
    while (places < numeratorText.size() && isDigit(numeratorText[places]))
        ++places;
    return whole + numerator / std::pow(10.0, double(places));
}

} // namespace

double parseInchFraction(QStringView text) {
    const double value = inchFractionValue(text);
    // Parts beyond the range of a double (say "1e400/1e400") make infinity over infinity:
    // such a length is out of every range, and must not turn into "NAN" in a result field.
    return std::isnan(value) ? HUGE_VAL : value;
}

} // namespace ordalvex::numbers
