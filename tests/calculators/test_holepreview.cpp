#include "calculators/core/previewgeometry.h"
#include "calculators/ui/tdraw_form.h"

#include <cmath>

#include <QPointer>
#include <QTest>

using namespace ordalvex;

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295769;

// Bounding box of the pixels of one colour.
QRect colourBox(const QImage& image, const QColor& colour) {
    QRect box;
    const QRgb wanted = colour.rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == wanted)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

const QColor kMaroon(128, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);

// A preview whose picture is 442 × 384 pixels (scale 1), never shown.
struct Preview {
    QPointer<TDraw_Form> window = new TDraw_Form(nullptr);
    Preview() {
        window->resize(442, 384);
        window->FormCreate();
        window->clear();
    }
    ~Preview() { delete window; }
    TDraw_Form* operator->() const { return window; }
};

} // namespace

class TestHolePreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowBasics() {
        Preview preview;
        QCOMPARE(preview->metaObject()->className(), "ordalvex::TDraw_Form");
        QCOMPARE(preview->windowTitle(), QStringLiteral("Połorzenie otworów"));
        QCOMPARE(preview->minimumSize(), QSize(310, 260));
        QCOMPARE(preview->image().size(), QSize(442, 384));
        QCOMPARE(preview->metrics().scale, 1.0);
        QCOMPARE(preview->metrics().cx, 221);
        QCOMPARE(preview->metrics().cy, 192);
        preview->resize(100, 100);
        QCOMPARE(preview->size(), QSize(310, 260));
    }

    void axesAreDrawnInBlack() {
        Preview preview;
        preview->DrawAxes();
        const QImage& image = preview->image();
        const QRgb black = qRgb(0, 0, 0);
        for (int x : {2, 100, 300, 439})
            QCOMPARE(image.pixel(x, 192), black);
        for (int y : {2, 100, 300, 381})
            QCOMPARE(image.pixel(221, y), black);
        QCOMPARE(image.pixel(1, 192), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(221, 0), qRgb(255, 255, 255));
        // Arrow heads: 8 pixels back from the tip, 7 to each side.
        QCOMPARE(image.pixel(434, 185), black);
        QCOMPARE(image.pixel(434, 199), black);
        QCOMPARE(image.pixel(214, 8), black);
        QCOMPARE(image.pixel(228, 8), black);
        QCOMPARE(image.pixel(434, 184), qRgb(255, 255, 255));
        // The axis names sit in the right upper quadrant near their axes.
        QRect names;
        for (int y = 0; y < 40; ++y)
            for (int x = 229; x < 260; ++x)
                if (image.pixel(x, y) == black)
                    names |= QRect(x, y, 1, 1);
        QVERIFY2(!names.isEmpty() && names.top() >= 11, "Y- not drawn at (cx + 8, 11)");
    }

    void holesSitOnTheCircleWithLabelsOutside_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<bool>("labelRight");
        QTest::addColumn<bool>("labelAbove");
        QTest::newRow("0") << 0.0 << QPoint(331, 192) << true << true;
        QTest::newRow("90") << 90.0 << QPoint(221, 82) << true << true;
        QTest::newRow("180") << 180.0 << QPoint(111, 192) << false << true;
        // cos 270° is a tiny negative residue: the label goes to the left, below the ring.
        QTest::newRow("270") << 270.0 << QPoint(221, 302) << false << false;
    }
    void holesSitOnTheCircleWithLabelsOutside() {
        QFETCH(double, degrees);
        QFETCH(QPoint, centre);
        QFETCH(bool, labelRight);
        QFETCH(bool, labelAbove);
        Preview preview;
        const double c = std::cos(degrees * kDegreesToRadians), sn = std::sin(degrees * kDegreesToRadians);
        preview->DrawTextLine(4, 1, QStringLiteral("x")); // sets the label size, as the calculator does
        preview->clear();
        preview->DrawHole(QStringLiteral("1. 0.00"), c, sn);
        const QImage& image = preview->image();

        const QRect ring = colourBox(image, kMaroon);
        QCOMPARE(ring, QRect(QPoint(centre.x() - 7, centre.y() - 7), QPoint(centre.x() + 7, centre.y() + 7)));
        QCOMPARE(image.pixel(centre), qRgb(128, 128, 128)); // cross hairs over the white filling
        QCOMPARE(image.pixel(centre + QPoint(3, 3)), qRgb(255, 255, 255));
        QCOMPARE(colourBox(image, kGrey),
                 QRect(QPoint(centre.x() - 11, centre.y() - 11), QPoint(centre.x() + 9, centre.y() + 9)));

        const QRect label = colourBox(image, kBlue);
        QVERIFY(!label.isEmpty());
        if (labelRight)
            QVERIFY2(label.left() >= centre.x() + 12 && label.left() <= centre.x() + 14,
                     qPrintable(QString::number(label.left())));
        else
            QVERIFY2(label.right() <= centre.x() - 12 && label.right() >= centre.x() - 16,
                     qPrintable(QString::number(label.right())));
        if (labelAbove)
            QVERIFY2(label.bottom() <= centre.y() - 12 && label.bottom() >= centre.y() - 18,
                     qPrintable(QString::number(label.bottom())));
        else
            QVERIFY2(label.top() >= centre.y() + 12 && label.top() <= centre.y() + 16,
                     qPrintable(QString::number(label.top())));
    }

    void textLinesStandAboveTheBottom() {
        Preview preview;
        preview->DrawTextLine(4, 1, QStringLiteral("Pierwszy otwór: 0"));
        const QRect line1 = colourBox(preview->image(), kGreen);
        const int pixels = pointsToPixels(7);
        QVERIFY(line1.left() >= 4 && line1.left() <= 6);
        QVERIFY(line1.top() >= 384 - (pixels + 6));
        QVERIFY(line1.bottom() < 384);
        preview->clear();
        preview->DrawTextLine(222, 2, QStringLiteral("Pomiędzy otworami: 60.00"));
        const QRect line2 = colourBox(preview->image(), kGreen);
        QVERIFY(line2.left() >= 222 && line2.left() <= 224);
        QVERIFY(line2.top() >= 384 - 2 * (pixels + 6));
        QVERIFY(line2.bottom() < 384 - (pixels + 6));
    }

    void drawingPersistsUntilCleared() {
        Preview preview;
        preview->DrawHole(QStringLiteral("1"), 1, 0);
        preview->DrawHole(QStringLiteral("2"), -1, 0);
        const QImage& image = preview->image();
        QCOMPARE(image.pixel(331 - 7, 192 - 1), kMaroon.rgb());
        QCOMPARE(image.pixel(111 - 7, 192 - 1), kMaroon.rgb());
        preview->clear();
        QVERIFY(colourBox(preview->image(), kMaroon).isEmpty());
    }

    void scalesWithTheWidth() {
        QPointer<TDraw_Form> preview = new TDraw_Form(nullptr);
        preview->resize(884, 600);
        preview->FormCreate();
        preview->clear();
        preview->DrawHole(QStringLiteral("1"), 1, 0);
        // s = 2: centre (442 + 221, 300), ring radius 14.
        QCOMPARE(colourBox(preview->image(), kMaroon),
                 QRect(QPoint(663 - 14, 300 - 14), QPoint(663 + 14, 300 + 14)));
        delete preview;
    }

    void hidingClosesAndFrees() {
        QPointer<TDraw_Form> preview = new TDraw_Form(nullptr);
        preview->show();
        QCOMPARE(preview->image().size(), preview->size());
        preview->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!preview);
    }
};

QTEST_MAIN(TestHolePreview)
#include "test_holepreview.moc"
