#include "common/core/codepage.h"
#include "common/core/tempfolder.h"
#include "document/core/patternsearch.h"
#include "document/core/rtfreader.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "testdata.h"
#include "tools/core/spacing.h"

#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

FormatSettings settings(bool highlighting = true, bool onWriting = true) {
    FormatSettings s;
    s.SyntaxHighlighting = highlighting;
    s.SyntaxHighlightingOnWriting = onWriting;
    s.FontName = QStringLiteral("Courier New");
    s.FontSize = 10;
    return s;
}

TextFormat formatAt(TRichEdit98* editor, qsizetype position) {
    return editor->formatAt(position);
}

QColor colourAt(TRichEdit98* editor, qsizetype position) {
    return QColor(QRgb(0xFF000000u | editor->formatAt(position).rgb));
}

} // namespace

class TestEditForm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void openFileColoursAndNamesTheProgram() {
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir.path(), QStringLiteral("O0010.NC"),
                                          "%\r\nO0010 (walek fi 20)\r\nN10 G01 X-10.5\r\n");
        auto* form = new TEditForm;
        form->document().setFormat(settings());
        form->OpenFile(path);
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form->findChild<TRichEdit98*>(QStringLiteral("Editor"));
        QVERIFY(editor);
        QCOMPARE(form->windowTitle(), path + QStringLiteral("  ---> WALEK FI 20"));
        QCOMPARE(form->toolTip(), path);
        QCOMPARE(editor->text(), QStringLiteral("%\r\nO0010 (WALEK FI 20)\r\nN10 G01 X-10.5\r\n"));
        QVERIFY(!editor->modified());
        QVERIFY(!editor->canUndo());
        QCOMPARE(editor->selStart(), qsizetype(0));
        // O0010 bold black, comment red, G01 blue.
        QVERIFY(formatAt(editor, 3).bold);
        QCOMPARE(colourAt(editor, 10), QColor(255, 0, 0));
        QCOMPARE(colourAt(editor, 29), QColor(0, 0, 255));
        QCOMPARE(editor->font().pointSize(), 10);
        QVERIFY(ui->messages.isEmpty());
        delete form;
    }

    // The coloured load finds the name on its worker, the plain load in the editor: same rules.
    void captionRules_data() {
        QTest::addColumn<bool>("highlighting");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("suffix");
        for (const bool highlighting : {true, false}) {
            const char* load = highlighting ? "coloured" : "plain";
            auto row = [&](const char* name, const QByteArray& text, const QString& suffix) {
                QTest::addRow("%s, %s", load, name) << highlighting << text << suffix;
            };
            row("no name found leaves the path", "N10 G00\r\n", QString());
            row("long comment cut to 28", "(ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789)",
                QStringLiteral("  ---> ABCDEFGHIJKLMNOPQRSTUVWXYZ01"));
            row("no closing bracket", "%\r\n(BEZ KONCA", QStringLiteral("  ---> BEZ KONCA"));
            row("polish letters", "(\xa3O\xafYSKO)", QStringLiteral("  ---> ŁOŻYSKO"));
            row("TEIL : before a comment", "(KOMENTARZ)\r\nTEIL :WAL\r\n", QStringLiteral("  ---> WAL\r\n"));
            row("name across lone CR and LF line ends", "%\r(AB\nCD\rEF)",
                QStringLiteral("  ---> AB\r\nCD\r\nEF"));
        }
    }
    void captionRules() {
        QFETCH(bool, highlighting);
        QFETCH(QByteArray, text);
        QFETCH(QString, suffix);
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir.path(), QStringLiteral("caption.nc"), text);
        TEditForm form;
        form.document().setFormat(settings(highlighting));
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        QCOMPARE(form.windowTitle(), path + suffix);
    }

    // The name a load found belongs to the text as loaded: after recolouring, a text tool and
    // an edit, the caption follows the edited text.
    void captionAfterEditFollowsTheText() {
        ScopedInteraction ui;
        const QString path =
            writeProgram(m_dir.path(), QStringLiteral("rename.nc"), "%\r\n(STARY)\r\nN10\r\n");
        TEditForm form;
        form.document().setFormat(settings());
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        QCOMPARE(form.windowTitle(), path + QStringLiteral("  ---> STARY"));
        form.ApplyFormat(settings());
        QVERIFY(waitForEditors());
        form.runTextTool(removeSpaces);
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form.editor();
        editor->setSelection(4, 5);
        editor->setSelText(QStringLiteral("NOWY"));
        form.setWindowTitle(path);
        form.ShowProgramName();
        QCOMPARE(form.windowTitle(), path + QStringLiteral("  ---> NOWY"));
    }

    void missingFileClosesSilently() {
        ScopedInteraction ui;
        QPointer<TEditForm> form = new TEditForm;
        QSignalSpy closed(form.data(), &TEditForm::editStateChanged);
        form->OpenFile(m_dir.filePath(QStringLiteral("nothing-here.nc")));
        QApplication::processEvents();
        QVERIFY(ui->messages.isEmpty());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.first(), QVariantList({0, 0}));
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void unreadableFileShowsTheLoadError() {
        ScopedInteraction ui;
        // A folder passes the existence check but cannot be read as a file.
        const QString folder = m_dir.filePath(QStringLiteral("folder.nc"));
        QDir().mkpath(folder);
        QPointer<TEditForm> form = new TEditForm;
        form->document().setFormat(settings());
        form->setWindowTitle(folder);
        QVERIFY(LoadIntoEditor(*form, folder));
        QVERIFY(waitForEditors());
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().caption, QStringLiteral("Błąd"));
        QCOMPARE(ui->messages.first().icon, QMessageBox::Critical);
        QCOMPARE(ui->messages.first().text,
                 QStringLiteral(
                     "Błąd przy wczytywaniu pliku !\rSprawdź czy masz uprawnienia do czytania z pliku."));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void plainLoadKeepsCaseAndLineEnds() {
        ScopedInteraction ui;
        const QString path =
            writeProgram(m_dir.path(), QStringLiteral("plain.nc"), "n10 g00\nx1\r\n(\xb3uk)");
        TEditForm form;
        form.document().setFormat(settings(false));
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form.editor();
        QCOMPARE(editor->text(), QStringLiteral("n10 g00\r\nx1\r\n(łuk)"));
        QCOMPARE(colourAt(editor, 0), QColor(Qt::black));
        QCOMPARE(editor->lineCount(), 3);
        QCOMPARE(editor->line(2), QStringLiteral("(łuk)"));
    }

    void applyFormatRecoloursAndKeepsState() {
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir.path(), QStringLiteral("format.nc"), "n10 g01 x5\r\nm30\r\n");
        TEditForm form;
        form.document().setFormat(settings(false));
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form.editor();
        editor->setSelection(4, 3);
        editor->setModified(true);
        form.ApplyFormat(settings(true));
        QVERIFY(waitForEditors());
        QCOMPARE(editor->text(), QStringLiteral("N10 G01 X5\r\nM30\r\n"));
        QCOMPARE(editor->selStart(), qsizetype(4));
        QCOMPARE(editor->selLength(), qsizetype(3));
        QVERIFY(editor->modified());
        QVERIFY(!editor->canUndo());
        QCOMPARE(colourAt(editor, 4), QColor(0, 0, 255));
        QVERIFY(!QFile::exists(privateTempDir() + QStringLiteral("Syntax.tmp")));
        QVERIFY(!QFile::exists(privateTempDir() + QStringLiteral("Edytor.tmp")));
    }

    void positionsCountLineEndsAsTwo() {
        ScopedInteraction ui;
        TRichEdit98 editor;
        editor.setText(QStringLiteral("AB\r\nCD\r\nEF"));
        QCOMPARE(editor.textLength(), qsizetype(10));
        editor.setSelection(4, 4); // "CD\r\n"
        QCOMPARE(editor.selectedText(), QStringLiteral("CD\r\n"));
        QCOMPARE(editor.selStart(), qsizetype(4));
        QCOMPARE(editor.selLength(), qsizetype(4));
        editor.setCaretLineColumn(2, 1);
        QCOMPARE(editor.selStart(), qsizetype(9));
        QCOMPARE(editor.caretLine(), 2);
        editor.setSelStart(3); // between CR and LF: the end of the line
        QCOMPARE(editor.selStart(), qsizetype(2));
        editor.setSelStart(100);
        QCOMPARE(editor.selStart(), qsizetype(10));
    }

    // Polish letters typed into a program that had none still count one position each: the
    // caret, the selection and the search all stay right.
    void typedPolishLettersCountOneEach() {
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir.path(), QStringLiteral("ascii.nc"), "N10 G01\r\nM30\r\n");
        TEditForm form;
        form.document().setFormat(settings(true, false));
        form.OpenFile(path);
        QVERIFY(waitForEditors());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        TRichEdit98* editor = form.editor();
        editor->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        for (const QChar ch : QStringLiteral(" (żółw)"))
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
        QCOMPARE(editor->text(), QStringLiteral("N10 G01 (żółw)\r\nM30\r\n"));
        QCOMPARE(editor->selStart(), qsizetype(14));
        QCOMPARE(editor->caretColumn(), qsizetype(14));
        QCOMPARE(editor->textLength(), qsizetype(21));
        editor->setSelection(9, 4);
        QCOMPARE(editor->selectedText(), QStringLiteral("żółw"));
        editor->setSelStart(0);
        QVERIFY(SearchEditor(*editor, QStringLiteral("M30"), frDown));
        QCOMPARE(editor->selStart(), qsizetype(16));
    }

    void searchEditorSelectsTheMatch() {
        ScopedInteraction ui;
        TRichEdit98 editor;
        editor.setText(QStringLiteral("%\r\nO0010\r\nN10 (ŻŁÓB)\r\n"));
        QVERIFY(SearchEditor(editor, QStringLiteral("O$$$$"), frDown));
        QCOMPARE(editor.selStart(), qsizetype(3));
        QCOMPARE(editor.selectedText(), QStringLiteral("O0010"));
        QVERIFY(SearchEditor(editor, QStringLiteral("żłób"), frDown));
        QCOMPARE(editor.selectedText(), QStringLiteral("ŻŁÓB"));
        const qsizetype before = editor.selStart();
        QVERIFY(!SearchEditor(editor, QStringLiteral("O$$$$"), frDown));
        QVERIFY(!SearchEditor(editor, QString(), frDown));
        QCOMPARE(editor.selStart(), before);
    }

    // Searches reuse the text's bytes while it is unchanged; every kind of change is seen.
    void searchSeesEveryChangeOfTheText() {
        ScopedInteraction ui;
        TRichEdit98 editor;
        editor.setText(QStringLiteral("N10 G00\r\nN20 G00\r\n"));
        QVERIFY(!SearchEditor(editor, QStringLiteral("G01"), frDown));
        // Typed over.
        editor.setSelection(13, 3);
        editor.setSelText(QStringLiteral("G01"));
        editor.setSelStart(0);
        QVERIFY(SearchEditor(editor, QStringLiteral("G01"), frDown));
        QCOMPARE(editor.selStart(), qsizetype(13));
        // Undone.
        editor.undo();
        editor.setSelStart(0);
        QVERIFY(!SearchEditor(editor, QStringLiteral("G01"), frDown));
        // Replaced by another document.
        editor.setRichText(*readRtf("{\\rtf1 N30 G01\\par }").document);
        QVERIFY(SearchEditor(editor, QStringLiteral("G01"), frDown));
        QCOMPARE(editor.selStart(), qsizetype(4));
        // Set as plain text.
        editor.setProgramText(QStringLiteral("N40 G02\r\n"));
        QVERIFY(!SearchEditor(editor, QStringLiteral("G01"), frDown));
        QVERIFY(SearchEditor(editor, QStringLiteral("G02"), frDown));
    }

    void typingUpperCasesAndBoldsWhenOn() {
        ScopedInteraction ui;
        TEditForm form;
        form.document().setFormat(settings(true, true));
        TRichEdit98* editor = form.editor();
        QTest::keyClicks(editor, QStringLiteral("g1x"));
        QCOMPARE(editor->text(), QStringLiteral("G1X"));
        QVERIFY(formatAt(editor, 0).bold);
        // The keypad decimal key types "." even where the layout gives ",".
        QTest::keyClick(editor, Qt::Key_Comma, Qt::KeypadModifier);
        QTest::keyClick(editor, Qt::Key_Comma);
        QCOMPARE(editor->text(), QStringLiteral("G1X.,"));
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(editor->text(), QStringLiteral("G1X."));
    }

    void typingKeepsCaseWhenOff() {
        ScopedInteraction ui;
        TEditForm form;
        form.document().setFormat(settings(true, false));
        QTest::keyClicks(form.editor(), QStringLiteral("g1x"));
        QCOMPARE(form.editor()->text(), QStringLiteral("g1x"));
        QVERIFY(!formatAt(form.editor(), 0).bold);
    }

    void pasteIsBoldWhenOn() {
        ScopedInteraction ui;
        ui->clipboard = QStringLiteral("n20 m30");
        TEditForm form;
        form.document().setFormat(settings(true, true));
        form.WklejClick();
        QCOMPARE(form.editor()->text(), QStringLiteral("n20 m30"));
        QVERIFY(formatAt(form.editor(), 0).bold);
    }

    void selectionAndUndoStateReachTheMainWindow() {
        ScopedInteraction ui;
        TEditForm form;
        form.document().setFormat(settings(true, false));
        QSignalSpy spy(&form, &TEditForm::editStateChanged);
        TRichEdit98* editor = form.editor();
        QTest::keyClicks(editor, QStringLiteral("ab"));
        QCOMPARE(spy.last(), QVariantList({0, 1}));
        editor->selectAll();
        QCOMPARE(spy.last(), QVariantList({1, 1}));
        auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu"));
        QVERIFY(menu);
        auto action = [menu](const char* name) {
            return menu->findChild<QAction*>(QString::fromLatin1(name));
        };
        QStringList names;
        for (QAction* a : menu->actions())
            names << a->objectName();
        QCOMPARE(names, QStringList({"Cofnij", "Powtrz", "N3", "Wytnij", "Kopiuj", "Wklej", "N1", "Usu", "N2",
                                     "Zaznaczwszystko"}));
        QVERIFY(action("Wytnij")->isEnabled());
        QVERIFY(action("Kopiuj")->isEnabled());
        QVERIFY(action("Usu")->isEnabled());
        QVERIFY(!action("Wklej")->isEnabled()); // the clipboard is empty
        form.KopiujClick();
        QCOMPARE(ui->clipboard, QStringLiteral("ab"));
        QVERIFY(action("Wklej")->isEnabled());
        editor->setSelStart(2);
        QCOMPARE(spy.last().at(0).toInt(), 0);
        QVERIFY(!action("Kopiuj")->isEnabled());
        // A second, separate edit: one undo leaves both an undo and a redo.
        editor->setSelStart(0);
        QTest::keyClicks(editor, QStringLiteral("c"));
        form.CofnijClick();
        form.EditorSelectionChange();
        QCOMPARE(spy.last(), QVariantList({0, 11}));
        QVERIFY(action("Powtrz")->isEnabled());
        QVERIFY(action("Cofnij")->isEnabled());
        // Undo until nothing is left: then only a redo is possible.
        while (editor->canUndo())
            form.CofnijClick();
        form.EditorSelectionChange();
        QCOMPARE(spy.last(), QVariantList({0, 10}));
        QVERIFY(action("Powtrz")->isEnabled());
        QVERIFY(!action("Cofnij")->isEnabled());
    }

    void activationReportsTheWindowsState() {
        ScopedInteraction ui;
        QMdiArea area;
        auto* first = new TEditForm;
        auto* second = new TEditForm;
        area.addSubWindow(first);
        area.addSubWindow(second);
        first->editor()->setText(QStringLiteral("N10 G01"));
        first->editor()->selectAll();
        second->editor()->setText(QStringLiteral("X1"));
        QTest::keyClicks(second->editor(), QStringLiteral("y")); // an undo step
        second->editor()->setSelStart(0);
        area.show();
        QSignalSpy firstState(first, &TEditForm::editStateChanged);
        QSignalSpy secondState(second, &TEditForm::editStateChanged);
        area.setActiveSubWindow(first);
        QTRY_VERIFY(!firstState.isEmpty());
        QCOMPARE(firstState.last(), QVariantList({1, 0}));
        area.setActiveSubWindow(second);
        QTRY_VERIFY(!secondState.isEmpty());
        QCOMPARE(secondState.last(), QVariantList({0, 1}));
    }

    void keypadKeysAndTheMenuKey() {
        ScopedInteraction ui;
        TEditForm form;
        form.document().setFormat(settings(true, true));
        TRichEdit98* editor = form.editor();
        // The keypad's Delete (Num Lock off) is no decimal key: "," stays ",".
        QTest::keyClick(editor, Qt::Key_Delete, Qt::KeypadModifier);
        QTest::keyClick(editor, Qt::Key_Comma);
        QTest::keyClick(editor, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(editor->text(), QStringLiteral(",."));
        // The menu key opens the context menu until it has been shown once; a right click
        // arms it again.
        auto* menu = form.findChild<QMenu*>(QStringLiteral("PopupMenu"));
        auto menuKey = [&] {
            Q_EMIT editor->customContextMenuRequested(QPoint(1, 1));
            const bool shown = menu->isVisible();
            menu->hide();
            return shown;
        };
        QVERIFY(menuKey());
        QVERIFY(!menuKey());
        QTest::mousePress(editor->viewport(), Qt::RightButton, {}, QPoint(2, 2));
        QTest::mouseRelease(editor->viewport(), Qt::RightButton, {}, QPoint(2, 2));
        QVERIFY(menuKey());
    }

    // A new format given while a load runs (the highlighting switch, a font change) is applied
    // when the load has ended, instead of waiting inside it.
    void formatDuringALoadFollowsTheLoad() {
        ScopedInteraction ui;
        QByteArray big;
        for (int i = 0; i < 60000; ++i)
            big += "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 97) + ".5 (OPIS)\r\n";
        const QString path = writeProgram(m_dir.path(), QStringLiteral("format.nc"), big);
        TEditForm form;
        form.document().setFormat(settings(true));
        FormatSettings plain = settings(false);
        plain.FontSize = 14;
        form.OpenFile(path);
        QVERIFY(form.isLoading());
        form.ApplyFormat(plain);
        QVERIFY(waitForEditors());
        QCOMPARE(form.editor()->lineCount(), 60000);
        QTRY_COMPARE(form.editor()->font().pointSize(), 14);
        QVERIFY(!form.document().format().SyntaxHighlighting);
        // Recoloured plain: the comment of the first line is black now.
        QCOMPARE(colourAt(form.editor(), 14), QColor(Qt::black));
        QVERIFY(!form.editor()->modified());
        QVERIFY(ui->messages.isEmpty());
    }

    void closeWhileLoadingWaitsForTheLoad_data() {
        QTest::addColumn<bool>("highlighting");
        QTest::newRow("coloured") << true;
        QTest::newRow("plain") << false;
    }
    void closeWhileLoadingWaitsForTheLoad() {
        QFETCH(bool, highlighting);
        ScopedInteraction ui;
        // A large program gives the close request time to arrive mid-load.
        QByteArray big;
        for (int i = 0; i < 60000; ++i)
            big += "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 97) +
                   ".5 Y-3 F100 (OPIS)\r\n";
        const QString path = writeProgram(m_dir.path(), QStringLiteral("big.nc"), big);
        QPointer<TEditForm> form = new TEditForm;
        form->document().setFormat(settings(highlighting));
        form->OpenFile(path);
        QVERIFY(form->isLoading());
        form->close();
        // The window outlives the request while its load runs, and closes after it.
        QVERIFY(form);
        QVERIFY(form->isLoading());
        QVERIFY(waitForEditors());
        QTRY_VERIFY(form.isNull());
        QVERIFY(ui->messages.isEmpty());
    }
};

QTEST_MAIN(TestEditForm)
#include "test_editform.moc"
