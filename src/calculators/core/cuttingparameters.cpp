#include "calculators/core/cuttingparameters.h"

#include "common/core/numbers.h"

#include <numbers>

namespace ordalvex {

namespace {

// Reads one field; outside [low, high] (or not a number) resets its text and value.
double checked(QString& text, double low, double high, const char* resetText, CuttingField field,
               std::vector<CuttingField>& resets) {
    const double value = numbers::readNumber(text);
    if (value >= low && value <= high)
        return value;
    text = QString::fromLatin1(resetText);
    resets.push_back(field);
    return numbers::readNumber(text);
}

} // namespace

CuttingResult calculateCutting(CuttingMode mode, const CuttingFields& fields) {
    using numbers::roundHalfEven;
    using numbers::writeNumber;
    constexpr double pi = std::numbers::pi;

    CuttingResult result{fields, {}};
    CuttingFields& f = result.fields;
    auto& resets = result.resets;
    const double z = checked(f.edges, 1, 100, "1", CuttingField::Edges, resets);
    const double d = checked(f.diameter, 1, 1000, "15", CuttingField::Diameter, resets);
    if (mode == CuttingMode::CuttingSpeed) {
        const double vc = checked(f.cuttingSpeed, 1, 1000, "60", CuttingField::CuttingSpeed, resets);
        const double fz = checked(f.feedPerTooth, 0.001, 20, "0.3", CuttingField::FeedPerTooth, resets);
        const double s = roundHalfEven(vc * 1000 / (pi * d));
        const double feed = roundHalfEven(fz * z * s);
        f.spindleSpeed = writeNumber(s, 0);
        f.feed = writeNumber(feed, 0);
    } else {
        const double s = checked(f.spindleSpeed, 1, 15000, "1", CuttingField::SpindleSpeed, resets);
        const double feed = checked(f.feed, 1, 10000, "1", CuttingField::Feed, resets);
        f.cuttingSpeed = writeNumber(roundHalfEven(pi * d * s / 1000), 0);
        f.feedPerTooth = writeNumber(feed / (s * z), 3);
    }
    return result;
}

} // namespace ordalvex
