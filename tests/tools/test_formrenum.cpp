#include "document/ui/trichedit98.h"
#include "scriptedinteraction.h"
#include "testdata.h"
#include "textfit.h"
#include "tools/ui/tformrenum.h"

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::readFile;
using ordalvex::testing::writeFile;

namespace {

const QByteArray kProgram = "%\r\nO1000\r\nN1 G0 X0\r\nN2 G1 X5\r\nN3 M30\r\n";

} // namespace

class TestFormRenum : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString renumPath() const { return m_dir->filePath(QStringLiteral("Renum.tmp")); }

    std::unique_ptr<TFormRenum> makeForm(const QByteArray& text) {
        if (!writeFile(renumPath(), text))
            return nullptr;
        auto form = std::make_unique<TFormRenum>(renumPath(), m_dir->path());
        waitForPreview(*form);
        return form;
    }
    // The preview is coloured on a worker; the dialog takes no Start until it shows.
    static void waitForPreview(TFormRenum& form) {
        QDeadlineTimer deadline(30000);
        while (form.previewLoading() && !deadline.hasExpired())
            QTest::qWait(2);
    }
    static TRichEdit98* preview(TFormRenum& form) { return form.findChild<TRichEdit98*>("RichEditRenum"); }
    template <typename T> static T* control(TFormRenum& form, const char* name) {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Rendered with the fonts of this system, every text shows whole and uncovered.
    void textsShowWhole() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QStringList faults = testing::textsCutOrCovered(form.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void controlsAsDesigned() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        QCOMPARE(form->metaObject()->className(), "ordalvex::TFormRenum");
        QCOMPARE(form->minimumSize(), form->maximumSize());
        struct Expect {
            const char* name;
            QString text;
            QString hint;
        };
        const Expect expected[] = {
            {"RadioButtonAll", "Przenumeruj wszystko", ""},
            {"RadioButtonStep", "Przenumeruj zaznaczone", ""},
            {"EditMin", "0", "Zacznij numerowanie od aktualnej lini nr.  (0 - 9000)"},
            {"EditFirst", "10", "Numer pierwszej lini. (0 - 5000)"},
            {"EditStep", "10", "Krok. (1 - 100)"},
            {"CheckBoxZero", "Dopisuj nie znaczące zera", "Czterocyfrowe numery lini. "},
            {"ButtonStart", "&Start", ""},
            {"ButtonOK", "&Ok", ""},
            {"ButtonAnuluj", "&Anuluj", ""},
        };
        for (const Expect& e : expected) {
            QWidget* w = control<QWidget>(*form, e.name);
            const QVariant text = w->property("text");
            QCOMPARE(text.toString(), e.text);
            QCOMPARE(w->toolTip(), e.hint);
        }
        QCOMPARE(control<QLabel>(*form, "Label1")->text(), QStringLiteral("Zacznij od : N"));
        QCOMPARE(control<QLabel>(*form, "Label3")->text(), QStringLiteral("Numeruj od :"));
        QCOMPARE(control<QLabel>(*form, "Label2")->text(), QStringLiteral("Numeruj co :"));
        for (const auto& [name, limit] : {std::pair{"EditMin", 4}, {"EditFirst", 4}, {"EditStep", 3}}) {
            auto* field = control<QLineEdit>(*form, name);
            field->clear();
            QTest::keyClicks(field, "12345");
            QCOMPARE(field->text(), QStringLiteral("12345").left(limit));
        }
        QVERIFY(control<QRadioButton>(*form, "RadioButtonAll")->isChecked());
        QVERIFY(!control<QRadioButton>(*form, "RadioButtonStep")->isChecked());
        QVERIFY(!control<QCheckBox>(*form, "CheckBoxZero")->isChecked());
        QVERIFY(control<QPushButton>(*form, "ButtonStart")->isDefault());
        QVERIFY(!control<QPushButton>(*form, "ButtonOK")->isEnabled());
        TRichEdit98* edit = preview(*form);
        QCOMPARE(edit->geometry(), QRect(0, 0, 377, 470));
        QVERIFY(edit->isReadOnly());
        auto* menu = control<QMenu>(*form, "PopupMenu");
        QCOMPARE(menu->actions().size(), 3);
        QCOMPARE(menu->actions()[0]->objectName(), QStringLiteral("SelectAll"));
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Zaznacz wszystko"));
        QVERIFY(menu->actions()[1]->isSeparator());
        QCOMPARE(menu->actions()[2]->text(), QStringLiteral("Zaznacz do końca"));
        QVERIFY(!menu->actions()[2]->isEnabled());

        // Tab order: the fields, then the buttons, the preview last.
        const char* order[] = {"RadioButtonAll", "RadioButtonStep", "EditMin",  "EditFirst",   "EditStep",
                               "CheckBoxZero",   "ButtonStart",     "ButtonOK", "ButtonAnuluj"};
        auto nextFocusable = [](QWidget* w) {
            do
                w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus);
            return w;
        };
        for (std::size_t i = 0; i + 1 < std::size(order); ++i)
            QCOMPARE(nextFocusable(control<QWidget>(*form, order[i])), control<QWidget>(*form, order[i + 1]));
        QCOMPARE(nextFocusable(control<QWidget>(*form, "ButtonAnuluj")), static_cast<QWidget*>(edit));
        QVERIFY(seam->messages.isEmpty());
    }

    void previewShowsTheProgramInCapitals() {
        testing::ScopedInteraction seam;
        auto form = makeForm("%\r\nn1 g0 x1 (abc)\r\n\tN2,Y2\r\n");
        QCOMPARE(preview(*form)->text(), QStringLiteral("%\r\nN1 G0 X1 (ABC)\r\n\tN2,Y2\r\n"));
        const TextFormat n1 = preview(*form)->formatAt(3); // inside N1
        QVERIFY(n1.bold);
        QCOMPARE(n1.rgb, 0x000080u);
        // The preview's own font, whatever the editor's.
        QCOMPARE(preview(*form)->editorFont().family(), QStringLiteral("Courier New"));
        QCOMPARE(preview(*form)->editorFont().pointSizeF(), 11.5);
    }

    void startRenumbersWholeText_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("min");
        QTest::addColumn<bool>("zeros");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("defaults") << "10"
                                  << "10"
                                  << "0" << false << kProgram
                                  << QByteArray("%\r\nO1000\r\nN10 G0 X0\r\nN20 G1 X5\r\nN30 M30\r\n");
        QTest::newRow("zeros first 5 step 1")
            << "5"
            << "1"
            << "0" << true << kProgram
            << QByteArray("%\r\nO1000\r\nN0005 G0 X0\r\nN0006 G1 X5\r\nN0007 M30\r\n");
        QTest::newRow("minimum") << "10"
                                 << "10"
                                 << "100" << false << QByteArray("N50\r\nN90\r\nN100\r\nN110")
                                 << QByteArray("N50\r\nN90\r\nN10\r\nN20");
        QTest::newRow("lf-only input")
            << "10"
            << "10"
            << "0" << false << QByteArray("n1 x1\nn2 x2\n") << QByteArray("N10 X1\r\nN20 X2\r\n");
    }
    void startRenumbersWholeText() {
        QFETCH(QString, first);
        QFETCH(QString, step);
        QFETCH(QString, min);
        QFETCH(bool, zeros);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        testing::ScopedInteraction seam;
        auto form = makeForm(input);
        control<QLineEdit>(*form, "EditFirst")->setText(first);
        form->EditFirstExit();
        control<QLineEdit>(*form, "EditStep")->setText(step);
        form->EditStepExit();
        control<QLineEdit>(*form, "EditMin")->setText(min);
        form->EditMinExit();
        control<QCheckBox>(*form, "CheckBoxZero")->setChecked(zeros);
        form->ButtonStartClick();
        waitForPreview(*form);
        QCOMPARE(preview(*form)->text().toLatin1(), expected);
        QVERIFY(control<QPushButton>(*form, "ButtonOK")->isEnabled());
        QVERIFY(!QFile::exists(m_dir->filePath("Numer.tmp"))); // no file on the way to the preview
        // A second press starts again from the first number.
        form->ButtonStartClick();
        waitForPreview(*form);
        QCOMPARE(preview(*form)->text().toLatin1(), expected);

        form->ButtonOKClick();
        QVERIFY(form->confirmed());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(readFile(renumPath()), expected);
        QVERIFY(seam->messages.isEmpty());
        QCOMPARE(seam->beeps, 0);
    }

    void rangeRenumbersWholeSelectedLines() {
        testing::ScopedInteraction seam;
        const QByteArray text = "N1 X1\r\nN2 X2\r\nN3 X3\r\nN4 X4\r\n";
        auto form = makeForm(text);
        TRichEdit98* edit = preview(*form);
        edit->setSelection(9, 7); // from inside line 2 to inside line 3
        QVERIFY(control<QRadioButton>(*form, "RadioButtonStep")->isChecked());
        QVERIFY(control<QMenu>(*form, "PopupMenu")->actions()[2]->isEnabled());
        form->RichEditRenumExit();
        QCOMPARE(form->rangeStart(), qsizetype(7));
        QCOMPARE(form->rangeLength(), qsizetype(12));
        QCOMPARE(edit->selectedText(), QStringLiteral("N2 X2\r\nN3 X3"));
        QVERIFY(control<QRadioButton>(*form, "RadioButtonStep")->isChecked());

        form->ButtonStartClick();

        waitForPreview(*form);
        QCOMPARE(edit->text(), QStringLiteral("N1 X1\r\nN10 X2\r\nN20 X3\r\nN4 X4\r\n"));
        QCOMPARE(edit->selectedText(), QStringLiteral("N10 X2\r\nN20 X3"));
        QCOMPARE(form->rangeLength(), qsizetype(14));
        QVERIFY(control<QRadioButton>(*form, "RadioButtonStep")->isChecked());

        // Pressing again renumbers the same (now longer) lines.
        form->ButtonStartClick();
        waitForPreview(*form);
        QCOMPARE(edit->selectedText(), QStringLiteral("N10 X2\r\nN20 X3"));
    }

    void wholeTextSelectedCountsAsAll() {
        testing::ScopedInteraction seam;
        auto form = makeForm("N1\r\nN2\r\n");
        TRichEdit98* edit = preview(*form);
        form->SelectAllClick();
        QVERIFY(control<QRadioButton>(*form, "RadioButtonStep")->isChecked());
        form->RichEditRenumExit();
        QVERIFY(control<QRadioButton>(*form, "RadioButtonAll")->isChecked());
        form->ButtonStartClick();
        waitForPreview(*form);
        QCOMPARE(edit->text(), QStringLiteral("N10\r\nN20\r\n"));
        QCOMPARE(edit->selLength(), qsizetype(0));
    }

    void selectionToEndAndRadioAll() {
        testing::ScopedInteraction seam;
        auto form = makeForm("N1\r\nN2\r\nN3");
        TRichEdit98* edit = preview(*form);
        edit->setSelection(4, 1);
        form->SelToEndClick();
        QCOMPARE(edit->selStart(), qsizetype(4));
        QCOMPARE(edit->selectedText(), QStringLiteral("N2\r\nN3"));
        control<QRadioButton>(*form, "RadioButtonAll")->click();
        QCOMPARE(edit->selLength(), qsizetype(0));
        QVERIFY(control<QRadioButton>(*form, "RadioButtonAll")->isChecked());
        QVERIFY(!control<QMenu>(*form, "PopupMenu")->actions()[2]->isEnabled());
    }

    void emptyDocumentDoesNothing() {
        testing::ScopedInteraction seam;
        auto form = makeForm(QByteArray());
        QVERIFY(!form->loadFailed());
        form->ButtonStartClick();
        waitForPreview(*form);
        QCOMPARE(preview(*form)->text(), QString());
        QVERIFY(!control<QPushButton>(*form, "ButtonOK")->isEnabled());
        QVERIFY(!QFile::exists(m_dir->filePath("Numer.tmp")));
    }

    void numberFieldsResetWithBeep_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("beeps");
        QTest::newRow("step empty") << "EditStep"
                                    << ""
                                    << "10" << 10 << 0;
        QTest::newRow("step 0") << "EditStep"
                                << "0"
                                << "10" << 10 << 1;
        QTest::newRow("step 200") << "EditStep"
                                  << "200"
                                  << "10" << 10 << 1;
        QTest::newRow("step 100") << "EditStep"
                                  << "100"
                                  << "100" << 100 << 0;
        QTest::newRow("step 1") << "EditStep"
                                << "1"
                                << "1" << 1 << 0;
        QTest::newRow("min empty") << "EditMin"
                                   << ""
                                   << "0" << 0 << 0;
        QTest::newRow("min 9001") << "EditMin"
                                  << "9001"
                                  << "0" << 0 << 1;
        QTest::newRow("min 9000") << "EditMin"
                                  << "9000"
                                  << "9000" << 9000 << 0;
        QTest::newRow("first empty") << "EditFirst"
                                     << ""
                                     << "10" << 10 << 0;
        QTest::newRow("first 5001") << "EditFirst"
                                    << "5001"
                                    << "10" << 10 << 1;
        QTest::newRow("first 0") << "EditFirst"
                                 << "0"
                                 << "0" << 0 << 0;
        QTest::newRow("first 5000") << "EditFirst"
                                    << "5000"
                                    << "5000" << 5000 << 0;
    }
    void numberFieldsResetWithBeep() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(int, beeps);
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        auto* edit = control<QLineEdit>(*form, field.toLatin1().constData());
        edit->clear();
        QTest::keyClicks(edit, typed);
        if (field == "EditStep") {
            form->EditStepExit();
            QCOMPARE(form->step(), value);
        } else if (field == "EditMin") {
            form->EditMinExit();
            QCOMPARE(form->minNumber(), value);
        } else {
            form->EditFirstExit();
            QCOMPARE(form->firstNumber(), value);
        }
        QCOMPARE(edit->text(), shown);
        QCOMPARE(seam->beeps, beeps);
    }

    void leavingAFieldTakesItsNumber() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* edit = control<QLineEdit>(*form, "EditStep");
        edit->setFocus();
        edit->setText("5");
        control<QLineEdit>(*form, "EditMin")->setFocus();
        QCOMPARE(form->step(), 5);
        form->close();
    }

    void enterInAFieldTakesItsNumberFirst() {
        testing::ScopedInteraction seam;
        auto form = makeForm("N1\r\nN2\r\n");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* edit = control<QLineEdit>(*form, "EditStep");
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->clear();
        QTest::keyClicks(edit, "5");
        QTest::keyClick(edit, Qt::Key_Return);
        waitForPreview(*form);
        QCOMPARE(preview(*form)->text(), QStringLiteral("N10\r\nN15\r\n"));
        form->close();
    }

    void startWarnsOfJumpsItLeftAndOkHandsBackThePreview() {
        testing::ScopedInteraction seam;
        auto form = makeForm("N10 G0 X0\r\nN20 #1=#1+1\r\nN30 IF[#1LT5]GOTO20\r\nN40 M99 P20\r\n"
                             "N50 GOTOF N20\r\nN60 M30\r\n");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* first = control<QLineEdit>(*form, "EditFirst");
        QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(first));
        QTRY_COMPARE(first->selectedText(), QStringLiteral("10"));
        QTest::keyClicks(QApplication::focusWidget(), "100");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        waitForPreview(*form);

        const QString renumbered = QStringLiteral("N100 G0 X0\r\nN110 #1=#1+1\r\nN120 IF[#1LT5]GOTO110\r\n"
                                                  "N130 M99 P20\r\nN140 GOTOF N110\r\nN150 M30\r\n");
        QCOMPARE(preview(*form)->text(), renumbered);
        QCOMPARE(seam->messages.size(), 1);
        QCOMPARE(seam->messages[0].icon, QMessageBox::Warning);
        QCOMPARE(seam->messages[0].caption, QStringLiteral("Przenumeruj"));
        QVERIFY2(seam->messages[0].text.startsWith(QStringLiteral("Skok w linii 4 pozostawiono bez zmian")),
                 qPrintable(seam->messages[0].text));

        QTest::mouseClick(control<QPushButton>(*form, "ButtonOK"), Qt::LeftButton);
        QVERIFY(form->confirmed());
        QCOMPARE(QString::fromLatin1(readFile(renumPath())), renumbered);
        QCOMPARE(seam->messages.size(), 1);
    }

    void selectedLinesMoveJumpsOutsideThemWithoutWarning() {
        testing::ScopedInteraction seam;
        auto form = makeForm("N1 X1\r\nN2 GOTO3\r\nN3 X3\r\nN4 GOTOF N3\r\n");
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        TRichEdit98* edit = preview(*form);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(control<QRadioButton>(*form, "RadioButtonStep")->isChecked());
        QTest::mouseClick(control<QPushButton>(*form, "ButtonStart"), Qt::LeftButton);
        waitForPreview(*form);

        QCOMPARE(edit->text(), QStringLiteral("N1 X1\r\nN2 GOTO10\r\nN10 X3\r\nN4 GOTOF N10\r\n"));
        QCOMPARE(edit->selectedText(), QStringLiteral("N10 X3"));
        QVERIFY(seam->messages.isEmpty());
        form->close();
    }

    void keyFilterTakesDigitsOnly() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        auto* edit = control<QLineEdit>(*form, "EditFirst");
        edit->clear();
        QTest::keyClicks(edit, "a1-2 .3x");
        QCOMPARE(edit->text(), QStringLiteral("123"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        // A click selects the whole field, ready to be typed over.
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, 5));
        QTRY_COMPARE(edit->selectedText(), QStringLiteral("12"));
    }

    void pastedTextThatIsNoNumberIsRefused() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        auto* edit = control<QLineEdit>(*form, "EditStep");
        edit->setText("5");
        form->EditStepExit();
        edit->setText("1a");
        form->EditStepExit();
        QCOMPARE(form->step(), 5);
        QCOMPARE(edit->text(), QStringLiteral("5"));
        QCOMPARE(seam->messages.size(), 1);
        QCOMPARE(seam->messages[0].caption, QStringLiteral("Błąd"));
    }

    void cancelAfterStartLeavesFileUnchanged_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("anuluj") << 0;
        QTest::newRow("escape") << 1;
    }
    void cancelAfterStartLeavesFileUnchanged() {
        QFETCH(int, how);
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        form->ButtonStartClick();
        waitForPreview(*form);
        if (how == 0) {
            form->ButtonAnulujClick();
        } else {
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QTest::keyClick(form.get(), Qt::Key_Escape);
        }
        QVERIFY(!form->confirmed());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(readFile(renumPath()), kProgram);
    }

    void unreadableInputFailsAtOnce() {
        testing::ScopedInteraction seam;
        TFormRenum form(m_dir->filePath("missing.tmp"), m_dir->path());
        QVERIFY(form.loadFailed());
        QVERIFY(!form.Execute());
        QVERIFY(!form.isVisible());
        QCOMPARE(seam->messages.size(), 1);
        QCOMPARE(seam->messages[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(seam->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(seam->messages[0].text,
                 QStringLiteral(
                     "Błąd przy wczytywaniu pliku !\rSprawdź czy masz uprawnienia do czytania z pliku."));
    }

    void failedOkSaveKeepsDialogOpen() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        QTest::mouseClick(control<QPushButton>(*form, "ButtonStart"), Qt::LeftButton);
        waitForPreview(*form);
        QVERIFY(QFile::remove(renumPath()));
        QVERIFY(QDir(m_dir->path()).mkdir("Renum.tmp")); // a folder cannot be written as a file
        QTest::mouseClick(control<QPushButton>(*form, "ButtonOK"), Qt::LeftButton);
        QVERIFY(!form->confirmed());
        QCOMPARE(form->result(), 0);
        // The message tells of the file that could not be written, not of one that could not be read.
        QCOMPARE(seam->messages.size(), 1);
        QCOMPARE(seam->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(seam->messages[0].text,
                 QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(renumPath())));
    }

    void contextMenuOpensOnlyAfterRightPress() {
        testing::ScopedInteraction seam;
        auto form = makeForm(kProgram);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        TRichEdit98* edit = preview(*form);
        auto* menu = control<QMenu>(*form, "PopupMenu");
        Q_EMIT edit->customContextMenuRequested(QPoint(10, 10)); // the keyboard's menu key
        QVERIFY(!menu->isVisible());
        QTest::mousePress(edit->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(edit->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        Q_EMIT edit->customContextMenuRequested(QPoint(10, 10)); // what the platform sends next
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        Q_EMIT edit->customContextMenuRequested(QPoint(10, 10));
        QVERIFY(!menu->isVisible());
        form->close();
    }
};

QTEST_MAIN(TestFormRenum)
#include "test_formrenum.moc"
