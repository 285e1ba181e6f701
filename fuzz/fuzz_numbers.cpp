// The number readers and writer of the calculators and the inch-fraction reader. Any text
// reads without failing and never as NaN; numbers written with writeNumber read back to the
// value rounded to the decimals written; whole numbers and fractions typed the usual way read
// as their value; roundHalfEven rounds to the nearest, ties to even.

#include "common/core/numbers.h"
#include "fuzzsupport.h"

#include <cmath>
#include <cstring>

#include <QString>

using namespace ordalvex;
using namespace ordalvex::numbers;
using namespace ordalvex::fuzzing;

namespace {

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance + 1e-12 * std::fmax(std::fabs(a), std::fabs(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    double value = 0;
    const std::string_view raw = input.take(sizeof value);
    std::memcpy(&value, raw.data(), raw.size());
    const int decimals = static_cast<int>(input.inRange(0, 15));
    const auto whole = static_cast<std::int32_t>(input.u32());
    const auto numerator = static_cast<int>(input.inRange(1, 999));
    const auto denominator = static_cast<int>(input.inRange(1, 999));
    const auto inches = static_cast<int>(input.inRange(0, 999));

    // Arbitrary UTF-16, unpaired surrogates included.
    const std::string_view rest = input.rest();
    const QString text(reinterpret_cast<const QChar*>(rest.data()), qsizetype(rest.size() / 2));
    FUZZ_CHECK(!std::isnan(readNumber(text)), "readNumber never gives NaN");
    (void)readWholeNumber(text);
    FUZZ_CHECK(!std::isnan(parseInchFraction(text)), "parseInchFraction never gives NaN");
    if (!text.contains(QLatin1Char('/')) && !text.contains(QLatin1Char('.')))
        FUZZ_CHECK(parseInchFraction(text) == readNumber(text),
                   "an inch value without '.' or '/' reads as a number");

    const QString written = writeNumber(value, decimals);
    if (std::isnan(value)) {
        FUZZ_CHECK(written == QLatin1String("NAN"), "NaN is written as NAN");
    } else if (std::isinf(value)) {
        FUZZ_CHECK(written == QLatin1String(value < 0 ? "-INF" : "INF"), "infinity is written as INF");
    } else {
        const qsizetype point = written.indexOf(QLatin1Char('.'));
        FUZZ_CHECK(decimals == 0 ? point < 0 : point == written.size() - decimals - 1,
                   "writeNumber writes exactly the decimals asked for");
        if (std::fabs(value) < 1e15)
            FUZZ_CHECK(near(readNumber(written), value, 0.5 * std::pow(10.0, -decimals)),
                       "a written number reads back to its rounded value");

        const double rounded = roundHalfEven(value);
        FUZZ_CHECK(rounded == std::floor(rounded) && std::fabs(rounded - value) <= 0.5,
                   "roundHalfEven gives the nearest whole number");
        if (std::fabs(rounded - value) == 0.5)
            FUZZ_CHECK(std::fmod(rounded, 2.0) == 0, "a tie rounds to the even neighbour");
    }

    FUZZ_CHECK(readWholeNumber(QString::number(whole)) == whole, "a whole number reads as itself");
    FUZZ_CHECK(readWholeNumber(QStringLiteral("  +") + QString::number(std::abs(std::int64_t(whole)))) ==
                   std::min<std::int64_t>(std::abs(std::int64_t(whole)), INT32_MAX),
               "leading spaces and a plus sign are allowed; large values clamp");
    FUZZ_CHECK(readNumber(QString::number(whole)) == whole, "a whole number reads as a decimal number");

    const double simple = parseInchFraction(QStringLiteral("%1/%2").arg(numerator).arg(denominator));
    FUZZ_CHECK(near(simple, double(numerator) / denominator, 1e-12), "a simple fraction reads as its value");
    const double mixed =
        parseInchFraction(QStringLiteral("%1.%2/%3").arg(inches).arg(numerator).arg(denominator));
    FUZZ_CHECK(near(mixed, inches + double(numerator) / denominator, 1e-12),
               "a mixed fraction reads as its value");
    return 0;
}
