#include "calculators/ui/tmcform.h"
#include "scriptedinteraction.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::ScopedInteraction;

namespace {

struct Form {
    QPointer<TMcForm> window = new TMcForm(nullptr);
    ~Form() { delete window; }
    TMcForm* operator->() const { return window; }
    QLineEdit* input() const { return window->findChild<QLineEdit*>(QStringLiteral("DaneLabeledEdit")); }
    QLineEdit* result() const { return window->findChild<QLineEdit*>(QStringLiteral("WynikLabeledEdit")); }
    QString label(const char* name) const {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QRadioButton* radio(const char* name) const {
        return window->findChild<QRadioButton*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
};

} // namespace

class TestConverterForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsConvertingInchesToMillimetres() {
        Form form;
        QCOMPARE(form->metaObject()->className(), "ordalvex::TMcForm");
        QCOMPARE(form->windowTitle(), QStringLiteral("Przelicz"));
        QVERIFY(form.radio("RadioButton2")->isChecked());
        QCOMPARE(form.input()->text(), QStringLiteral("0"));
        QCOMPARE(form.result()->text(), QStringLiteral("0.00000"));
        QVERIFY(form.result()->isReadOnly());
        QCOMPARE(form.label("DaneLabeledEditLabel"), QStringLiteral("Dane (cale) :"));
        QCOMPARE(form.label("WynikLabeledEditLabel"), QStringLiteral("Wynik (mm) :"));
        QCOMPARE(form.input()->toolTip(),
                 QStringLiteral(
                     "Ułamki można zapisać w postaci np.: 1.1/4  = 1.25 ;\n0.3/4 lub .3/4 lub 3/4 = 0.75 ;"));
    }

    void convertsOnEveryChange_data() {
        QTest::addColumn<bool>("toInches");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("1 inch") << false << "1"
                                << "25.40000";
        QTest::newRow("fraction") << false << "1.1/4"
                                  << "31.75000";
        QTest::newRow("leading point") << false << ".3/4"
                                       << "19.05000";
        QTest::newRow("comma typed") << false << "1,5"
                                     << "38.10000";
        QTest::newRow("590 converts") << false << "590"
                                      << "14986.00000";
        QTest::newRow("591 marker") << false << "591"
                                    << " 590 > ";
        QTest::newRow("mm to inch") << true << "25.4"
                                    << "1.00000";
        QTest::newRow("15000 converts") << true << "15000"
                                        << "590.55118";
        QTest::newRow("15001 marker") << true << "15001"
                                      << " 15000 > ";
        QTest::newRow("letters refused") << false << "2a"
                                         << "50.80000";
        QTest::newRow("eight characters typed") << true << "0.1234567"
                                                << "0.00486";
    }
    void convertsOnEveryChange() {
        QFETCH(bool, toInches);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        Form form;
        if (toInches)
            form.radio("MilRadioButton")->click();
        form.input()->clear();
        QCOMPARE(form.result()->text(), QStringLiteral("0"));
        QTest::keyClicks(form.input(), typed);
        QCOMPARE(form.result()->text(), result);
    }

    void switchingDirectionConvertsAgain() {
        Form form;
        form->show();
        form.input()->setText(QStringLiteral("25.4"));
        QCOMPARE(form.result()->text(), QStringLiteral("645.16000"));
        form.result()->setFocus();
        form.radio("MilRadioButton")->click();
        QCOMPARE(form.result()->text(), QStringLiteral("1.00000"));
        QCOMPARE(form.label("DaneLabeledEditLabel"), QStringLiteral("Dane (mm) :"));
        QCOMPARE(form.label("WynikLabeledEditLabel"), QStringLiteral("Wynik (cale) :"));
        QCOMPARE(form->focusWidget(), form.input());
        QCOMPARE(form.input()->text(), QStringLiteral("25.4"));
        form.radio("RadioButton2")->click();
        QCOMPARE(form.result()->text(), QStringLiteral("645.16000"));
        QCOMPARE(form.label("DaneLabeledEditLabel"), QStringLiteral("Dane (cale) :"));
    }

    void editMenuFollowsTheInputField() {
        ScopedInteraction scripted;
        scripted->clipboard = QStringLiteral("3/4");
        Form form;
        auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu"));
        QVERIFY(menu);
        const auto open = [&](QLineEdit* field) {
            QMetaObject::invokeMethod(field, "customContextMenuRequested", Q_ARG(QPoint, QPoint(1, 1)));
            menu->hide();
        };
        QTest::keyClicks(form.input(), "1");
        form.input()->selectAll();
        open(form.input());
        QVERIFY(form.action("Cofnij1")->isEnabled());
        QVERIFY(form.action("Kopiuj1")->isEnabled());
        QVERIFY(form.action("Wklej1")->isEnabled());
        QVERIFY(form.action("Usu1")->isEnabled());
        QVERIFY(!form.action("Wytnij1")->isEnabled());
        form.action("Wklej1")->trigger();
        QCOMPARE(form.input()->text(), QStringLiteral("3/4"));
        QCOMPARE(form.result()->text(), QStringLiteral("19.05000"));

        form.input()->selectAll();
        form.result()->selectAll();
        open(form.result());
        QVERIFY(!form.action("Cofnij1")->isEnabled());
        QVERIFY(form.action("Kopiuj1")->isEnabled()); // by the input's selection
        QVERIFY(!form.action("Wklej1")->isEnabled());
        QVERIFY(!form.action("Usu1")->isEnabled());
        QVERIFY(form.action("Zaznaczwszystko1")->isEnabled());
        form.action("Kopiuj1")->trigger();
        QCOMPARE(scripted->clipboard, QStringLiteral("19.05000"));

        form.input()->deselect();
        open(form.result());
        QVERIFY(!form.action("Kopiuj1")->isEnabled());
    }

    void clickSelectsAndCloseFrees() {
        Form form;
        form.input()->setText(QStringLiteral("12"));
        QTest::mouseClick(form.result(), Qt::LeftButton);
        QCOMPARE(form.result()->selectedText(), QStringLiteral("304.80000"));
        form->findChild<QPushButton*>(QStringLiteral("ZamknijButton"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form.window);
    }
};

QTEST_MAIN(TestConverterForm)
#include "test_converterform.moc"
