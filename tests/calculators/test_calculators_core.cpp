#include "calculators/core/boltcircle.h"
#include "calculators/core/cuttingparameters.h"
#include "calculators/core/keyfilter.h"
#include "calculators/core/lengthconversion.h"
#include "calculators/core/previewgeometry.h"
#include "calculators/core/triangle.h"

#include <QTest>

using namespace ordalvex;

Q_DECLARE_METATYPE(BoltCircleField)

namespace {

BoltCircleInput bolt(const char* diameter, const char* first, const char* pitch, const char* count,
                     bool inchIn = false, bool inchOut = false) {
    return {QString::fromUtf8(diameter),
            QString::fromUtf8(first),
            QString::fromUtf8(pitch),
            QString::fromUtf8(count),
            inchIn,
            inchOut};
}

QString triangleText(const TriangleResult& r) {
    const char* names[] = {"a", "b", "c", "B", "C"};
    QStringList parts;
    for (const auto& w : r.writes)
        parts << QString::fromLatin1(names[int(w.quantity)]) + u'=' + w.text;
    return parts.join(u' ');
}

} // namespace

class TestCalculatorsCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boltCircleChecks_data() {
        QTest::addColumn<BoltCircleInput>("input");
        QTest::addColumn<QString>("message"); // empty: the calculation succeeds
        QTest::addColumn<BoltCircleField>("field");
        const QString diameterMm = QStringLiteral("Średnica jest poza zakresem 1-1000 mm !");
        const QString diameterInch = QStringLiteral("Średnica jest poza zakresem 0.04-39\" !");
        const QString first = QStringLiteral("Kąt pierwszego otworu jest poza zakresem 0-360 stopni !");
        const QString none = QStringLiteral("Musisz podać kąt między otworami lub liczbę otworów !");
        const QString count = QStringLiteral("Liczba otworów jest poza zakresem 1-360 !");
        const QString pitch = QStringLiteral("Kąt pomiędzy otworami jest poza zakresem 1-180 stopni !");
        const auto d = BoltCircleField::Diameter;
        QTest::newRow("diameter 1 passes") << bolt("1", "0", "0", "4") << QString() << d;
        QTest::newRow("diameter 0.999 fails") << bolt("0.999", "0", "0", "4") << diameterMm << d;
        QTest::newRow("diameter 1000 passes") << bolt("1000", "0", "0", "4") << QString() << d;
        QTest::newRow("diameter 1000.001 fails") << bolt("1000.001", "0", "0", "4") << diameterMm << d;
        QTest::newRow("empty diameter fails") << bolt("", "0", "0", "4") << diameterMm << d;
        QTest::newRow("inch 0.03 fails") << bolt("0.03", "0", "0", "4", true) << diameterInch << d;
        QTest::newRow("inch 39.37 passes") << bolt("39.37", "0", "0", "4", true) << QString() << d;
        QTest::newRow("inch 39.38 fails") << bolt("39.38", "0", "0", "4", true) << diameterInch << d;
        QTest::newRow("diameter checked before angle") << bolt("0", "400", "0", "0") << diameterMm << d;
        QTest::newRow("first 0 passes") << bolt("10", "0", "0", "4") << QString() << d;
        QTest::newRow("first 360 passes") << bolt("10", "360", "0", "4") << QString() << d;
        QTest::newRow("first 360.01 fails")
            << bolt("10", "360.01", "0", "4") << first << BoltCircleField::FirstAngle;
        QTest::newRow("first negative fails")
            << bolt("10", "-1", "0", "4") << first << BoltCircleField::FirstAngle;
        QTest::newRow("neither count nor pitch")
            << bolt("10", "0", "0", "0") << none << BoltCircleField::Pitch;
        QTest::newRow("count 1 passes") << bolt("10", "0", "0", "1") << QString() << d;
        QTest::newRow("count 360 passes") << bolt("10", "0", "0", "360") << QString() << d;
        QTest::newRow("count 361 fails") << bolt("10", "0", "0", "361") << count << BoltCircleField::Count;
        QTest::newRow("count 361 with pitch fails")
            << bolt("10", "0", "10", "361") << count << BoltCircleField::Count;
        QTest::newRow("negative count with pitch")
            << bolt("10", "0", "10", "-5") << count << BoltCircleField::Count;
        QTest::newRow("pitch 1 passes") << bolt("10", "0", "1", "0") << QString() << d;
        QTest::newRow("pitch 180 passes") << bolt("10", "0", "180", "0") << QString() << d;
        QTest::newRow("pitch 180.01 fails")
            << bolt("10", "0", "180.01", "0") << pitch << BoltCircleField::Pitch;
        QTest::newRow("pitch 0.99 with count fails")
            << bolt("10", "0", "0.99", "3") << pitch << BoltCircleField::Pitch;
        QTest::newRow("pitch 0.5 makes 720 then fails")
            << bolt("10", "0", "0.5", "0") << pitch << BoltCircleField::Pitch;
        QTest::newRow("negative pitch alone")
            << bolt("10", "0", "-10", "0") << none << BoltCircleField::Pitch;
        QTest::newRow("pitch beyond 360 alone")
            << bolt("10", "0", "400", "0") << pitch << BoltCircleField::Pitch;
    }
    void boltCircleChecks() {
        QFETCH(BoltCircleInput, input);
        QFETCH(QString, message);
        QFETCH(BoltCircleField, field);
        const auto result = solveBoltCircle(input);
        if (message.isEmpty()) {
            QVERIFY2(result.ok(), qPrintable(result.error ? result.error->message : QString()));
            QCOMPARE(int(result.holes.size()), result.count);
            return;
        }
        QVERIFY(!result.ok());
        QCOMPARE(result.error->message, message);
        QCOMPARE(result.error->field, field);
        QVERIFY(result.holes.empty());
    }

    void boltCircleCountAndPitch_data() {
        QTest::addColumn<BoltCircleInput>("input");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<QString>("lastCaption");
        QTest::newRow("pitch 90 gives 4") << bolt("100", "0", "90", "0") << 4 << 90.0 << "4. Kąt : 270.00";
        QTest::newRow("pitch 50 gives 7 truncated")
            << bolt("100", "0", "50", "0") << 7 << 50.0 << "7. Kąt : 300.00";
        QTest::newRow("count 6 gives 60") << bolt("100", "0", "0", "6") << 6 << 60.0 << "6. Kąt : 300.00";
        QTest::newRow("count 7 pitch not rounded")
            << bolt("100", "0", "0", "7") << 7 << 360.0 / 7 << "7. Kąt : 308.57";
        QTest::newRow("both given run past 360")
            << bolt("100", "90", "100", "5") << 5 << 100.0 << "5. Kąt : 490.00";
        QTest::newRow("count read as whole number")
            << bolt("100", "0", "0", "2.5") << 2 << 180.0 << "2. Kąt : 180.00";
    }
    void boltCircleCountAndPitch() {
        QFETCH(BoltCircleInput, input);
        QFETCH(int, count);
        QFETCH(double, pitch);
        QFETCH(QString, lastCaption);
        const auto result = solveBoltCircle(input);
        QVERIFY(result.ok());
        QCOMPARE(result.count, count);
        QCOMPARE(result.pitch, pitch);
        QCOMPARE(result.holes.back().caption, lastCaption);
    }

    void boltCircleHoles() {
        const auto mm = solveBoltCircle(bolt("100", "0", "90", "0"));
        QCOMPARE(mm.holes.size(), std::size_t(4));
        const char* expected[][3] = {{"1. Kąt : 0.00", "50.000", "0.000"},
                                     {"2. Kąt : 90.00", "0.000", "50.000"},
                                     {"3. Kąt : 180.00", "-50.000", "0.000"},
                                     {"4. Kąt : 270.00", "-0.000", "-50.000"}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(mm.holes[i].caption, QString::fromUtf8(expected[i][0]));
            QCOMPARE(mm.holes[i].x, QString::fromUtf8(expected[i][1]));
            QCOMPARE(mm.holes[i].y, QString::fromUtf8(expected[i][2]));
        }
        QCOMPARE(mm.holes[1].previewLabel, QStringLiteral("2. 90.00"));
        QVERIFY(qFuzzyCompare(mm.holes[1].sine, 1.0));

        const auto inches = solveBoltCircle(bolt("50.8", "0", "0", "1", false, true));
        QCOMPARE(inches.holes[0].x, QStringLiteral("1.0000"));
        QCOMPARE(inches.holes[0].y, QStringLiteral("0.0000"));
    }

    void boltCircleInchInput() {
        const auto result = solveBoltCircle(bolt("1.1/4", "0", "0", "1", true));
        QVERIFY(result.ok());
        QCOMPARE(result.diameterText, QStringLiteral("1.250"));
        QCOMPARE(result.diameterMm, 31.75);
        QCOMPARE(result.holes[0].x, QStringLiteral("15.875"));

        const auto failed = solveBoltCircle(bolt("1/40", "0", "0", "1", true));
        QVERIFY(!failed.ok());
        QCOMPARE(failed.diameterText, QStringLiteral("0.025"));

        const auto millimetres = solveBoltCircle(bolt("1.1/4", "0", "0", "1"));
        QCOMPARE(millimetres.diameterText, QStringLiteral("1.1/4"));
        QCOMPARE(millimetres.diameterMm, 11.0); // read as a plain number: digits before "/"
    }

    void holeCoordinateLines() {
        QCOMPARE(ordalvex::holeCoordinateLines({{"0.000", "50.000"}, {"-50.000", "0.000"}}),
                 QStringLiteral("X0.000 Y50.000\r\nX-50.000 Y0.000\r\n"));
        QCOMPARE(ordalvex::holeCoordinateLines({}), QString());
    }

    void cutting_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("in"); // D, z, Vc, Fz, S, F
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QList<int>>("resets");
        const int vc = int(CuttingMode::CuttingSpeed), s = int(CuttingMode::SpindleSpeed);
        using L = QStringList;
        QTest::newRow("defaults") << vc << L{"10", "1", "60", "0.3", "1", "1"}
                                  << L{"10", "1", "60", "0.3", "1910", "573"} << QList<int>{};
        QTest::newRow("spindle mode") << s << L{"10", "1", "60", "0.3", "1910", "573"}
                                      << L{"10", "1", "60", "0.300", "1910", "573"} << QList<int>{};
        QTest::newRow("D 0.5 resets to 15")
            << vc << L{"0.5", "1", "60", "0.3", "1", "1"} << L{"15", "1", "60", "0.3", "1273", "382"}
            << QList<int>{int(CuttingField::Diameter)};
        QTest::newRow("Fz 25 resets")
            << vc << L{"10", "1", "60", "25", "1", "1"} << L{"10", "1", "60", "0.3", "1910", "573"}
            << QList<int>{int(CuttingField::FeedPerTooth)};
        QTest::newRow("z 0 resets") << vc << L{"10", "0", "60", "0.3", "1", "1"}
                                    << L{"10", "1", "60", "0.3", "1910", "573"}
                                    << QList<int>{int(CuttingField::Edges)};
        QTest::newRow("half to even") << vc << L{"1000", "1", "16", "0.5", "1", "1"}
                                      << L{"1000", "1", "16", "0.5", "5", "2"} << QList<int>{};
        QTest::newRow("several resets in order")
            << vc << L{"", "101", "1001", "0.0009", "1", "1"} << L{"15", "1", "60", "0.3", "1273", "382"}
            << QList<int>{int(CuttingField::Edges), int(CuttingField::Diameter),
                          int(CuttingField::CuttingSpeed), int(CuttingField::FeedPerTooth)};
        QTest::newRow("upper limits pass") << vc << L{"1000", "100", "1000", "20", "1", "1"}
                                           << L{"1000", "100", "1000", "20", "318", "636000"} << QList<int>{};
        QTest::newRow("lower limits pass") << vc << L{"1", "1", "1", "0.001", "1", "1"}
                                           << L{"1", "1", "1", "0.001", "318", "0"} << QList<int>{};
        QTest::newRow("spindle limits pass")
            << s << L{"10", "2", "1", "1", "15000", "10000"} << L{"10", "2", "471", "0.333", "15000", "10000"}
            << QList<int>{};
        QTest::newRow("spindle beyond limits")
            << s << L{"10", "1", "1", "1", "15001", "10001"} << L{"10", "1", "0", "1.000", "1", "1"}
            << QList<int>{int(CuttingField::SpindleSpeed), int(CuttingField::Feed)};
        QTest::newRow("spindle below limits")
            << s << L{"10", "1", "1", "1", "0", "0.5"} << L{"10", "1", "0", "1.000", "1", "1"}
            << QList<int>{int(CuttingField::SpindleSpeed), int(CuttingField::Feed)};
    }
    void cutting() {
        QFETCH(int, mode);
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        QFETCH(QList<int>, resets);
        const CuttingFields fields{in[0], in[1], in[2], in[3], in[4], in[5]};
        const auto result = calculateCutting(CuttingMode(mode), fields);
        const auto& f = result.fields;
        QCOMPARE((QStringList{f.diameter, f.edges, f.cuttingSpeed, f.feedPerTooth, f.spindleSpeed, f.feed}),
                 out);
        QList<int> actual;
        for (auto r : result.resets)
            actual << int(r);
        QCOMPARE(actual, resets);
    }

    void triangle_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<double>>("values"); // a, b, c, B, C
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("error");
        using V = QList<double>;
        const QString bad = QStringLiteral("Błędne dane !");
        QTest::newRow("a b") << 3 << V{5, 3, 1, 1, 1} << "c=4.000 B=36.870 C=53.130" << QString();
        QTest::newRow("a c") << 5 << V{5, 1, 4, 1, 1} << "b=3.000 C=53.130 B=36.870" << QString();
        QTest::newRow("b c") << 6 << V{1, 3, 4, 1, 1} << "a=5.000 B=36.870 C=53.130" << QString();
        QTest::newRow("a B") << 9 << V{10, 1, 1, 30, 1} << "b=5.000 c=8.660 C=60.000" << QString();
        QTest::newRow("b B") << 10 << V{1, 5, 1, 30, 1} << "a=10.000 c=8.660 C=60.000" << QString();
        QTest::newRow("c B") << 12 << V{1, 1, 8.660254, 30, 1} << "a=10.000 b=5.000 C=60.000" << QString();
        QTest::newRow("a C") << 17 << V{10, 1, 1, 1, 60} << "b=5.000 c=8.660 B=30.000" << QString();
        QTest::newRow("b C") << 18 << V{1, 5, 1, 1, 60} << "a=10.000 c=8.660 B=30.000" << QString();
        QTest::newRow("c C") << 20 << V{1, 1, 8.660254, 1, 60} << "a=10.000 b=5.000 B=30.000" << QString();
        QTest::newRow("a equal b") << 3 << V{3, 3, 1, 1, 1} << ""
                                   << QStringLiteral("Bok \"a\" nie może być krótszy od boku \"b\" !");
        QTest::newRow("a shorter than c") << 5 << V{3, 1, 4, 1, 1} << ""
                                          << QStringLiteral("Bok \"a\" nie może być krótszy od boku \"c\" !");
        const QString angleB = QStringLiteral("Kąt \"B\" musi być mniejszy od 90 !");
        const QString angleC = QStringLiteral("Kąt \"C\" musi być mniejszy od 90 !");
        QTest::newRow("B 90 with a") << 9 << V{1, 1, 1, 90, 1} << "" << angleB;
        QTest::newRow("B 90 with b") << 10 << V{1, 1, 1, 90, 1} << "" << angleB;
        QTest::newRow("B 90 with c") << 12 << V{1, 1, 1, 90, 1} << "" << angleB;
        QTest::newRow("B 89.999 passes")
            << 9 << V{1, 1, 1, 89.999, 1} << "b=1.000 c=0.000 C=0.001" << QString();
        QTest::newRow("C 90 with a") << 17 << V{1, 1, 1, 1, 90} << "" << angleC;
        QTest::newRow("C 90 with b") << 18 << V{1, 1, 1, 1, 90} << "" << angleC;
        QTest::newRow("C 90 with c") << 20 << V{1, 1, 1, 1, 90} << "" << angleC;
        QTest::newRow("c zero after a") << 6 << V{1, 3, 0, 1, 1} << "a=3.000" << bad;
        QTest::newRow("b and c zero") << 6 << V{1, 0, 0, 1, 1} << "a=0.000" << bad;
        QTest::newRow("B zero with b") << 10 << V{1, 3, 1, 0, 1} << "" << bad;
        QTest::newRow("C zero with c") << 20 << V{1, 1, 3, 1, 0} << "" << bad;
        QTest::newRow("B zero with a degenerate")
            << 9 << V{2, 1, 1, 0, 1} << "b=0.000 c=2.000 C=90.000" << QString();
        QTest::newRow("C zero with b degenerate")
            << 18 << V{1, 2, 1, 1, 0} << "a=2.000 c=0.000 B=90.000" << QString();
        QTest::newRow("negative side square root") << 3 << V{0, -3, 1, 1, 1} << "" << bad;
        QTest::newRow("overflow is refused") << 6 << V{1, 1e300, 1e300, 1, 1} << "" << bad;
        QTest::newRow("angles together not solvable") << 24 << V{1, 1, 1, 30, 60} << "" << QString();
    }
    void triangle() {
        QFETCH(int, code);
        QFETCH(QList<double>, values);
        QFETCH(QString, written);
        QFETCH(QString, error);
        const auto result = solveTriangle(code, {values[0], values[1], values[2], values[3], values[4]});
        QCOMPARE(triangleText(result), written);
        QCOMPARE(result.error, error);
    }

    void solvableSelections() {
        QList<int> codes;
        for (int code = 0; code < 32; ++code) {
            if (isSolvableSelection(code))
                codes << code;
        }
        QCOMPARE(codes, (QList<int>{3, 5, 6, 9, 10, 12, 17, 18, 20}));
        QCOMPARE(selectionBit(TriangleQuantity::AngleC), 16);
    }

    void conversion_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("toInches");
        QTest::addColumn<QString>("result");
        QTest::newRow("1 inch") << "1" << false << "25.40000";
        QTest::newRow("fraction") << "1.1/4" << false << "31.75000";
        QTest::newRow("leading point fraction") << ".3/4" << false << "19.05000";
        QTest::newRow("mm to inch") << "25.4" << true << "1.00000";
        QTest::newRow("590 inches converts") << "590" << false << "14986.00000";
        QTest::newRow("590.001 inches marker") << "590.001" << false << " 590 > ";
        QTest::newRow("591 inches marker") << "591" << false << " 590 > ";
        QTest::newRow("15000 mm converts") << "15000" << true << "590.55118";
        QTest::newRow("15001 mm marker") << "15001" << true << " 15000 > ";
        QTest::newRow("empty") << "" << true << "0";
        QTest::newRow("mm fraction too") << "3/4" << true << "0.02953";
        QTest::newRow("fraction of huge parts is over the range") << "1e400/1e400" << false << " 590 > ";
    }
    void conversion() {
        QFETCH(QString, input);
        QFETCH(bool, toInches);
        QFETCH(QString, result);
        QCOMPARE(convertLength(input, toInches), result);
    }

    void keyFilters_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inserted"); // empty: discarded
        const int d = int(KeyFilter::Digits), dec = int(KeyFilter::Decimal), fr = int(KeyFilter::Fraction);
        QTest::newRow("digit passes digits") << d << "7"
                                             << "7";
        QTest::newRow("point refused by digits") << d << "."
                                                 << "";
        QTest::newRow("comma refused by digits") << d << ","
                                                 << "";
        QTest::newRow("backspace passes") << d << "\b"
                                          << "\b";
        QTest::newRow("comma becomes point") << dec << ","
                                             << ".";
        QTest::newRow("point passes decimal") << dec << "."
                                              << ".";
        QTest::newRow("slash refused by decimal") << dec << "/"
                                                  << "";
        QTest::newRow("minus refused") << dec << "-"
                                       << "";
        QTest::newRow("letter refused") << dec << "e"
                                        << "";
        QTest::newRow("slash passes fraction") << fr << "/"
                                               << "/";
        QTest::newRow("comma in fraction") << fr << ","
                                           << ".";
        QTest::newRow("colon refused by fraction") << fr << ":"
                                                   << "";
        QTest::newRow("space refused") << fr << " "
                                       << "";
    }
    void keyFilters() {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, inserted);
        const auto result = filterTypedCharacter(typed[0], KeyFilter(filter));
        QCOMPARE(result ? QString(*result) : QString(), inserted);
    }

    void previewGeometry() {
        const auto m = previewMetrics(442, 385);
        QCOMPARE(m.scale, 1.0);
        QCOMPARE(m.cx, 221);
        QCOMPARE(m.cy, 192); // 192.5 to the even neighbour
        QCOMPARE(m.radius, 110);
        QCOMPARE(previewMetrics(442, 387).cy, 194); // 193.5 up to the even neighbour
        QCOMPARE(holeCentre(m, 1, 0), QPoint(331, 192));
        QCOMPARE(holeCentre(m, -1, 0), QPoint(111, 192));
        QCOMPARE(holeCentre(m, 0, 1), QPoint(221, 82));
        const QSize label(30, 10);
        QCOMPARE(holeLabelTopLeft(m, {331, 192}, label, 1, 0), QPoint(343, 170));
        QCOMPARE(holeLabelTopLeft(m, {111, 192}, label, -1, 0.0), QPoint(69, 170));
        QCOMPARE(holeLabelTopLeft(m, {221, 302}, label, -1e-16, -1), QPoint(179, 314));
        QCOMPARE(textLineTop(m, 1, 9), 370);
        QCOMPARE(textLineTop(m, 2, 9), 355);
        QCOMPARE(pointsToPixels(7), 9);
        QCOMPARE(pointsToPixels(8), 11);
        const auto half = previewMetrics(221, 200);
        QCOMPARE(half.scaled(7), 4); // 3.5 to the even neighbour
        QCOMPARE(half.scaled(5), 2); // 2.5 to the even neighbour
        QCOMPARE(half.scaled(12), 6);
    }
};

QTEST_APPLESS_MAIN(TestCalculatorsCore)
#include "test_calculators_core.moc"
