#include "common/core/inifile.h"
#include "scriptedinteraction.h"
#include "textfit.h"
#include "tools/ui/tgettextdialog.h"
#include "usertyping.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::keyTarget;

namespace {

QStringList items(const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

void writeSettings(const QString& path, const QStringList& lists, int itemIndex) {
    IniFile ini(path);
    ini.writeString(QStringLiteral("Format"), QStringLiteral("FontName"), QStringLiteral("Courier New"));
    ini.writeInteger(QStringLiteral("Dots"), QStringLiteral("Dots_Combo_Items"), int(lists.size()) - 1);
    for (int i = 0; i < lists.size(); ++i)
        ini.writeString(QStringLiteral("Dots"), QStringLiteral("Dots_Combo_%1").arg(i), lists[i]);
    ini.writeInteger(QStringLiteral("Dots"), QStringLiteral("Dots_Combo_ItemIndex"), itemIndex);
    QVERIFY(ini.save());
}

// Types text character by character, as the keyboard would (also characters QTest has no key for).
void type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

IniFile readSettings(const QString& path) {
    IniFile ini(path);
    ini.load();
    return ini;
}

} // namespace

class TestGetTextDialog : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("Ordalvex.INI")); }

private Q_SLOTS:
    void init() { QFile::remove(settingsPath()); }

    void controlsAsDesigned() {
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        QCOMPARE(dialog.metaObject()->className(), "ordalvex::TGetTextDialog");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wstaw kropki"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Wpisz adresy , po których należy wstawić kropki :"));
        auto* box = dialog.findChild<QComboBox*>("ComboBox");
        QVERIFY(box && box->isEditable());
        QCOMPARE(box->toolTip(), QStringLiteral("A--Z, ="));
        auto* ok = dialog.findChild<QPushButton*>("OkButton");
        auto* cancel = dialog.findChild<QPushButton*>("CancelButton");
        QCOMPARE(ok->text(), QStringLiteral("&Gotowe"));
        QVERIFY(ok->isDefault());
        QCOMPARE(cancel->text(), QStringLiteral("&Anuluj"));
    }

    // Rendered with the fonts of this system, every text shows whole and uncovered.
    void textsShowWhole() {
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList faults = testing::textsCutOrCovered(&dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void remembersListsFromSettings_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("storedIndex");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("selected");
        QTest::newRow("no settings file")
            << QStringList() << -2 << QStringList{"A B C R X Y Z"} << "A B C R X Y Z";
        QTest::newRow("sorted with last selected")
            << QStringList{"X Y", "A Z", "R ="} << 2 << QStringList{"A Z", "R =", "X Y"} << "X Y";
        QTest::newRow("no selection") << QStringList{"X", "Z"} << -1 << QStringList{"X", "Z"} << "";
        QTest::newRow("index out of range") << QStringList{"X"} << 7 << QStringList{"X"} << "";
    }
    void remembersListsFromSettings() {
        QFETCH(QStringList, stored);
        QFETCH(int, storedIndex);
        QFETCH(QStringList, shown);
        QFETCH(QString, selected);
        if (storedIndex != -2)
            writeSettings(settingsPath(), stored, storedIndex);
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        QCOMPARE(items(dialog.comboBox()), shown);
        QCOMPARE(dialog.comboBox()->currentText(), selected);
    }

    void damagedCountIsBounded() {
        IniFile ini(settingsPath());
        ini.writeInteger("Dots", "Dots_Combo_Items", 2000000000);
        QVERIFY(ini.save());
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        QVERIFY(dialog.comboBox()->count() <= 1000);
    }

    void keyFilterLetsAddressCharactersThrough_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters upper-cased") << "x y"
                                             << "X Y";
        QTest::newRow("digits and signs dropped") << "r1,=;2"
                                                  << "R=";
        QTest::newRow("polish letter dropped") << "ąx"
                                               << "X";
    }
    void keyFilterLetsAddressCharactersThrough() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        QLineEdit* edit = dialog.comboBox()->lineEdit();
        edit->clear();
        type(edit, typed);
        QCOMPARE(edit->text(), shown);
    }

    // Keys go where the keyboard sends them: to the focused combo box (and to the list of
    // remembered lists once it has come up while typing), not straight into its line edit.
    void typedKeysIntoFocusedComboPassTheFilter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits, semicolons and points first") << "1;.x 2y"
                                                             << "X Y";
        QTest::newRow("after a letter") << "a1.;b"
                                        << "AB";
        QTest::newRow("only refused keys") << "12.;3"
                                           << "";
        QTest::newRow("equals sign kept") << "r=5.0;z"
                                          << "R=Z";
    }
    void typedKeysIntoFocusedComboPassTheFilter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        writeSettings(settingsPath(), {"A B C R X Y Z"}, 0);
        testing::ScopedInteraction seam;
        {
            TGetTextDialog dialog(settingsPath());
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            dialog.comboBox()->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            bool listCameUp = false;
            for (const QChar ch : typed) {
                QTest::keyClick(keyTarget(), ch.toLatin1());
                listCameUp = listCameUp || QApplication::activePopupWidget();
            }
            QCOMPARE(dialog.comboBox()->currentText(), shown);
            QCOMPARE(listCameUp, !shown.isEmpty());
            QTest::mouseClick(dialog.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
            QVERIFY(dialog.okPressed());
        }
        IniFile ini = readSettings(settingsPath());
        const int highest = ini.readInteger("Dots", "Dots_Combo_Items", -5);
        QVERIFY(highest >= 0);
        for (int i = 0; i <= highest; ++i) {
            const QString stored = ini.readString("Dots", QStringLiteral("Dots_Combo_%1").arg(i));
            for (const QChar ch : stored)
                QVERIFY2(!ch.isDigit() && ch != u';' && ch != u'.', qPrintable(stored));
        }
        if (!shown.isEmpty())
            QCOMPARE(ini.readString("Dots", QStringLiteral("Dots_Combo_%1")
                                                .arg(ini.readInteger("Dots", "Dots_Combo_ItemIndex", -5))),
                     shown);
    }

    // Esc on an open list closes the list; the dialog stays until the next Esc.
    void escapeClosesOpenListFirst_data() {
        QTest::addColumn<bool>("byTyping");
        QTest::newRow("drop-down list opened with Alt+Down") << false;
        QTest::newRow("list that came up while typing") << true;
    }
    void escapeClosesOpenListFirst() {
        QFETCH(bool, byTyping);
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.comboBox()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(QApplication::focusWidget());
        if (byTyping)
            QTest::keyClick(keyTarget(), Qt::Key_A);
        else
            QTest::keyClick(keyTarget(), Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());

        QTest::keyClick(keyTarget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        QTest::keyClick(keyTarget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.okPressed());
    }

    void okGivesAddressSetAndRemembersTypedList_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("addresses");
        QTest::addColumn<QStringList>("remembered");
        QTest::addColumn<int>("itemIndex");
        QTest::newRow("new list") << "z x" << QByteArray("ZX") << QStringList{"A B C R X Y Z", "Z X"} << 1;
        QTest::newRow("list sorted first")
            << "= R" << QByteArray("=R") << QStringList{"= R", "A B C R X Y Z"} << 0;
        QTest::newRow("existing list")
            << "A B C R X Y Z" << QByteArray("ABCRXYZ") << QStringList{"A B C R X Y Z"} << 0;
        QTest::newRow("empty list not remembered")
            << "" << QByteArray() << QStringList{"A B C R X Y Z"} << -1;
    }
    void okGivesAddressSetAndRemembersTypedList() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, addresses);
        QFETCH(QStringList, remembered);
        QFETCH(int, itemIndex);
        writeSettings(settingsPath(), {"A B C R X Y Z"}, 0);
        testing::ScopedInteraction seam;
        {
            TGetTextDialog dialog(settingsPath());
            QLineEdit* edit = dialog.comboBox()->lineEdit();
            edit->clear();
            type(edit, typed);
            dialog.OkButtonClick();
            QVERIFY(dialog.okPressed());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(QByteArray::fromStdString(dialog.addressSet()), addresses);
        }
        IniFile ini = readSettings(settingsPath());
        QCOMPARE(ini.readInteger("Dots", "Dots_Combo_Items", -5), int(remembered.size()) - 1);
        QCOMPARE(ini.readInteger("Dots", "Dots_Combo_ItemIndex", -5), itemIndex);
        for (int i = 0; i < remembered.size(); ++i)
            QCOMPARE(ini.readString("Dots", QStringLiteral("Dots_Combo_%1").arg(i)), remembered[i]);
        QCOMPARE(ini.readString("Format", "FontName"), QStringLiteral("Courier New"));
        // The lists come back as they were left.
        TGetTextDialog again(settingsPath());
        QCOMPARE(items(again.comboBox()), remembered);
        if (itemIndex >= 0)
            QCOMPARE(again.comboBox()->currentText(), typed.toUpper());
    }

    void cancelGivesNothingButSavesLists_data() {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("cancel button") << false;
        QTest::newRow("close box") << true;
    }
    void cancelGivesNothingButSavesLists() {
        QFETCH(bool, byCloseBox);
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(settingsPath());
        dialog.comboBox()->setCurrentIndex(-1);
        dialog.comboBox()->lineEdit()->clear();
        type(dialog.comboBox()->lineEdit(), "X");
        dialog.ComboBoxCloseUp();
        if (byCloseBox) {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.close();
        } else {
            dialog.CancelButtonClick();
        }
        QVERIFY(!dialog.okPressed());
        QVERIFY(dialog.addressSet().empty());
        IniFile ini = readSettings(settingsPath());
        QCOMPARE(ini.readInteger("Dots", "Dots_Combo_Items", -5), 1);
        QCOMPARE(ini.readString("Dots", "Dots_Combo_0"), QStringLiteral("A B C R X Y Z"));
        QCOMPARE(ini.readString("Dots", "Dots_Combo_1"), QStringLiteral("X"));
        QCOMPARE(ini.readInteger("Dots", "Dots_Combo_ItemIndex", -5), 1);
    }

    void unwritableSettingsAreIgnored() {
        testing::ScopedInteraction seam;
        TGetTextDialog dialog(m_dir.filePath(QStringLiteral("missing/folder/Ordalvex.INI")));
        dialog.OkButtonClick();
        QVERIFY(dialog.okPressed());
        QCOMPARE(QByteArray::fromStdString(dialog.addressSet()), QByteArray("ABCRXYZ"));
        QVERIFY(seam->messages.isEmpty());
    }
};

QTEST_MAIN(TestGetTextDialog)
#include "test_gettextdialog.moc"
