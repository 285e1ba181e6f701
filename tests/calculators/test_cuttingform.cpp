#include "calculators/ui/tcalcform.h"
#include "scriptedinteraction.h"
#include "usertyping.h"

#include <QAction>
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
using ordalvex::testing::typeKeys;

namespace {

const QColor kGreen(0, 128, 0);
const QColor kNavy(0, 0, 128);

struct Form {
    QPointer<TCalcForm> window = new TCalcForm(nullptr);
    ~Form() { delete window; }
    TCalcForm* operator->() const { return window; }
    QLineEdit* edit(const QString& name) const { return window->findChild<QLineEdit*>(name); }
    QString text(const QString& name) const { return edit(name)->text(); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QColor textColour(const QString& name) const { return edit(name)->palette().color(QPalette::Text); }
    QColor labelColour(const char* name) const {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->palette().color(QPalette::WindowText);
    }
    void set(std::initializer_list<std::pair<const char*, const char*>> texts) const {
        for (const auto& [name, value] : texts)
            edit(QString::fromLatin1(name))->setText(QString::fromLatin1(value));
    }
    // The tab chain from `start`, over the named controls only.
    QStringList tabChain() const {
        QStringList names;
        QWidget* w = edit(QStringLiteral("D"));
        for (int i = 0; i < 200 && names.size() < 8; ++i) {
            w = w->nextInFocusChain();
            const QString name = w->objectName();
            if (QStringList{"D", "Os", "Vc", "Fz", "S", "F", "ObliczButton", "ZamknijButton"}.contains(
                    name) &&
                !names.contains(name))
                names << name;
        }
        return names;
    }
};

void focusIn(QWidget* widget) {
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(widget, &in);
}

} // namespace

class TestCuttingForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsInCuttingSpeedMode() {
        Form form;
        QCOMPARE(form->metaObject()->className(), "ordalvex::TCalcForm");
        QCOMPARE(form->windowTitle(), QStringLiteral("Oblicz parametry skrawania"));
        QCOMPARE(form->toolTip(),
                 QStringLiteral("Kolor zielony - dane do wprowadzenia,  granatowy - wyniki."));
        const QStringList names{"D", "Os", "Vc", "Fz", "S", "F"};
        const QStringList defaults{"10", "1", "60", "0.3", "1", "1"};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(form.text(names[i]), defaults[i]);
        QCOMPARE(form->mode(), CuttingMode::CuttingSpeed);
        QCOMPARE(form->focusWidget(), form.edit(QStringLiteral("Vc")));
        QCOMPARE(form.textColour(QStringLiteral("D")), kGreen);
        QCOMPARE(form.textColour(QStringLiteral("Os")), kGreen);
        QCOMPARE(form.labelColour("DLabel"), kGreen);
    }

    void modesSwapColoursReadOnlyAndTabOrder() {
        Form form;
        const auto check = [&](bool cutting) {
            for (const char* name : {"Vc", "Fz"}) {
                QCOMPARE(form.textColour(QString::fromLatin1(name)), cutting ? kGreen : kNavy);
                QCOMPARE(form.edit(QString::fromLatin1(name))->isReadOnly(), !cutting);
            }
            for (const char* name : {"S", "F"}) {
                QCOMPARE(form.textColour(QString::fromLatin1(name)), cutting ? kNavy : kGreen);
                QCOMPARE(form.edit(QString::fromLatin1(name))->isReadOnly(), cutting);
            }
            QCOMPARE(form.labelColour("VcLabel"), cutting ? kGreen : kNavy);
            QCOMPARE(form.labelColour("FzLabel"), cutting ? kGreen : kNavy);
            QCOMPARE(form.labelColour("SLabel"), cutting ? kNavy : kGreen);
            QCOMPARE(form.labelColour("FLabel"), cutting ? kNavy : kGreen);
            QVERIFY(form.edit(QStringLiteral("S"))->palette().color(QPalette::Base) !=
                    form.edit(QStringLiteral("Vc"))->palette().color(QPalette::Base));
        };
        check(true);
        QCOMPARE(form.tabChain(),
                 (QStringList{"Os", "ObliczButton", "ZamknijButton", "S", "F", "Vc", "Fz", "D"}));

        focusIn(form.edit(QStringLiteral("F")));
        QCOMPARE(form->mode(), CuttingMode::SpindleSpeed);
        check(false);
        QCOMPARE(form.tabChain(),
                 (QStringList{"Os", "ObliczButton", "ZamknijButton", "Vc", "Fz", "S", "F", "D"}));

        focusIn(form.edit(QStringLiteral("Fz")));
        QCOMPARE(form->mode(), CuttingMode::CuttingSpeed);
        check(true);
        focusIn(form.edit(QStringLiteral("D"))); // the shared inputs change nothing
        QCOMPARE(form->mode(), CuttingMode::CuttingSpeed);
    }

