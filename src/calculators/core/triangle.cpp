#include "calculators/core/triangle.h"

#include "common/core/numbers.h"

#include <cmath>
#include <optional>

namespace ordalvex {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295769;
constexpr double kRadiansToDegrees = 57.295779513082320877;

// Collects the results and stops at the first arithmetic failure.
class Steps {
public:
    explicit Steps(TriangleResult& result) : m_result(result) {}

    // n / d, or nothing (and the failure recorded) when d is zero.
    std::optional<double> divide(double n, double d) {
        if (d == 0 || !std::isfinite(n) || !std::isfinite(d))
            return fail();
        return n / d;
    }
    // arcsin(x) in radians, computed as arctan(x / √(1 − x²)).
    std::optional<double> arcsin(double x) {
        const auto ratio = divide(x, std::sqrt(1 - x * x));
        if (!ratio)
            return std::nullopt;
        return std::atan(*ratio);
    }
    // Writes a result; a value that is not finite is an arithmetic failure and is not written.
    bool put(TriangleQuantity quantity, double value) {
        if (!std::isfinite(value)) {
            fail();
            return false;
        }
        m_result.writes.push_back({quantity, numbers::writeNumber(value, 3)});
        return true;
    }

private:
    std::optional<double> fail() {
        m_result.error = QStringLiteral("Błędne dane !");
        return std::nullopt;
    }
    TriangleResult& m_result;
};

QString sideMessage(char side) {
    return QStringLiteral("Bok \"a\" nie może być krótszy od boku \"%1\" !").arg(QLatin1Char(side));
}

QString angleMessage(char angle) {
    return QStringLiteral("Kąt \"%1\" musi być mniejszy od 90 !").arg(QLatin1Char(angle));
}

} // namespace

int selectionBit(TriangleQuantity quantity) {
    return 1 << int(quantity);
}

bool isSolvableSelection(int code) {
    switch (code) {
    case 3:
    case 5:
    case 6:
    case 9:
    case 10:
    case 12:
    case 17:
    case 18:
    case 20:
        return true;
    default:
        return false;
    }
}

TriangleResult solveTriangle(int code, const std::array<double, 5>& values) {
    using Q = TriangleQuantity;
    const double a = values[0], b = values[1], c = values[2];
    TriangleResult result;
    if (code == 3 && !(a > b)) {
        result.error = sideMessage('b');
        return result;
    }
    if (code == 5 && !(a > c)) {
        result.error = sideMessage('c');
        return result;
    }
    if ((code == 9 || code == 10 || code == 12) && !(values[3] < 90)) {
        result.error = angleMessage('B');
        return result;
    }
    if ((code == 17 || code == 18 || code == 20) && !(values[4] < 90)) {
        result.error = angleMessage('C');
        return result;
    }

    Steps steps(result);
    // A given angle in radians, and that angle back in degrees (carrying the conversion's
    // rounding into 90 minus it).
    const double angleB = values[3] * kDegreesToRadians, angleC = values[4] * kDegreesToRadians;
    const double givenB = angleB * kRadiansToDegrees, givenC = angleC * kRadiansToDegrees;
    switch (code) {
    case 3: {
        if (!steps.put(Q::C, std::sqrt(a * a - b * b)))
            break;
        const auto ratio = steps.divide(b, a);
        const auto bb = ratio ? steps.arcsin(*ratio) : std::nullopt;
        if (bb && steps.put(Q::AngleB, *bb * kRadiansToDegrees))
            steps.put(Q::AngleC, 90 - *bb * kRadiansToDegrees);
        break;
    }
    case 5: {
        if (!steps.put(Q::B, std::sqrt(a * a - c * c)))
            break;
        const auto ratio = steps.divide(c, a);
        const auto cc = ratio ? steps.arcsin(*ratio) : std::nullopt;
        if (cc && steps.put(Q::AngleC, *cc * kRadiansToDegrees))
            steps.put(Q::AngleB, 90 - *cc * kRadiansToDegrees);
        break;
    }
    case 6: {
        if (!steps.put(Q::A, std::sqrt(b * b + c * c)))
            break;
        const auto ratio = steps.divide(b, c);
        if (ratio && steps.put(Q::AngleB, std::atan(*ratio) * kRadiansToDegrees))
            steps.put(Q::AngleC, 90 - std::atan(*ratio) * kRadiansToDegrees);
        break;
    }
    case 9:
        if (steps.put(Q::B, a * std::sin(angleB)) && steps.put(Q::C, a * std::cos(angleB)))
            steps.put(Q::AngleC, 90 - givenB);
        break;
    case 10: {
        const auto hyp = steps.divide(b, std::sin(angleB));
        if (!hyp || !steps.put(Q::A, *hyp))
            break;
        const auto tangent = steps.divide(std::sin(angleB), std::cos(angleB));
        const auto base = tangent ? steps.divide(b, *tangent) : std::nullopt;
        if (base && steps.put(Q::C, *base))
            steps.put(Q::AngleC, 90 - givenB);
        break;
    }
    case 12: {
        const auto hyp = steps.divide(c, std::cos(angleB));
        if (!hyp || !steps.put(Q::A, *hyp))
            break;
        const auto tangent = steps.divide(std::sin(angleB), std::cos(angleB));
        if (tangent && steps.put(Q::B, *tangent * c))
            steps.put(Q::AngleC, 90 - givenB);
        break;
    }
    case 17:
        if (steps.put(Q::B, a * std::cos(angleC)) && steps.put(Q::C, a * std::sin(angleC)))
            steps.put(Q::AngleB, 90 - givenC);
        break;
    case 18: {
        const auto hyp = steps.divide(b, std::cos(angleC));
        if (!hyp || !steps.put(Q::A, *hyp))
            break;
        const auto tangent = steps.divide(std::sin(angleC), std::cos(angleC));
        if (tangent && steps.put(Q::C, *tangent * b))
            steps.put(Q::AngleB, 90 - givenC);
        break;
    }
    case 20: {
        const auto hyp = steps.divide(c, std::sin(angleC));
        if (!hyp || !steps.put(Q::A, *hyp))
            break;
        const auto tangent = steps.divide(std::sin(angleC), std::cos(angleC));
        const auto side = tangent ? steps.divide(c, *tangent) : std::nullopt;
        if (side && steps.put(Q::B, *side))
            steps.put(Q::AngleB, 90 - givenC);
        break;
    }
    default:
        break;
    }
    return result;
}

} // namespace ordalvex
