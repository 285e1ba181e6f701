// The editing paths a user takes in a document window of the main window: keys to the widget
// that has the focus, a real drop on the text, the replace dialog with whatever is selected.

#include "common/ui/userinteraction.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "shell/ui/finddialogs.h"
#include "shell/ui/findreplace.h"
#include "shell/ui/tmainform.h"
#include "testdata.h"
#include "tools/ui/tformrenum.h"
#include "usertyping.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace ordalvex;
using namespace ordalvex::testing;

class TestEditingPaths : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsFolder> m_dir;

    QString program(const QString& name, const QByteArray& text) {
        return writeProgram(m_dir->path(), name, text);
    }

    // A shown main window with `text` open in its active document, the caret in the text.
    static TEditForm* openInWindow(TMainForm& form, const QString& path) {
        form.resize(900, 700);
        form.show();
        if (!QTest::qWaitForWindowActive(&form))
            return nullptr;
        form.FormShow();
        form.openDroppedFiles({path});
        if (!waitForEditors())
            return nullptr;
        TEditForm* document = form.activeDocument();
        if (document)
            document->editor()->setFocus();
        return document;
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<SettingsFolder>(); }
    void cleanup() { m_dir.reset(); }

    // Ctrl+V and Shift+Insert paste as the menu's Paste does: bold while highlighting is on.
    // Ctrl+C makes Paste available at once.
    void pasteKeysGoThroughThePasteCommand_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
    }
    void pasteKeysGoThroughThePasteCommand() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        ScopedInteraction ui;
        TMainForm form;
        TEditForm* document = openInWindow(form, program("A.nc", "N10 G01 X5\r\n"));
        QVERIFY(document);
        TRichEdit98* editor = document->editor();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QAction* paste = form.menuItem("Wklej1");
        QVERIFY(paste);
        QVERIFY(!paste->isEnabled()); // nothing on the clipboard yet
        editor->setSelection(0, 3);   // N10
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(ui->clipboard, QStringLiteral("N10"));
        QVERIFY(paste->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
        const qsizetype end = editor->textLength();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(editor->text(), QStringLiteral("N10 G01 X5\r\nN10"));
        QVERIFY(editor->formatAt(end).bold);
        QVERIFY(!editor->formatAt(0).bold);
        QVERIFY(editor->modified());
    }

    // A file dropped on the text of a document opens in a window of its own; the text it
    // landed on stays as it was.
    void fileDroppedOnTheTextOpensIt() {
        ScopedInteraction ui;
        TMainForm form;
        TEditForm* document = openInWindow(form, program("A.nc", "N10 G01\r\n"));
        QVERIFY(document);
        const QString dropped = program("B.nc", "%\r\nO0002 (WALEK)\r\nM30\r\n");
        QWidget* target = document->editor()->viewport();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped)});
        const QPoint at(20, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(waitForEditors());
        QCOMPARE(form.documents().size(), 2);
        QCOMPARE(form.activeDocument()->document().fileName(), dropped);
        QCOMPARE(form.activeDocument()->editor()->text(), QStringLiteral("%\r\nO0002 (WALEK)\r\nM30\r\n"));
        QCOMPARE(document->editor()->text(), QStringLiteral("N10 G01\r\n"));
        QVERIFY(!document->editor()->modified());
    }

    // The replace dialog stays open while the user selects anything: a selection that is no
    // match of the search text is never overwritten; the request only searches.
    void replaceLeavesASelectionThatIsNoMatch() {
        ScopedInteraction ui;
        TMainForm form;
        TEditForm* document = openInWindow(form, program("A.nc", "G1 Z-20. F100\r\nM30\r\n"));
        QVERIFY(document);
        TRichEdit98* editor = document->editor();
        editor->setSelection(0, 4); // "G1 Z"
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
        auto* dialog = form.findChild<ReplaceDialog*>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* findText = dialog->findChild<QLineEdit*>("FindText");
        auto* replaceText = dialog->findChild<QLineEdit*>("ReplaceText");
        findText->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(findText));
        QTest::keyClick(keyTarget(), Qt::Key_A, Qt::ControlModifier);
        typeKeys(QStringLiteral("M30"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(replaceText));
        typeKeys(QStringLiteral("M02"));
        auto* replace = dialog->findChild<QPushButton*>("ReplaceButton");
        QTest::mouseClick(replace, Qt::LeftButton);
        QCOMPARE(editor->text(), QStringLiteral("G1 Z-20. F100\r\nM30\r\n"));
        QCOMPARE(editor->selectedText(), QStringLiteral("M30")); // found, not replaced
        QTest::mouseClick(replace, Qt::LeftButton);              // now the selection is a match
        QCOMPARE(editor->text(), QStringLiteral("G1 Z-20. F100\r\nM02\r\n"));
        QCOMPARE(ui->messages.size(), 1); // and nothing more to find
    }

    // A program named on the command line (a file manager's double click) is loaded once, in
    // the settings of the main window.
    void commandLineFileLoadsOnce() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.Settings.FontSize = 14;
        const QString path = program("A.nc", "n10 g01 (opis)\r\n");
        form.openCommandLineFiles({path});
        TEditForm* document = form.activeDocument();
        QVERIFY(document);
        QSignalSpy finished(document, &TEditForm::textWorkFinished);
        QVERIFY(waitForEditors());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(document->editor()->text(), QStringLiteral("N10 G01 (OPIS)\r\n"));
        QCOMPARE(document->editor()->formatAt(4).rgb, 0x0000FFu); // G01 coloured
        QCOMPARE(document->editor()->editorFont().pointSize(), 14);
        QVERIFY(!document->editor()->modified());
    }

    // After renumbering the document is modified (its file holds the old numbers), so closing
    // it asks; Ctrl+Z takes the renumbering back in one step.
    void renumberingLeavesTheDocumentModified() {
        ScopedInteraction ui;
        TMainForm form;
        TEditForm* document = openInWindow(form, program("A.nc", "N5 G01\r\nN7 X5\r\n"));
        QVERIFY(document);
        QTimer::singleShot(0, [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<TFormRenum*>(widget)) {
                    QTRY_VERIFY(!dialog->previewLoading());
                    QTest::mouseClick(dialog->findChild<QPushButton*>("ButtonStart"), Qt::LeftButton);
                    QTRY_VERIFY(!dialog->previewLoading());
                    QTest::mouseClick(dialog->findChild<QPushButton*>("ButtonOK"), Qt::LeftButton);
                }
        });
        form.RenumberSpeedButtonClick();
        QVERIFY(waitForEditors());
        TRichEdit98* editor = document->editor();
        QCOMPARE(editor->text(), QStringLiteral("N10 G01\r\nN20 X5\r\n"));
        QVERIFY(editor->modified());
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        editor->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("N5 G01\r\nN7 X5\r\n"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("N10 G01\r\nN20 X5\r\n"));
        ui->answers.push_back(QMessageBox::Cancel);
        document->close();
        QCOMPARE(ui->messages.size(), 1); // the question before losing the renumbering
        QCOMPARE(form.documents().size(), 1);
    }
};

QTEST_MAIN(TestEditingPaths)
#include "test_editingpaths.moc"
