#include "calculators/core/lengthconversion.h"

#include "common/core/numbers.h"

namespace ordalvex {

QString convertLength(const QString& input, bool millimetresToInches) {
    constexpr double kMillimetresPerInch = 25.4;
    if (input.isEmpty())
        return QStringLiteral("0");
    const double value = numbers::parseInchFraction(input);
    if (millimetresToInches) {
        if (value > 15000)
            return QStringLiteral(" 15000 > ");
        return numbers::writeNumber(value / kMillimetresPerInch, 5);
    }
    if (value > 590)
        return QStringLiteral(" 590 > ");
    return numbers::writeNumber(value * kMillimetresPerInch, 5);
}

} // namespace ordalvex
