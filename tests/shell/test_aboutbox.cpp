#include "shell/ui/taboutbox.h"
#include "textfit.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace ordalvex;

class TestAboutBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void centringTruncatesBothHalves_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("label");
        QTest::addColumn<int>("left");
        QTest::newRow("even label") << 353 << 100 << 126;
        QTest::newRow("odd label") << 353 << 101 << 126;
        QTest::newRow("even panel") << 352 << 99 << 127;
        QTest::newRow("label fills the panel") << 353 << 353 << 0;
    }
    void centringTruncatesBothHalves() {
        QFETCH(int, panel);
        QFETCH(int, label);
        QFETCH(int, left);
        QCOMPARE(TAboutBox::centredLeft(panel, label), left);
    }

    void windowAndControls() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("O programie"));
        QCOMPARE(box.size(), QSize(367, 296));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.panel()->geometry(), QRect(8, 8, 353, 209));
        auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
        QVERIFY(icon);
        QCOMPARE(icon->geometry(), QRect(14, 14, 32, 32));
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
    }

    // Rendered with the fonts of this system, every text shows whole and uncovered.
    void textsShowWhole() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList faults = testing::textsCutOrCovered(&box);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void labelsStackedAndCentredInThePanel() {
        TAboutBox box;
        QLabel* name = box.findChild<QLabel*>(QStringLiteral("ProductName"));
        QLabel* comments = box.findChild<QLabel*>(QStringLiteral("Comments"));
        QLabel* version = box.findChild<QLabel*>(QStringLiteral("Version"));
        QVERIFY(name && comments && version);
        QCOMPARE(name->text(), QStringLiteral("Ordalvex"));
        QCOMPARE(comments->text(), QStringLiteral("Edytor programów CNC"));
        QCOMPARE(version->text(), QStringLiteral("Wersja : 1.75"));
        QCOMPARE(name->parentWidget(), box.panel());

        QCOMPARE(name->font().pixelSize(), 37);
        QVERIFY(name->font().bold());
        QCOMPARE(name->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(comments->font().pixelSize(), 15);
        QVERIFY(comments->wordWrap());

        QCOMPARE(name->y(), 16);
        QCOMPARE(comments->y(), name->geometry().bottom() + 1 + 10);
        QCOMPARE(version->y(), comments->geometry().bottom() + 1 + 10);
        for (QLabel* label : {name, comments, version}) {
            QCOMPARE(label->x(), 353 / 2 - label->width() / 2);
            // Sized to the text: as wide as its one line (the labels fit the panel).
            const int advance = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(label->width() >= advance && label->width() <= advance + 2,
                     qPrintable(label->objectName()));
            QVERIFY(label->geometry().right() < box.panel()->width());
        }
        // The name's 37-pixel font makes it the tallest and widest of the three.
        QVERIFY(name->height() > version->height());
        QVERIFY(version->geometry().bottom() < box.panel()->height());
    }

    void longCommentWrapsInsideThePanel() {
        TAboutBox box;
        box.comments()->setText(QStringLiteral("Edytor programów CNC, kalkulatory warsztatowe, "
                                               "przeglądarka plików i transmisja RS232"));
        const int oneLine = box.comments()->fontMetrics().height();
        box.layoutLabels();
        QVERIFY(box.comments()->width() < box.panel()->width());
        QCOMPARE(box.comments()->x(), 353 / 2 - box.comments()->width() / 2);
        QVERIFY(box.comments()->height() >= 2 * oneLine);
        QCOMPARE(box.version()->y(), box.comments()->geometry().bottom() + 1 + 10);
    }

    void okAndEscapeClose_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("OK") << false;
        QTest::newRow("Esc") << true;
    }
    void okAndEscapeClose() {
        QFETCH(bool, escape);
        TAboutBox box;
        box.show();
        QVERIFY(box.isVisible());
        if (escape)
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "test_aboutbox.moc"