    void calculation_data() {
        QTest::addColumn<bool>("spindle");
        QTest::addColumn<QStringList>("in"); // D, Os, Vc, Fz, S, F
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("focus");
        using L = QStringList;
        QTest::newRow("defaults") << false << L{"10", "1", "60", "0.3", "1", "1"}
                                  << L{"10", "1", "60", "0.3", "1910", "573"} << 0 << "Vc";
        QTest::newRow("spindle") << true << L{"10", "1", "60", "0.3", "1910", "573"}
                                 << L{"10", "1", "60", "0.300", "1910", "573"} << 0 << "S";
        QTest::newRow("D 0.5") << false << L{"0.5", "1", "60", "0.3", "1", "1"}
                               << L{"15", "1", "60", "0.3", "1273", "382"} << 1 << "D";
        QTest::newRow("Fz 25") << false << L{"10", "1", "60", "25", "1", "1"}
                               << L{"10", "1", "60", "0.3", "1910", "573"} << 1 << "Fz";
        QTest::newRow("z 0 and Vc 0") << false << L{"10", "0", "0", "0.3", "1", "1"}
                                      << L{"10", "1", "60", "0.3", "1910", "573"} << 2 << "Vc";
        QTest::newRow("half to even") << false << L{"1000", "1", "16", "0.5", "1", "1"}
                                      << L{"1000", "1", "16", "0.5", "5", "2"} << 0 << "Vc";
        QTest::newRow("spindle F 0") << true << L{"10", "1", "1", "1", "1000", "0"}
                                     << L{"10", "1", "31", "0.001", "1000", "1"} << 1 << "F";
    }
    void calculation() {
        QFETCH(bool, spindle);
        QFETCH(QStringList, in);
        QFETCH(QStringList, out);
        QFETCH(int, beeps);
        QFETCH(QString, focus);
        ScopedInteraction scripted;
        Form form;
        const QStringList names{"D", "Os", "Vc", "Fz", "S", "F"};
        if (spindle) {
            form->SEnter();
            form.edit(QStringLiteral("S"))->setFocus();
        }
        for (int i = 0; i < names.size(); ++i)
            form.edit(names[i])->setText(in[i]);
        form->findChild<QPushButton*>(QStringLiteral("ObliczButton"))->click();
        QStringList actual;
        for (const QString& name : names)
            actual << form.text(name);
        QCOMPARE(actual, out);
        QCOMPARE(scripted->beeps, beeps);
        QVERIFY(scripted->messages.isEmpty());
        QCOMPARE(form->focusWidget()->objectName(), focus);
    }

