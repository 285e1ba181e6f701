#include "calculators/ui/tdraw_form.h"
#include "calculators/ui/totworyform.h"
#include "scriptedinteraction.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::ScopedInteraction;

namespace {

struct Form {
    QPointer<TOtworyForm> window = new TOtworyForm(nullptr);
    ~Form() { delete window; }
    TOtworyForm* operator->() const { return window; }
    QLineEdit* edit(const char* name) const {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QTableWidget* grid() const { return window->findChild<QTableWidget*>(QStringLiteral("WyStringGrid")); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void fill(const char* diameter, const char* first, const char* pitch, const char* count) const {
        edit("Srednica_Edit")->setText(QString::fromUtf8(diameter));
        edit("Kat_Pierwszego_Edit")->setText(QString::fromUtf8(first));
        edit("Kat_Pomiedzy_Edit")->setText(QString::fromUtf8(pitch));
        edit("Liczba_Edit")->setText(QString::fromUtf8(count));
    }
    QString cell(int row, int column) const {
        const auto* item = grid()->item(row, column);
        return item ? item->text() : QString();
    }
};

} // namespace

class TestBoltCircleForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsWithDefaults() {
        Form form;
        QCOMPARE(form->metaObject()->className(), "ordalvex::TOtworyForm");
        QCOMPARE(form->windowTitle(), QStringLiteral("Oblicz współrzędne otworów"));
        QCOMPARE(form.edit("Srednica_Edit")->text(), QStringLiteral("10"));
        QCOMPARE(form.edit("Kat_Pierwszego_Edit")->text(), QStringLiteral("0"));
        QVERIFY(form.child<QRadioButton>("MilimetryRadioButton_D")->isChecked());
        QVERIFY(form.child<QRadioButton>("MilimetryRadioButton_W")->isChecked());
        QVERIFY(form.child<QCheckBox>("DrawCheckBox")->isChecked());
        QCOMPARE(form.cell(0, 0), QStringLiteral(" Otwory"));
        QCOMPARE(form.cell(0, 1), QStringLiteral("          X"));
        QCOMPARE(form.cell(0, 2), QStringLiteral("          Y"));
        QVERIFY(!form.action("Kopiuj")->isEnabled());
        QVERIFY(!form.action("Zaznaczwszystko1")->isEnabled());
        QCOMPARE(form->focusWidget(), form.edit("Srednica_Edit"));
    }

    void calculationFillsTheGrid() {
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form.fill("100", "0", "90", "0");
        form.child<QPushButton>("ObliczButton")->click();
        QVERIFY(scripted->messages.isEmpty());
        QCOMPARE(form.grid()->rowCount(), 5);
        QCOMPARE(form.cell(1, 0), QStringLiteral("1. Kąt : 0.00"));
        QCOMPARE(form.cell(1, 1), QStringLiteral("50.000"));
        QCOMPARE(form.cell(2, 2), QStringLiteral("50.000"));
        QCOMPARE(form.cell(3, 1), QStringLiteral("-50.000"));
        QCOMPARE(form.cell(4, 0), QStringLiteral("4. Kąt : 270.00"));
        QCOMPARE(form.cell(4, 2), QStringLiteral("-50.000"));
        QVERIFY(form.action("Kopiuj")->isEnabled());
        QVERIFY(form.action("Zaznaczwszystko1")->isEnabled());
        const auto selected = form.grid()->selectedRanges();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].topRow(), 1);
        QCOMPARE(selected[0].leftColumn(), 1);
        QCOMPARE(selected[0].rowCount() * selected[0].columnCount(), 1);
        QVERIFY(!form->preview());

