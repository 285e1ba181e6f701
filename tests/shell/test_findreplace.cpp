#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "scriptedinteraction.h"
#include "shell/ui/finddialogs.h"
#include "shell/ui/findreplace.h"

#include <memory>

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

// A document window with `text` in its editor and the main window's find and replace over it.
struct Fixture {
    std::unique_ptr<QWidget> mainWindow = std::make_unique<QWidget>();
    TEditForm* document = new TEditForm(mainWindow.get());
    FindReplace findReplace{mainWindow.get(), [this] { return document; }};

    explicit Fixture(const QString& text) { editor()->setProgramText(text); }
    TRichEdit98* editor() const { return document->editor(); }
};

TextFormat formatAt(TRichEdit98* editor, qsizetype position) {
    return editor->formatAt(position);
}

const QString kFiveG00 =
    QStringLiteral("%\r\nN10 G00 X10\r\nN20 G00 Y5\r\nN30 G00 Z1\r\nN40 G01 X0 G00\r\nN50 G00 M30\r\n");

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notFoundMessageText() {
        QCOMPARE(notFoundMessage(QStringLiteral("G01")), QStringLiteral("Nie moge znaleźć \"G01\"."));
        QCOMPARE(notFoundMessage(QString()), QStringLiteral("Nie moge znaleźć \"\"."));
    }

    // Find-next requests of the find dialog: where the match is selected, or -1 for the
    // not-found message with the selection left where it was.
    void findNext_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("expected");
        const QString prog = QStringLiteral("N10 G00 X12\r\nN20 G01 X10 XAB\r\nN30 G01 X1");
        QTest::newRow("case ignored") << prog << "x12" << false << true << 0 << 8;
        QTest::newRow("? matches any character") << prog << "G0?" << false << true << 0 << 4;
        QTest::newRow("? after the caret") << prog << "G0?" << false << true << 7 << 17;
        QTest::newRow("$ matches digits") << prog << "X$$" << false << true << 12 << 21;
        QTest::newRow("$ refuses letters") << QStringLiteral("XAB") << "X$$" << false << true << 0 << -1;
        QTest::newRow("part of a word") << prog << "X1" << false << true << 12 << 21;
        QTest::newRow("whole word skips X10") << prog << "X1" << true << true << 12 << 38;
        QTest::newRow("up from the end") << prog << "G01" << false << false << 40 << 34;
        QTest::newRow("up finds the earlier one") << prog << "G01" << false << false << 34 << 17;
        QTest::newRow("no wrap down") << prog << "N10" << false << true << 3 << -1;
        QTest::newRow("no wrap up") << prog << "N30" << false << false << 30 << -1;
        QTest::newRow("empty text") << QString() << "G01" << false << true << 0 << -1;
    }
    void findNext() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, wholeWord);
        QFETCH(bool, down);
        QFETCH(int, caret);
        QFETCH(int, expected);
        ScopedInteraction ui;
        Fixture f(text);
        f.editor()->setSelStart(caret);
        FindDialog* dialog = f.findReplace.findDialog();
        dialog->setFindText(pattern);
        dialog->setWholeWord(wholeWord);
        dialog->setDown(down);
        f.findReplace.ReplaceDialogFind(dialog);
        if (expected < 0) {
            QCOMPARE(ui->messages.size(), 1);
            QCOMPARE(ui->messages[0].icon, QMessageBox::NoIcon);
            QCOMPARE(ui->messages[0].caption, QStringLiteral("Ordalvex"));
            QCOMPARE(ui->messages[0].text, notFoundMessage(pattern));
            QCOMPARE(ui->messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(f.editor()->selStart(), qsizetype(std::min<qsizetype>(caret, text.size())));
            QCOMPARE(f.editor()->selLength(), qsizetype(0));
        } else {
            QVERIFY(ui->messages.isEmpty());
            QCOMPARE(f.editor()->selStart(), qsizetype(expected));
            QCOMPARE(f.editor()->selLength(), pattern.size());
        }
    }

    void dialogsStartDownWithoutMatchCase() {
        Fixture f{QString()};
        QVERIFY(f.findReplace.findDialog()->down());
        QCOMPARE(f.findReplace.findDialog()->options(), unsigned(1));
        QCOMPARE(f.findReplace.replaceDialog()->options(), unsigned(1));
        f.findReplace.replaceDialog()->setWholeWord(true);
        QCOMPARE(f.findReplace.replaceDialog()->options(), unsigned(3));
        QVERIFY(!f.findReplace.findDialog()->findChild<QWidget*>(QStringLiteral("MatchCase")));
    }

    void findCommandTakesTheSelectionAndEnablesFindNext() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("N90 G00\r\nN100 G01"));
        f.findReplace.findDialog()->setFindText(QStringLiteral("OLD"));
        QSignalSpy enabled(&f.findReplace, &FindReplace::findNextEnabled);
        f.editor()->setSelection(9, 4);
        QVERIFY(f.findReplace.FindSpeedButtonClick());
        QCOMPARE(f.findReplace.findDialog()->findText(), QStringLiteral("N100"));
        QVERIFY(f.findReplace.findDialog()->isVisible());
        QCOMPARE(enabled.size(), 1);
        QCOMPARE(enabled[0][0].toBool(), true);

        // Without a selection the previous text stays.
        f.findReplace.findDialog()->setFindText(QStringLiteral("G00"));
        f.editor()->setSelStart(0);
        QVERIFY(f.findReplace.FindSpeedButtonClick());
        QCOMPARE(f.findReplace.findDialog()->findText(), QStringLiteral("G00"));
    }

    void foundMatchClosesTheFindDialogOnly() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("G00 G01 G00"));
        QVERIFY(f.findReplace.FindSpeedButtonClick());
        f.findReplace.findDialog()->setFindText(QStringLiteral("G01"));
        QTest::mouseClick(
            f.findReplace.findDialog()->findChild<QPushButton*>(QStringLiteral("FindNextButton")),
            Qt::LeftButton);
        QCOMPARE(f.editor()->selStart(), qsizetype(4));
        QVERIFY(!f.findReplace.findDialog()->isVisible());

        // Find next from the replace dialog leaves it open and closes an open find dialog.
        f.findReplace.ReplaceSpeedButtonClick();
        QVERIFY(f.findReplace.FindSpeedButtonClick());
        f.findReplace.replaceDialog()->setFindText(QStringLiteral("G00"));
        QTest::mouseClick(
            f.findReplace.replaceDialog()->findChild<QPushButton*>(QStringLiteral("FindNextButton")),
            Qt::LeftButton);
        QCOMPARE(f.editor()->selStart(), qsizetype(8));
        QVERIFY(f.findReplace.replaceDialog()->isVisible());
        QVERIFY(!f.findReplace.findDialog()->isVisible());
        QVERIFY(ui->messages.isEmpty());
    }

    void findNextCommandRepeatsTheFindDialogsSearch() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("G00 X1\r\nG00 X2\r\n"));
        f.findReplace.findDialog()->setFindText(QStringLiteral("g00"));
        f.findReplace.FindNextSpeedButtonClick();
        QCOMPARE(f.editor()->selStart(), qsizetype(0));
        f.findReplace.FindNextSpeedButtonClick();
        QCOMPARE(f.editor()->selStart(), qsizetype(8));
        f.findReplace.FindNextSpeedButtonClick();
        QCOMPARE(f.editor()->selStart(), qsizetype(8));
        QCOMPARE(ui->messages.size(), 1);

        // A find dialog closed empty searches for nothing and says so.
        f.findReplace.findDialog()->setFindText(QString());
        f.findReplace.FindNextSpeedButtonClick();
        QCOMPARE(ui->messages.size(), 2);
        QCOMPARE(ui->messages[1].text, QStringLiteral("Nie moge znaleźć \"\"."));
    }

    void replaceAllReplacesEveryLaterMatchBold() {
        ScopedInteraction ui;
        Fixture f(kFiveG00);
        // Colour everything so that the replacement's colour can be checked.
        TextFormat redItalic;
        redItalic.rgb = 0xFF0000;
        redItalic.italic = true;
        f.editor()->replaceRange(0, f.editor()->textLength(), kFiveG00, redItalic);
        f.editor()->clearUndo();

        ReplaceDialog* dialog = f.findReplace.replaceDialog();
        dialog->setFindText(QStringLiteral("G00"));
        dialog->setReplaceText(QStringLiteral("G0"));
        dialog->setWholeWord(true);
        f.editor()->setSelStart(0);
        f.findReplace.ReplaceDialogReplace(true);
        QVERIFY(ui->messages.isEmpty());
        QCOMPARE(f.editor()->text(), QString(kFiveG00).replace(QStringLiteral("G00"), QStringLiteral("G0")));
        const TextFormat replaced = formatAt(f.editor(), 7);
        QVERIFY(replaced.bold);
        QVERIFY(!replaced.italic);
        QCOMPARE(replaced.rgb, 0xFF0000u);
        QVERIFY(!formatAt(f.editor(), 3).bold); // N10 untouched
        // Replace all is one undo step, and the undo brings the old formats back.
        f.editor()->undo();
        QCOMPARE(f.editor()->text(), kFiveG00);
        QVERIFY(formatAt(f.editor(), 7).italic);
        QVERIFY(!f.editor()->canUndo());
    }

    void replaceAllStartsAtTheSelection() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("G00 G00 G00 G00"));
        f.findReplace.replaceDialog()->setFindText(QStringLiteral("G00"));
        f.findReplace.replaceDialog()->setReplaceText(QStringLiteral("G00 G00"));
        // The replacement holds the pattern: it must not be found again.
        f.editor()->setSelection(4, 3);
        f.findReplace.ReplaceDialogReplace(true);
        QCOMPARE(f.editor()->text(), QStringLiteral("G00 G00 G00 G00 G00 G00 G00"));
        QVERIFY(ui->messages.isEmpty());
    }

    void singleReplaceSelectsTheNextMatch() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("X1 Y2\r\nX1 Y3"));
        ReplaceDialog* dialog = f.findReplace.replaceDialog();
        dialog->setFindText(QStringLiteral("x1"));
        dialog->setReplaceText(QStringLiteral("X5"));
        f.findReplace.ReplaceDialogReplace(false); // nothing selected: finds the first
        QCOMPARE(f.editor()->text(), QStringLiteral("X1 Y2\r\nX1 Y3"));
        QCOMPARE(f.editor()->selStart(), qsizetype(0));
        f.findReplace.ReplaceDialogReplace(false);
        QCOMPARE(f.editor()->text(), QStringLiteral("X5 Y2\r\nX1 Y3"));
        QCOMPARE(f.editor()->selStart(), qsizetype(7));
        QCOMPARE(f.editor()->selLength(), qsizetype(2));
        QVERIFY(ui->messages.isEmpty());
        f.findReplace.ReplaceDialogReplace(false); // the last match: replaced, then the message
        QCOMPARE(f.editor()->text(), QStringLiteral("X5 Y2\r\nX5 Y3"));
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages[0].text, QStringLiteral("Nie moge znaleźć \"x1\"."));
    }

    // The dialogs are windows of their own: while one has the focus, requests still reach the
    // frame's active document, and the one active at that moment.
    void requestsFollowTheActiveDocumentWhileADialogHasTheFocus() {
        ScopedInteraction ui;
        QMainWindow mainWindow;
        auto* area = new QMdiArea(&mainWindow);
        mainWindow.setCentralWidget(area);
        auto* first = new TEditForm;
        auto* second = new TEditForm;
        area->addSubWindow(first);
        area->addSubWindow(second);
        first->editor()->setProgramText(QStringLiteral("N10 G01"));
        second->editor()->setProgramText(QStringLiteral("N20 X5 G01"));
        mainWindow.show();
        first->show();
        second->show();
        QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
        area->setActiveSubWindow(first);
        FindReplace findReplace(&mainWindow,
                                [area] { return qobject_cast<TEditForm*>(area->activeSubWindow()); });

        findReplace.ReplaceSpeedButtonClick();
        QVERIFY(QTest::qWaitForWindowActive(findReplace.replaceDialog()));
        findReplace.replaceDialog()->setFindText(QStringLiteral("G01"));
        findReplace.ReplaceDialogFind(findReplace.replaceDialog());
        QCOMPARE(first->editor()->selStart(), qsizetype(4));

        area->setActiveSubWindow(second);
        findReplace.replaceDialog()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(findReplace.replaceDialog()));
        findReplace.ReplaceDialogFind(findReplace.replaceDialog());
        QCOMPARE(second->editor()->selStart(), qsizetype(7));
        QVERIFY(ui->messages.isEmpty());
    }

    // A text being loaded is read-only: a replacement would be lost with it, so none is made.
    void replacingInAReadOnlyTextBeeps() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("N10 G00\r\n"));
        f.editor()->setReadOnly(true);
        f.findReplace.replaceDialog()->setFindText(QStringLiteral("G00"));
        f.findReplace.replaceDialog()->setReplaceText(QStringLiteral("G01"));
        f.findReplace.ReplaceDialogReplace(false);
        f.findReplace.ReplaceDialogReplace(true);
        QCOMPARE(f.editor()->text(), QStringLiteral("N10 G00\r\n"));
        QCOMPARE(ui->beeps, 2);
        QVERIFY(ui->messages.isEmpty());
    }

    void requestsWithoutADocumentDoNothing() {
        ScopedInteraction ui;
        Fixture f(QStringLiteral("G00"));
        QSignalSpy enabled(&f.findReplace, &FindReplace::findNextEnabled);
        f.findReplace.findDialog()->setFindText(QStringLiteral("G01"));
        f.findReplace.replaceDialog()->setFindText(QStringLiteral("G00"));
        f.findReplace.ReplaceSpeedButtonClick();
        delete f.document;
        f.document = nullptr;

        QVERIFY(!f.findReplace.FindSpeedButtonClick());
        QVERIFY(!f.findReplace.findDialog()->isVisible());
        QCOMPARE(enabled.size(), 0);
        f.findReplace.FindNextSpeedButtonClick();
        f.findReplace.ReplaceDialogFind(f.findReplace.findDialog());
        f.findReplace.ReplaceDialogFind(f.findReplace.replaceDialog());
        f.findReplace.ReplaceDialogReplace(false);
        f.findReplace.ReplaceDialogReplace(true);
        QVERIFY(ui->messages.isEmpty());
    }

    void emptySearchTextDisablesTheDialogButtons() {
        Fixture f{QString()};
        auto* findNext =
            f.findReplace.findDialog()->findChild<QPushButton*>(QStringLiteral("FindNextButton"));
        auto* replaceAll =
            f.findReplace.replaceDialog()->findChild<QPushButton*>(QStringLiteral("ReplaceAllButton"));
        QVERIFY(!findNext->isEnabled());
        QVERIFY(!replaceAll->isEnabled());
        f.findReplace.findDialog()
            ->findChild<QLineEdit*>(QStringLiteral("FindText"))
            ->setText(QStringLiteral("G"));
        f.findReplace.replaceDialog()->setFindText(QStringLiteral("G"));
        QVERIFY(findNext->isEnabled());
        QVERIFY(replaceAll->isEnabled());
    }

    // Tab walks down the fields and then down the buttons, as the dialogs are laid out.
    void tabOrderFollowsTheLayout_data() {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("find") << false << QStringList{"FindText", "WholeWord",      "Up",
                                                      "Down",     "FindNextButton", "CancelButton"};
        QTest::newRow("replace") << true << QStringList{"FindText",       "ReplaceText",   "WholeWord",
                                                        "FindNextButton", "ReplaceButton", "ReplaceAllButton",
                                                        "CancelButton"};
    }
    void tabOrderFollowsTheLayout() {
        QFETCH(bool, replace);
        QFETCH(QStringList, order);
        Fixture f{QString()};
        QDialog* dialog = replace ? static_cast<QDialog*>(f.findReplace.replaceDialog())
                                  : static_cast<QDialog*>(f.findReplace.findDialog());
        QWidget* widget = dialog->findChild<QWidget*>(order.first());
        QStringList walked{widget->objectName()};
        for (widget = widget->nextInFocusChain(); widget->objectName() != order.first();
             widget = widget->nextInFocusChain())
            if (order.contains(widget->objectName()))
                walked << widget->objectName();
        QCOMPARE(walked, order);
    }
};

QTEST_MAIN(TestFindReplace)
#include "test_findreplace.moc"
