#include "common/core/numbers.h"

#include <cmath>
#include <limits>

#include <QTest>

using namespace ordalvex;

class TestNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("whole") << "10" << 10.0;
        QTest::newRow("decimal") << "0.3" << 0.3;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("leading spaces") << "  12.5" << 12.5;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("minus sign") << "-2.25" << -2.25;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("exponent signed") << "25E-1" << 2.5;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("second point") << "1.2.3" << 12.0;
        QTest::newRow("letter drops sign") << "-5x" << 5.0;
        QTest::newRow("slash") << "1.1/4" << 11.0;
        QTest::newRow("trailing space") << "12.5 " << 125.0;
        QTest::newRow("comma") << "3,5" << 3.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("exponent with letter") << "2e5x" << 25.0;
        QTest::newRow("letter first") << "x12" << 0.0;
        QTest::newRow("huge") << "1e400" << std::numeric_limits<double>::infinity();
        QTest::newRow("tiny") << "1e-400" << 0.0;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(numbers::readNumber(text), expected);
    }

    void readWholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("digits") << "360" << 360;
        QTest::newRow("spaces and sign") << "  -12" << -12;
        QTest::newRow("decimal stops") << "2.5" << 2;
        QTest::newRow("sign dropped at stop") << "-7x" << 7;
        QTest::newRow("letter first") << "a1" << 0;
        QTest::newRow("clamped") << "99999999999" << std::numeric_limits<int>::max();
    }
    void readWholeNumber() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(numbers::readWholeNumber(text), expected);
    }

    void writeNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three decimals") << 50.0 << 3 << "50.000";
        QTest::newRow("rounded") << 1.23456 << 4 << "1.2346";
        QTest::newRow("no decimals") << 1909.86 << 0 << "1910";
        QTest::newRow("negative") << -50.0 << 3 << "-50.000";
        QTest::newRow("negative residue keeps sign") << -3.06e-15 << 3 << "-0.000";
        QTest::newRow("positive residue") << 3.06e-15 << 3 << "0.000";
        QTest::newRow("negative zero is zero") << -0.0 << 2 << "0.00";
        QTest::newRow("large without grouping") << 1234567.5 << 1 << "1234567.5";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 3 << "INF";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 3 << "NAN";
    }
    void writeNumber() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(numbers::writeNumber(value, decimals), expected);
    }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5 down") << 2.5 << 2.0;
        QTest::newRow("3.5 up") << 3.5 << 4.0;
        QTest::newRow("0.5 down") << 0.5 << 0.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("-3.5") << -3.5 << -4.0;
        QTest::newRow("below half") << 2.4999 << 2.0;
        QTest::newRow("above half") << 2.5001 << 3.0;
        QTest::newRow("negative above half") << -1.6 << -2.0;
        QTest::newRow("whole") << 7.0 << 7.0;
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(numbers::roundHalfEven(value), expected);
    }

    void parseInchFraction_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("mixed") << "1.1/4" << 1.25;
        QTest::newRow("mixed zero whole") << "0.3/4" << 0.75;
        QTest::newRow("mixed no whole") << ".3/4" << 0.75;
        QTest::newRow("simple") << "3/4" << 0.75;
        QTest::newRow("decimal") << "1.25" << 1.25;
        QTest::newRow("whole") << "2" << 2.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("nothing after slash") << "1.25/" << 1.25;
        QTest::newRow("zero denominator") << "1.1/0" << 1.1;
        QTest::newRow("leading zero decimals") << "1.05/" << 1.05;
        QTest::newRow("five decimals") << "1.12345/" << 1.12345;
        QTest::newRow("four decimals") << "2.1234/" << 2.1234;
        QTest::newRow("simple zero numerator") << "3/0" << 3.0;
        QTest::newRow("simple nothing after") << "3/" << 3.0;
        QTest::newRow("only slash and number") << "/4" << 0.0;
        QTest::newRow("trailing point") << "7." << 7.0;
        QTest::newRow("point and slash only") << "1./" << 1.0;
        QTest::newRow("second slash makes mixed") << "3/4/2" << 5.0;
        constexpr double infinity = std::numeric_limits<double>::infinity();
        QTest::newRow("parts too large, simple") << "1e400/1e400" << infinity;
        QTest::newRow("parts too large, mixed") << "1.35e613/335e333" << infinity;
        QTest::newRow("parts too large, signs cancel") << "-1e400.1e400/1" << infinity;
        QTest::newRow("negative too large") << "-1e400" << -infinity;
    }
    void parseInchFraction() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double value = numbers::parseInchFraction(text);
        QVERIFY2(value == expected || std::abs(value - expected) < 1e-12,
                 qPrintable(QString::number(value, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
