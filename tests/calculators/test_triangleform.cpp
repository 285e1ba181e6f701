#include "calculators/ui/tkatyform.h"
#include "scriptedinteraction.h"
#include "usertyping.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::clickAndType;
using ordalvex::testing::ScopedInteraction;

namespace {

const QColor kGreen(0, 128, 0);
const QColor kNavy(0, 0, 128);
const char* kBoxes[] = {"CheckBox_a", "CheckBox_b", "CheckBox_c", "CheckBox_bb", "CheckBox_cc"};
const char* kEdits[] = {"Edit_a", "Edit_b", "Edit_c", "Edit_bb", "Edit_cc"};
const char* kLabels[] = {"Label_a", "Label_b", "Label_c", "Label_bb", "Label_cc"};

struct Form {
    QPointer<TKatyForm> window = new TKatyForm(nullptr);
    ~Form() { delete window; }
    TKatyForm* operator->() const { return window; }
    QCheckBox* box(int i) const { return window->findChild<QCheckBox*>(QString::fromLatin1(kBoxes[i])); }
    QLineEdit* edit(int i) const { return window->findChild<QLineEdit*>(QString::fromLatin1(kEdits[i])); }
    QLabel* label(int i) const { return window->findChild<QLabel*>(QString::fromLatin1(kLabels[i])); }
    QPushButton* calculate() const {
        return window->findChild<QPushButton*>(QStringLiteral("Button_Oblicz"));
    }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    // Which boxes are enabled, as a string of 0 and 1 in the order a, b, c, B, C.
    QString enabledBoxes() const {
        QString s;
        for (int i = 0; i < 5; ++i)
            s += box(i)->isEnabled() ? u'1' : u'0';
        return s;
    }
    QStringList texts() const {
        QStringList list;
        for (int i = 0; i < 5; ++i)
            list << edit(i)->text();
        return list;
    }
    void tick(std::initializer_list<int> boxes, std::initializer_list<const char*> values) const {
        auto value = values.begin();
        for (int i : boxes) {
            box(i)->click();
            edit(i)->setText(QString::fromLatin1(*value++));
        }
    }
};

} // namespace

class TestTriangleForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsWithResultFields() {
        Form form;
        QCOMPARE(form->metaObject()->className(), "ordalvex::TKatyForm");
        QCOMPARE(form->windowTitle(), QStringLiteral("Kąty i trójkąty"));
        QCOMPARE(form.texts(), (QStringList{"1", "1", "1", "1", "1"}));
        QVERIFY(!form.calculate()->isEnabled());
        QCOMPARE(form.enabledBoxes(), QStringLiteral("11111"));
        QCOMPARE(form.label(3)->text(), QStringLiteral("Kat : B"));
        QCOMPARE(form.label(4)->text(), QStringLiteral("Kąt : C"));
        for (int i = 0; i < 5; ++i) {
            QVERIFY(form.edit(i)->isReadOnly());
            QCOMPARE(form.edit(i)->palette().color(QPalette::Text), kNavy);
            QCOMPARE(form.label(i)->palette().color(QPalette::WindowText), kNavy);
        }
        QCOMPARE(form->findChild<QGroupBox*>(QStringLiteral("GroupBox"))->toolTip(),
                 QStringLiteral("Zaznacz odpowiednie pola w zależności od posiadanych danych.\n"
                                "Możesz zaznaczyć tylko dwa pola."));
        const QImage picture = form->findChild<QLabel*>(QStringLiteral("Image"))->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(460, 328));
    }

    void checkBoxesKeepToTwoAndStyleFields() {
        Form form;
        form.box(0)->click();
        QVERIFY(!form.edit(0)->isReadOnly());
        QVERIFY(form.edit(0)->font().bold());
        QCOMPARE(form.edit(0)->palette().color(QPalette::Text), kGreen);
        QCOMPARE(form.label(0)->palette().color(QPalette::WindowText), kGreen);
        QCOMPARE(form.box(0)->palette().color(QPalette::WindowText), kGreen);
        QCOMPARE(form.box(1)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QVERIFY(!form.calculate()->isEnabled());

        form.box(1)->click();
        QCOMPARE(form.enabledBoxes(), QStringLiteral("11000"));
        QVERIFY(form.calculate()->isEnabled());
        QCOMPARE(form->selectionCode(), 3);

        form.edit(1)->setText(QStringLiteral("7"));
        form.box(1)->click();
        QCOMPARE(form.enabledBoxes(), QStringLiteral("11111"));
        QCOMPARE(form.edit(1)->text(), QStringLiteral("1"));
        QVERIFY(form.edit(1)->isReadOnly());
        QVERIFY(!form.edit(1)->font().bold());

        form.box(0)->click();
        form.box(3)->click();
        QCOMPARE(form.enabledBoxes(), QStringLiteral("11110"));
        QVERIFY(!form.calculate()->isEnabled());
        form.box(3)->click();
        form.box(4)->click();
        QCOMPARE(form.enabledBoxes(), QStringLiteral("11101"));
        form.box(2)->click();
        QCOMPARE(form.enabledBoxes(), QStringLiteral("00101"));
        QCOMPARE(form->selectionCode(), 20);
        QVERIFY(form.calculate()->isEnabled());
    }

    void calculation_data() {
        QTest::addColumn<QList<int>>("boxes");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        using L = QStringList;
        QTest::newRow("a b") << QList<int>{0, 1} << L{"5", "3"} << L{"5", "3", "4.000", "36.870", "53.130"}
                             << QString();
        QTest::newRow("b c") << QList<int>{1, 2} << L{"3", "4"} << L{"5.000", "3", "4", "36.870", "53.130"}
                             << QString();
        QTest::newRow("a B") << QList<int>{0, 3} << L{"10", "30"} << L{"10", "5.000", "8.660", "30", "60.000"}
                             << QString();
        QTest::newRow("a not longer than b")
            << QList<int>{0, 1} << L{"3", "3"} << L{"3", "3", "1", "1", "1"}
            << QStringLiteral("Bok \"a\" nie może być krótszy od boku \"b\" !");
        QTest::newRow("B 90") << QList<int>{2, 3} << L{"4", "90"} << L{"1", "1", "4", "90", "1"}
                              << QStringLiteral("Kąt \"B\" musi być mniejszy od 90 !");
        QTest::newRow("c zero") << QList<int>{1, 2} << L{"3", "0"} << L{"3.000", "3", "0", "1", "1"}
                                << QStringLiteral("Błędne dane !");
        QTest::newRow("comma typed earlier is a point")
            << QList<int>{0, 4} << L{"2", "30."} << L{"2", "1.732", "1.000", "60.000", "30."} << QString();
    }
    void calculation() {
        QFETCH(QList<int>, boxes);
        QFETCH(QStringList, values);
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        ScopedInteraction scripted;
        Form form;
        for (int i = 0; i < boxes.size(); ++i) {
            form.box(boxes[i])->click();
            form.edit(boxes[i])->setText(values[i]);
        }
        form.calculate()->click();
        QCOMPARE(form.texts(), texts);
        if (message.isEmpty()) {
            QVERIFY(scripted->messages.isEmpty());
            QCOMPARE(scripted->beeps, 0);
        } else {
            QCOMPARE(scripted->messages.size(), 1);
            QCOMPARE(scripted->messages[0].text, message);
            QCOMPARE(scripted->messages[0].caption, QStringLiteral("Błąd"));
            QCOMPARE(scripted->messages[0].icon, QMessageBox::Warning);
            QCOMPARE(scripted->beeps, 1);
        }
    }

    // Results longer than their field's typing limit are shown whole, in the fields the user
    // reads after ticking two boxes, typing their values and pressing Enter.
    void resultsShowWhole_data() {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("shown"); // a, b, c, B, C
        QTest::newRow("tiny angle") << QList<int>{1, 3} << QStringList{"100000", "0.1"}
                                    << QStringList{"57295808.602", "100000", "57295721.335", "0.1", "89.900"};
        QTest::newRow("long hypotenuse") << QList<int>{0, 2} << QStringList{"9999999", "1"}
                                         << QStringList{"9999999", "9999999.000", "1", "90.000", "0.000"};
    }
    void resultsShowWhole() {
        QFETCH(QList<int>, ticked);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        ScopedInteraction scripted;
        Form form;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.window));
        for (int i = 0; i < ticked.size(); ++i) {
            QTest::mouseClick(form.box(ticked[i]), Qt::LeftButton);
            QVERIFY(clickAndType(form.edit(ticked[i]), typed[i]));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(form.texts(), shown);
        QVERIFY(scripted->messages.isEmpty());
    }

    void fieldsFilterAndFallBack() {
        Form form;
        form.box(0)->click();
        QLineEdit* a = form.edit(0);
        a->clear();
        QTest::keyClicks(a, "2,5x-");
        QCOMPARE(a->text(), QStringLiteral("2.5"));
        a->clear();
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(a, &out);
        QCOMPARE(a->text(), QStringLiteral("1"));
    }

    void editMenuOnlyEditsInputFields() {
        ScopedInteraction scripted;
        scripted->clipboard = QStringLiteral("4");
        Form form;
        auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        const auto open = [&](QLineEdit* field) {
            QMetaObject::invokeMethod(field, "customContextMenuRequested", Q_ARG(QPoint, QPoint(1, 1)));
            menu->hide();
        };
        form.box(0)->click();
        QTest::keyClicks(form.edit(0), "2");
        open(form.edit(0));
        QVERIFY(form.action("Cofnij1")->isEnabled());
        QVERIFY(form.action("Wklej1")->isEnabled());
        QVERIFY(form.action("Usu1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());

        form.edit(1)->selectAll();
        open(form.edit(1));
        QVERIFY(!form.action("Cofnij1")->isEnabled());
        QVERIFY(!form.action("Wklej1")->isEnabled());
        QVERIFY(!form.action("Usu1")->isEnabled());
        QVERIFY(form.action("Kopiuj1")->isEnabled());
        QVERIFY(form.action("Zaznaczwszystko1")->isEnabled());
    }
};

QTEST_MAIN(TestTriangleForm)
#include "test_triangleform.moc"