        form.child<QRadioButton>("CaleRadioButton_W")->setChecked(true);
        form.child<QPushButton>("ObliczButton")->click();
        QCOMPARE(form.cell(1, 1), QStringLiteral("1.9685"));
    }

    void failedChecksReportAndKeepTheGrid_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("diameter") << QStringList{"0.5", "0", "90", "0"}
                                  << QStringLiteral("Średnica jest poza zakresem 1-1000 mm !")
                                  << "Srednica_Edit";
        QTest::newRow("first angle") << QStringList{"10", "361", "90", "0"}
                                     << QStringLiteral(
                                            "Kąt pierwszego otworu jest poza zakresem 0-360 stopni !")
                                     << "Kat_Pierwszego_Edit";
        QTest::newRow("nothing given")
            << QStringList{"10", "0", "0", "0"}
            << QStringLiteral("Musisz podać kąt między otworami lub liczbę otworów !") << "Kat_Pomiedzy_Edit";
        QTest::newRow("count") << QStringList{"10", "0", "0", "361"}
                               << QStringLiteral("Liczba otworów jest poza zakresem 1-360 !")
                               << "Liczba_Edit";
        QTest::newRow("pitch") << QStringList{"10", "0", "0.5", "0"}
                               << QStringLiteral("Kąt pomiędzy otworami jest poza zakresem 1-180 stopni !")
                               << "Kat_Pomiedzy_Edit";
    }
    void failedChecksReportAndKeepTheGrid() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form.fill("100", "0", "120", "0");
        form->ObliczButtonClick();
        QCOMPARE(form.grid()->rowCount(), 4);
        form.fill(qPrintable(fields[0]), qPrintable(fields[1]), qPrintable(fields[2]), qPrintable(fields[3]));
        form->ObliczButtonClick();
        QCOMPARE(scripted->messages.size(), 1);
        QCOMPARE(scripted->messages[0].text, message);
        QCOMPARE(scripted->messages[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(scripted->messages[0].icon, QMessageBox::Warning);
        QCOMPARE(scripted->beeps, 1);
        QCOMPARE(form->focusWidget()->objectName(), focus);
        QCOMPARE(form.grid()->rowCount(), 4);
        QCOMPARE(form.cell(2, 0), QStringLiteral("2. Kąt : 120.00"));
    }

    void inchInputSwitchesTheDiameterField() {
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        QLineEdit* diameter = form.edit("Srednica_Edit");
        diameter->clear();
        QTest::keyClicks(diameter, "1,1/4a");
        QCOMPARE(diameter->text(), QStringLiteral("1.14"));

        const auto typedWhole = [diameter](const char* keys) {
            diameter->clear();
            QTest::keyClicks(diameter, keys);
            return diameter->text();
        };
        QCOMPARE(typedWhole("123456789"), QStringLiteral("1234567"));
        diameter->clear();
        QTest::keyClicks(diameter, "1,1/4a");

        form.child<QRadioButton>("CaleRadioButton_C")->click();
        QCOMPARE(diameter->toolTip(),
                 QStringLiteral(
                     "Ułamki można zapisać w postaci np.: 1.1/4  = 1.25 ;\n0.3/4 lub .3/4 lub 3/4 = 0.75 ;"));
        QCOMPARE(diameter->text(), QStringLiteral("1.14"));
        diameter->clear();
        QTest::keyClicks(diameter, "1,1/4a");
        QCOMPARE(diameter->text(), QStringLiteral("1.1/4"));
        form.fill("1.1/4", "0", "0", "1");
        form->ObliczButtonClick();
        QCOMPARE(diameter->text(), QStringLiteral("1.250"));
        QCOMPARE(form.cell(1, 1), QStringLiteral("15.875"));

        form.fill("0.03", "0", "0", "1");
        form->ObliczButtonClick();
        QCOMPARE(scripted->messages.size(), 1);
        QCOMPARE(scripted->messages[0].text, QStringLiteral("Średnica jest poza zakresem 0.04-39\" !"));
        QCOMPARE(diameter->text(), QStringLiteral("0.030"));

        QCOMPARE(typedWhole("123456789"), QStringLiteral("12345678"));

        form.child<QRadioButton>("MilimetryRadioButton_D")->click();
        QCOMPARE(typedWhole("123456789"), QStringLiteral("1234567"));
        QVERIFY(diameter->toolTip().isEmpty());
    }

    void copiesSelectedRowsAsCoordinateWords() {
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form.fill("100", "0", "90", "0");
        form->ObliczButtonClick();
        QTableWidget* grid = form.grid();
        grid->clearSelection();
        grid->setRangeSelected(QTableWidgetSelectionRange(2, 2, 3, 2), true);
        form.action("Kopiuj")->trigger();
        QCOMPARE(scripted->clipboard, QStringLiteral("X0.000 Y50.000\r\nX-50.000 Y0.000\r\n"));
        const auto widened = grid->selectedRanges();
        QCOMPARE(widened.size(), 1);
        QCOMPARE(widened[0].leftColumn(), 1);
        QCOMPARE(widened[0].rightColumn(), 2);
        QCOMPARE(widened[0].topRow(), 2);
        QCOMPARE(widened[0].bottomRow(), 3);

        form.action("Zaznaczwszystko1")->trigger();
        const auto all = grid->selectedRanges();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].topRow(), 1);
        QCOMPARE(all[0].bottomRow(), 4);
        QCOMPARE(all[0].leftColumn(), 1);
        QCOMPARE(all[0].rightColumn(), 2);
        form->KopiujClick();
        QCOMPARE(scripted->clipboard.count(QStringLiteral("\r\n")), 4);
        QVERIFY(scripted->clipboard.startsWith(QStringLiteral("X50.000 Y0.000\r\n")));
    }

    void gridKeysCopyAndSelect() {
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.window));
        form.fill("100", "0", "0", "3");
        form->ObliczButtonClick();
        form.grid()->setFocus();
        QTest::keyClick(form.grid(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(form.grid()->selectedRanges().value(0).rowCount(), 3);
        QTest::keyClick(form.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(scripted->clipboard.count(QStringLiteral("\r\n")), 3);
    }

    void previewFollowsTheCheckBox() {
        ScopedInteraction scripted;
        Form form;
        form.fill("100", "0", "0", "6");
        form->ObliczButtonClick();
        QPointer<TDraw_Form> preview = form->preview();
        QVERIFY(preview);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Połorzenie otworów"));
        QVERIFY(preview->isVisible());
        QVERIFY(preview->width() >= 310 && preview->height() >= 260);
        QCOMPARE(preview->parent(), form.window.data());
        QVERIFY(!preview->image().isNull());

        form->ObliczButtonClick();
        QCOMPARE(form->preview(), preview.data()); // reused, not a second one

        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form->ObliczButtonClick();
        QVERIFY(!preview);
        QVERIFY(!form->preview());

        form.child<QCheckBox>("DrawCheckBox")->setChecked(true);
        form->ObliczButtonClick();
        preview = form->preview();
        QVERIFY(preview);
        form->close();
        QVERIFY(!preview);
    }

    void editFieldsBehave() {
        ScopedInteraction scripted;
        Form form;
        QLineEdit* first = form.edit("Kat_Pierwszego_Edit");
        first->setText(QStringLiteral("45"));
        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(first->selectedText(), QStringLiteral("45"));
        QTest::mouseDClick(first, Qt::LeftButton);
        QCOMPARE(first->text(), QStringLiteral("0"));

        const auto leave = [](QLineEdit* field) {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(field, &out);
        };
        first->clear();
        leave(first);
        QCOMPARE(first->text(), QStringLiteral("0"));
        QLineEdit* diameter = form.edit("Srednica_Edit");
        diameter->clear();
        leave(diameter);
        QCOMPARE(diameter->text(), QStringLiteral("100"));
        leave(diameter);
        QCOMPARE(diameter->text(), QStringLiteral("100"));
    }

    void editMenuEnablingAndActions() {
        ScopedInteraction scripted;
        Form form;
        auto* menu = form.child<QMenu>("Edit_PopupMenu");
        QVERIFY(menu);
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(entries, (QStringList{"Cofnij", "-", "Wytnij", "Kopiuj", "Wklej", "-", "Usuń", "-",
                                       "Zaznacz wszystko"}));
        QCOMPARE(form.action("Usu1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));

        QLineEdit* count = form.edit("Liczba_Edit");
        menu->setVisible(false);
        QMetaObject::invokeMethod(count, "customContextMenuRequested", Q_ARG(QPoint, QPoint(2, 2)));
        QVERIFY(!form.action("Cofnij1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());
        QVERIFY(!form.action("Kopiuj1")->isEnabled());
        QVERIFY(!form.action("Wklej1")->isEnabled());
        QVERIFY(form.action("Usu1")->isEnabled());
        QVERIFY(form.action("Zaznaczwszystko2")->isEnabled());
        menu->hide();

        QTest::keyClicks(count, "12");
        count->selectAll();
        scripted->clipboard = QStringLiteral("3");
        QMetaObject::invokeMethod(count, "customContextMenuRequested", Q_ARG(QPoint, QPoint(2, 2)));
        menu->hide();
        QVERIFY(form.action("Cofnij1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());
        QVERIFY(form.action("Kopiuj1")->isEnabled());
        QVERIFY(form.action("Wklej1")->isEnabled());

        form.action("Kopiuj1")->trigger();
        QCOMPARE(scripted->clipboard, QStringLiteral("012"));
        form.action("Usu1")->trigger();
        QCOMPARE(count->text(), QString());
        form.action("Cofnij1")->trigger();
        QCOMPARE(count->text(), QStringLiteral("012"));
        scripted->clipboard = QStringLiteral("7");
        count->setCursorPosition(3);
        form.action("Wklej1")->trigger();
        QCOMPARE(count->text(), QStringLiteral("012")); // at the field's maximum length
        count->setText(QStringLiteral("1"));
        count->setCursorPosition(1);
        form.action("Wklej1")->trigger();
        QCOMPARE(count->text(), QStringLiteral("17"));
        count->deselect();
        form.action("Zaznaczwszystko2")->trigger();
        QCOMPARE(count->selectedText(), QStringLiteral("17"));
    }

    void closingFreesTheWindow() {
        QPointer<TOtworyForm> form = new TOtworyForm(nullptr);
        form->findChild<QPushButton*>(QStringLiteral("ZamknijButton"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);

        form = new TOtworyForm(nullptr);
        form->show();
        QTest::keyClick(form->findChild<QLineEdit*>(QStringLiteral("Srednica_Edit")), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
    }

    void enterCalculates() {
        ScopedInteraction scripted;
        Form form;
        form.child<QCheckBox>("DrawCheckBox")->setChecked(false);
        form->show();
        form.fill("100", "0", "0", "3");
        QTest::keyClick(form.edit("Liczba_Edit"), Qt::Key_Return);
        QCOMPARE(form.grid()->rowCount(), 4);
    }

    void mouseMovementActivatesTheWindow() {
        Form form;
        form->show();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), form->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form.window, &move);
        QVERIFY(QTest::qWaitForWindowActive(form.window));
    }
};

QTEST_MAIN(TestBoltCircleForm)
#include "test_boltcircleform.moc"
