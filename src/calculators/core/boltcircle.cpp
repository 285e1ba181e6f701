#include "calculators/core/boltcircle.h"

#include "common/core/numbers.h"

#include <cmath>
#include <limits>

namespace ordalvex {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kDegreesToRadians = 0.017453292519943295769;

BoltCircleResult failed(BoltCircleResult result, const QString& message, BoltCircleField field) {
    result.error = BoltCircleError{message, field};
    return result;
}

} // namespace

BoltCircleResult solveBoltCircle(const BoltCircleInput& input) {
    using numbers::readNumber;
    using numbers::writeNumber;

    BoltCircleResult result;
    result.diameterText = input.diameter;
    if (input.inchInput) {
        const double inches = numbers::parseInchFraction(input.diameter);
        result.diameterText = writeNumber(inches, 3);
        result.diameterMm = inches * kMillimetresPerInch;
    } else {
        result.diameterMm = readNumber(input.diameter);
    }
    result.firstAngle = readNumber(input.firstAngle);
    result.pitch = readNumber(input.pitch);
    result.count = numbers::readWholeNumber(input.count);

    // Written as negated ranges so that NaN fails them too.
    if (!(result.diameterMm >= 1 && result.diameterMm <= 1000)) {
        return failed(std::move(result),
                      input.inchInput ? QStringLiteral("Średnica jest poza zakresem 0.04-39\" !")
                                      : QStringLiteral("Średnica jest poza zakresem 1-1000 mm !"),
                      BoltCircleField::Diameter);
    }
    if (!(result.firstAngle >= 0 && result.firstAngle <= 360))
        return failed(std::move(result),
                      QStringLiteral("Kąt pierwszego otworu jest poza zakresem 0-360 stopni !"),
                      BoltCircleField::FirstAngle);
    if (result.count <= 0 && !(result.pitch > 0))
        return failed(std::move(result),
                      QStringLiteral("Musisz podać kąt między otworami lub liczbę otworów !"),
                      BoltCircleField::Pitch);
    if (result.count == 0) {
        // A pitch far below 1 would give a count beyond int; the pitch check below refuses it.
        const double holes = std::trunc(360 / result.pitch);
        result.count = holes > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(holes);
    } else if (result.count < 1 || result.count > 360) {
        return failed(std::move(result), QStringLiteral("Liczba otworów jest poza zakresem 1-360 !"),
                      BoltCircleField::Count);
    }
    if (result.pitch == 0)
        result.pitch = 360.0 / result.count;
    else if (!(result.pitch >= 1 && result.pitch <= 180))
        return failed(std::move(result),
                      QStringLiteral("Kąt pomiędzy otworami jest poza zakresem 1-180 stopni !"),
                      BoltCircleField::Pitch);

    const double radius = result.diameterMm / 2;
    double angle = result.firstAngle;
    result.holes.reserve(std::size_t(result.count));
    for (int i = 1; i <= result.count; ++i) {
        const QString angleText = writeNumber(angle, 2);
        const double radians = angle * kDegreesToRadians;
        BoltCircleHole hole;
        hole.caption = QString::number(i) + QStringLiteral(". Kąt : ") + angleText;
        hole.previewLabel = QString::number(i) + QStringLiteral(". ") + angleText;
        hole.cosine = std::cos(radians);
        hole.sine = std::sin(radians);
        const double x = radius * hole.cosine;
        const double y = radius * hole.sine;
        if (input.inchOutput) {
            hole.x = writeNumber(x / kMillimetresPerInch, 4);
            hole.y = writeNumber(y / kMillimetresPerInch, 4);
        } else {
            hole.x = writeNumber(x, 3);
            hole.y = writeNumber(y, 3);
        }
        result.holes.push_back(std::move(hole));
        angle += result.pitch;
    }
    return result;
}

QString holeCoordinateLines(const std::vector<std::pair<QString, QString>>& rows) {
    QString text;
    for (const auto& [x, y] : rows)
        text += QStringLiteral("X") + x + QStringLiteral(" Y") + y + QStringLiteral("\r\n");
    return text;
}

QString inchFractionHint() {
    return QStringLiteral(
        "Ułamki można zapisać w postaci np.: 1.1/4  = 1.25 ;\n0.3/4 lub .3/4 lub 3/4 = 0.75 ;");
}

} // namespace ordalvex