    // Each field takes as many typed characters as its value can need.
    void typingIsLimitedPerField() {
        ScopedInteraction scripted;
        Form form;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.window));
        const QStringList names{"D", "Os", "Vc", "Fz", "S", "F"};
        const QList<int> lengths{5, 2, 3, 5, 5, 4};
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(clickAndType(form.edit(names[i]), QStringLiteral("987654321")));
            QCOMPARE(form.text(names[i]), QStringLiteral("987654321").left(lengths[i]));
        }
    }

    // Results longer than their field's typing limit are shown whole, in the fields the user
    // reads after typing the inputs and pressing Enter.
    void resultsShowWhole_data() {
        QTest::addColumn<QStringList>("typed"); // field=text, in typing order
        QTest::addColumn<QStringList>("shown");
        using L = QStringList;
        QTest::newRow("feed of five digits")
            << L{"D=6", "Os=4", "Vc=400", "Fz=0.2"} << L{"S=21221", "F=16977"};
        QTest::newRow("cutting speed of four digits")
            << L{"D=100", "Os=1", "S=5000", "F=1000"} << L{"Vc=1571", "Fz=0.200"};
    }
    void resultsShowWhole() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        ScopedInteraction scripted;
        Form form;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.window));
        for (const QString& entry : typed) {
            const QStringList parts = entry.split(u'=');
            QVERIFY(clickAndType(form.edit(parts[0]), parts[1]));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        for (const QString& entry : shown) {
            const QStringList parts = entry.split(u'=');
            QCOMPARE(form.text(parts[0]), parts[1]);
        }
        QCOMPARE(scripted->beeps, 0);
    }

    // A whole result longer than the limit may be shortened and undone, never lengthened.
    void longResultIsEditedWithinItsLength() {
        ScopedInteraction scripted;
        Form form;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.window));
        for (const auto& [name, text] : {std::pair{"D", "100"}, {"S", "5000"}, {"F", "1000"}})
            QVERIFY(clickAndType(form.edit(QString::fromLatin1(name)), QString::fromLatin1(text)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QLineEdit* vc = form.edit(QStringLiteral("Vc"));
        QCOMPARE(vc->text(), QStringLiteral("1571"));

        QTest::mouseClick(vc, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), vc);
        QVERIFY(!vc->isReadOnly());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        typeKeys(QStringLiteral("2"));
        QCOMPARE(vc->text(), QStringLiteral("1571"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QCOMPARE(vc->text(), QStringLiteral("157"));
        typeKeys(QStringLiteral("9"));
        QCOMPARE(vc->text(), QStringLiteral("157"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(vc->text(), QStringLiteral("1571"));
        typeKeys(QStringLiteral("3"));
        QCOMPARE(vc->text(), QStringLiteral("1571"));
    }

    void fieldsFilterAndFallBack() {
        Form form;
        QLineEdit* vc = form.edit(QStringLiteral("Vc"));
        vc->clear();
        QTest::keyClicks(vc, "1,2a");
        QCOMPARE(vc->text(), QStringLiteral("12"));
        QLineEdit* fz = form.edit(QStringLiteral("Fz"));
        fz->clear();
        QTest::keyClicks(fz, "0,25/");
        QCOMPARE(fz->text(), QStringLiteral("0.25"));

        const QStringList names{"Vc", "Fz", "S", "F", "Os", "D"};
        const QStringList fallbacks{"60", "0.3", "1", "1", "1", "10.0"};
        for (int i = 0; i < names.size(); ++i) {
            QLineEdit* field = form.edit(names[i]);
            field->clear();
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(field, &out);
            QCOMPARE(field->text(), fallbacks[i]);
        }
    }

    void editMenuRespectsReadOnlyFields() {
        ScopedInteraction scripted;
        Form form;
        auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu"));
        QVERIFY(menu);
        QLineEdit* s = form.edit(QStringLiteral("S"));
        const auto open = [&] {
            QMetaObject::invokeMethod(s, "customContextMenuRequested", Q_ARG(QPoint, QPoint(1, 1)));
            menu->hide();
        };
        s->selectAll();
        open(); // a read-only result field with a selection
        QVERIFY(form.action("Kopiuj1")->isEnabled());
        QVERIFY(!form.action("Usu1")->isEnabled());
        QVERIFY(!form.action("Wklej1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());
        QVERIFY(form.action("Zaznaczwszystko1")->isEnabled());

        form->SEnter();
        scripted->clipboard = QStringLiteral("5");
        s->selectAll();
        open(); // now an input field
        QVERIFY(form.action("Usu1")->isEnabled());
        QVERIFY(form.action("Wklej1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());
        form.action("Usu1")->trigger();
        QCOMPARE(s->text(), QString());

        s->setText(QStringLiteral("12"));
        s->deselect();
        open(); // nothing selected
        QVERIFY(!form.action("Kopiuj1")->isEnabled());
        QVERIFY(!form.action("Usu1")->isEnabled());
    }
};

QTEST_MAIN(TestCuttingForm)
#include "test_cuttingform.moc"
