// The main window's menu and tool bar, command enabling, window commands, highlighting
// switches, dropped files and the tool commands handed to the active document.
#include "browser/ui/tfinder_form.h"
#include "calculators/ui/tcalcform.h"
#include "calculators/ui/tdraw_form.h"
#include "calculators/ui/tkatyform.h"
#include "calculators/ui/tmcform.h"
#include "calculators/ui/totworyform.h"
#include "common/core/inifile.h"
#include "common/core/tempfolder.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "mainwindowcommands.h"
#include "scriptedinteraction.h"
#include "serial/ui/tcomportform.h"
#include "shell/ui/fontchoice.h"
#include "shell/ui/systemcalculator.h"
#include "shell/ui/taboutbox.h"
#include "shell/ui/tmainform.h"
#include "testdata.h"
#include "tools/ui/tformrenum.h"

#include <memory>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

const QStringList kDocumentCommands = {"SaveSpeedButton",
                                       "SaveAsSpeedButton",
                                       "PrintSpeedButton",
                                       "FindSpeedButton",
                                       "ReplaceSpeedButton",
                                       "PrevSpeedButton",
                                       "NextSpeedButton",
                                       "KropkiSpeedButton",
                                       "SpSpeedButton",
                                       "UsunSpSpeedButton",
                                       "RenumberSpeedButton",
                                       "Zapisz1",
                                       "Zapiszjako1",
                                       "Zamknij1",
                                       "Drukuj1",
                                       "Zaznaczwszystko1",
                                       "Kaskada1",
                                       "Rozmiewpionie1",
                                       "Rozmiewpozziomie1",
                                       "Znajdz",
                                       "Zamie1",
                                       "Zamknijwszystkie",
                                       "Przenumeruj1",
                                       "Wstaw",
                                       "Ususpacje",
                                       "Wstawspacje",
                                       "SendSpeedButton",
                                       "Wyslijprogram"};
const QStringList kAlwaysEnabled = {"Nowy1",
                                    "Otwrz1",
                                    "Przegldarkaplikw1",
                                    "Zakocz1",
                                    "Obliczparametry",
                                    "Obliczwsprzdneotworwrozmieszczonychnaokrgu",
                                    "Ktyitrjkty1",
                                    "Obliczfazki",
                                    "Kalkulator",
                                    "Podwietlajskadni",
                                    "Podwietlajskadniprzypisaniu",
                                    "Czcionka",
                                    "Oprogramie2",
                                    "NewSpeedButton",
                                    "OpenSpeedButton",
                                    "DrillSpeedButton",
                                    "TrigSpeedButton",
                                    "ParamSpeedButton",
                                    "SpeedButton1",
                                    "CalcSpeedButton",
                                    "ComPortSpeedButton",
                                    "ReceiveSpeedButton",
                                    "Odbierzprogram",
                                    "ExitSpeedButton"};

// Whether the command of that name (a menu item, or the command of a tool button) is enabled.
// A button shows its command's state: the two never disagree.
bool enabled(const TMainForm& form, const QString& name) {
    if (QToolButton* button = form.toolButton(name)) {
        QAction* command = button->defaultAction();
        if (!command || command->isEnabled() != button->isEnabled())
            qFatal("tool button %s does not follow its command", qPrintable(name));
        return command->isEnabled();
    }
    QAction* item = form.menuItem(name);
    return item && item->isEnabled();
}

QStringList fileNames(const QList<TEditForm*>& documents) {
    QStringList names;
    for (TEditForm* document : documents)
        names.append(QFileInfo(document->document().fileName()).fileName());
    return names;
}

QColor colourAt(TRichEdit98* editor, qsizetype position) {
    return QColor(QRgb(0xFF000000u | editor->formatAt(position).rgb));
}

// Runs `action` on the first visible top-level window of class T once the modal loop runs.
// Runs `action` on the first visible top-level T once one is shown (a window may run the event
// loop while it is being built, before it shows); gives up after about five seconds.
template <typename T> void whenShown(const std::function<void(T*)>& action, int attempts = 500) {
    QTimer::singleShot(attempts == 500 ? 0 : 10, [action, attempts] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<T*>(widget); window && window->isVisible()) {
                action(window);
                return;
            }
        }
        if (attempts > 1)
            whenShown(action, attempts - 1);
    });
}

template <typename T> QList<T*> topLevel() {
    QList<T*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget))
            found.append(window);
    }
    return found;
}

} // namespace

class TestMainCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsFolder> m_dir;

    QString program(const QString& name) { return writeProgram(m_dir->path(), name); }
    QString program(const QString& name, const QByteArray& text) {
        return writeProgram(m_dir->path(), name, text);
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<SettingsFolder>(); }
    void cleanup() { m_dir.reset(); }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("Nowy1") << "Nowy1"
                               << "&Nowy plik"
                               << "";
        QTest::newRow("Otwrz1") << "Otwrz1"
                                << "&Otwórz..."
                                << "F4";
        QTest::newRow("Zapisz1") << "Zapisz1"
                                 << "&Zapisz"
                                 << "F2";
        QTest::newRow("Zapiszjako1") << "Zapiszjako1"
                                     << "Z&apisz jako..."
                                     << "Shift+F2";
        QTest::newRow("Zamknij1") << "Zamknij1"
                                  << "Za&mknij"
                                  << "";
        QTest::newRow("Zamknijwszystkie") << "Zamknijwszystkie"
                                          << "Zamknij &wszystkie"
                                          << "";
        QTest::newRow("Przegldarkaplikw1") << "Przegldarkaplikw1"
                                           << "Przeglądarka plików"
                                           << "F5";
        QTest::newRow("Ustawieniastrony1") << "Ustawieniastrony1"
                                           << "&Ustawienia strony..."
                                           << "";
        QTest::newRow("Drukuj1") << "Drukuj1"
                                 << "&Drukuj"
                                 << "F12";
        QTest::newRow("Zakocz1") << "Zakocz1"
                                 << "Za&kończ program"
                                 << "Ctrl+Q";
        QTest::newRow("Cofnij1") << "Cofnij1"
                                 << "&Cofnij"
                                 << "Ctrl+Z";
        QTest::newRow("Powtrz1") << "Powtrz1"
                                 << "&Powtórz"
                                 << "Ctrl+Y";
        QTest::newRow("Wytnij1") << "Wytnij1"
                                 << "&Wytnij"
                                 << "Ctrl+X";
        QTest::newRow("Kopiuj1") << "Kopiuj1"
                                 << "&Kopiuj"
                                 << "Ctrl+C";
        QTest::newRow("Wklej1") << "Wklej1"
                                << "Wkl&ej"
                                << "Ctrl+V";
        QTest::newRow("Usu1") << "Usu1"
                              << "&Usuń"
                              << "Ctrl+Del";
        QTest::newRow("Zaznaczwszystko1") << "Zaznaczwszystko1"
                                          << "&Zaznacz wszystko"
                                          << "Ctrl+A";
        QTest::newRow("Znajdz") << "Znajdz"
                                << "&Znajdź..."
                                << "Ctrl+F";
        QTest::newRow("Znajdnastpny") << "Znajdnastpny"
                                      << "Z&najdź następny"
                                      << "F3";
        QTest::newRow("Zamie1") << "Zamie1"
                                << "Zamień..."
                                << "Ctrl+R";
        QTest::newRow("Obliczparametry") << "Obliczparametry"
                                         << "&Oblicz parametry skrawania"
                                         << "";
        QTest::newRow("Obliczwsprzdne...") << "Obliczwsprzdneotworwrozmieszczonychnaokrgu"
                                           << "Oblicz &współrzędne otworów rozmieszczonych na okręgu"
                                           << "";
        QTest::newRow("Ktyitrjkty1") << "Ktyitrjkty1"
                                     << "O&bliczanie długości boków i / lub kątów w trójkącie prostokątnym"
                                     << "";
        QTest::newRow("Obliczfazki") << "Obliczfazki"
                                     << "&Przelicz mm/cale , cale/mm"
                                     << "";
        QTest::newRow("Kalkulator") << "Kalkulator"
                                    << "&Kalkulator Windows"
                                    << "";
        QTest::newRow("Wstawspacje") << "Wstawspacje"
                                     << "Ws&taw spacje"
                                     << "";
        QTest::newRow("Ususpacje") << "Ususpacje"
                                   << "&Usuń spacje"
                                   << "";
        QTest::newRow("Wstaw") << "Wstaw"
                               << "W&staw kropki"
                               << "";
        QTest::newRow("Przenumeruj1") << "Przenumeruj1"
                                      << "Prz&enumeruj"
                                      << "";
        QTest::newRow("Podwietlajskadni") << "Podwietlajskadni"
                                          << "&Podświetlaj składnię"
                                          << "";
        QTest::newRow("Podwietlajskadniprzypisaniu") << "Podwietlajskadniprzypisaniu"
                                                     << "P&odświetlaj składnię przy pisaniu"
                                                     << "";
        QTest::newRow("Czcionka") << "Czcionka"
                                  << "&Czcionka"
                                  << "";
        QTest::newRow("Kaskada1") << "Kaskada1"
                                  << "&Kaskada"
                                  << "";
        QTest::newRow("Rozmiewpionie1") << "Rozmiewpionie1"
                                        << "Rozmieść w &pionie"
                                        << "";
        QTest::newRow("Rozmiewpozziomie1") << "Rozmiewpozziomie1"
                                           << "Rozmieść w po&ziomie"
                                           << "";
        QTest::newRow("Oprogramie2") << "Oprogramie2"
                                     << "&O programie"
                                     << "";
        QTest::newRow("menu Plik1") << "Plik1"
                                    << "&Plik"
                                    << "";
        QTest::newRow("menu Okno1") << "Okno1"
                                    << "O&kno"
                                    << "";
        QTest::newRow("menu Oprogramie1") << "Oprogramie1"
                                          << "Po&moc"
                                          << "";
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        TMainForm form;
        QAction* item = form.findChild<QAction*>(name);
        QVERIFY2(item, qPrintable(name));
        // After a tab: the shortcuts the menu shows.
        QCOMPARE(item->text().section(QLatin1Char('\t'), 0, 0), caption);
        QCOMPARE(item->shortcut().toString(), shortcut);
    }

    void toolButtonsInOrder() {
        TMainForm form;
        const QList<std::pair<QString, QString>> expected = {
            {"NewSpeedButton", "Nowy plik"},
            {"OpenSpeedButton", "Otwórz plik..."},
            {"SaveSpeedButton", "Zapisz"},
            {"SaveAsSpeedButton", "Zapisz jako..."},
            {"PrintSpeedButton", "Drukuj"},
            {"CutSpeedButton", "Wytnij"},
            {"CopySpeedButton", "Kopiuj"},
            {"PasteSpeedButton", "Wklej"},
            {"FindSpeedButton", "Znajdź..."},
            {"FindNextSpeedButton", "Znajdź następne"},
            {"ReplaceSpeedButton", "Zamień"},
            {"DrillSpeedButton", "Oblicz współrzędne otworów rozmieszczonych na okręgu"},
            {"TrigSpeedButton", "Obliczanie długości boków i / lub kątów w trójkącie prostokątnym"},
            {"ParamSpeedButton", "Oblicz parametry skrawania"},
            {"SpeedButton1", "Przelicz mm/cale , cale/mm"},
            {"CalcSpeedButton", "Kalkulator Windows"},
            {"KropkiSpeedButton", "Wstaw kropki"},
            {"SpSpeedButton", "Wstaw spacje"},
            {"UsunSpSpeedButton", "Usuń spacje"},
            {"RenumberSpeedButton", "Przenumeruj"},
            {"ComPortSpeedButton", "Ustawienia portu RS232"},
            {"SendSpeedButton", "Wyślij program przez RS232"},
            {"ReceiveSpeedButton", "Odbierz program przez RS232"},
            {"PrevSpeedButton", "Poprzednie okno"},
            {"NextSpeedButton", "Następne okno"},
            {"ExitSpeedButton", "Wyjście"}};
        auto* panel = form.findChild<QToolBar*>("ButtonPanel");
        QVERIFY(panel);
        QCOMPARE(panel->height(), 36);
        QStringList order;
        for (QAction* action : panel->actions()) {
            if (QWidget* widget = panel->widgetForAction(action); widget && !action->isSeparator())
                order.append(widget->objectName());
        }
        QStringList expectedOrder;
        for (const auto& [name, hint] : expected) {
            expectedOrder.append(name);
            QToolButton* button = form.toolButton(name);
            QVERIFY2(button, qPrintable(name));
            QCOMPARE(button->toolTip(), hint);
            QVERIFY(!button->icon().isNull());
        }
        QCOMPARE(order, expectedOrder);
    }

    void commandEnablingByWindowCount_data() {
        QTest::addColumn<int>("windows");
        QTest::addColumn<bool>("clipboard");
        QTest::newRow("no window") << 0 << true;
        QTest::newRow("one window") << 1 << true;
        QTest::newRow("two windows") << 2 << false;
    }
    void commandEnablingByWindowCount() {
        QFETCH(int, windows);
        QFETCH(bool, clipboard);
        ScopedInteraction ui;
        ui->clipboard = clipboard ? QStringLiteral("G01") : QString();
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        for (int i = 0; i < windows; ++i)
            form.openDroppedFiles({program(QString("P%1.nc").arg(i))});
        QVERIFY(waitForEditors());
        form.UpdateCommandState();
        for (const QString& name : kDocumentCommands)
            QVERIFY2(enabled(form, name) == (windows > 0), qPrintable(name));
        for (const QString& name : kAlwaysEnabled)
            QVERIFY2(enabled(form, name), qPrintable(name));
        QCOMPARE(enabled(form, "Wklej1"), windows > 0 && clipboard);
        QCOMPARE(enabled(form, "PasteSpeedButton"), windows > 0 && clipboard);
        QVERIFY(!enabled(form, "Ustawieniastrony1"));
        QVERIFY(!enabled(form, "FindNextSpeedButton"));
        // Nothing selected and nothing to undo in freshly opened documents.
        for (const char* name : {"Wytnij1", "Kopiuj1", "Usu1", "Cofnij1", "Powtrz1", "CutSpeedButton"})
            QVERIFY2(!enabled(form, name), name);

        // Closing every window turns the document commands off again.
        chooseMenuItem(form, "Zamknijwszystkie");
        QTRY_VERIFY(form.documents().isEmpty());
        for (const QString& name : kDocumentCommands)
            QVERIFY2(!enabled(form, name), qPrintable(name));
    }

    void selectionAndUndoFollowTheDocument() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc")});
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form.activeDocument()->editor();
        editor->setSelection(3, 5);
        for (const char* name : {"Wytnij1", "Kopiuj1", "Usu1", "CutSpeedButton", "CopySpeedButton"})
            QVERIFY2(enabled(form, name), name);
        editor->setSelStart(3);
        for (const char* name : {"Wytnij1", "Kopiuj1", "Usu1", "CutSpeedButton", "CopySpeedButton"})
            QVERIFY2(!enabled(form, name), name);

        editor->setSelection(3, 5);
        chooseMenuItem(form, "Usu1");
        form.activeDocument()->EditorSelectionChange();
        QVERIFY(enabled(form, "Cofnij1"));
        QVERIFY(!enabled(form, "Powtrz1"));
        chooseMenuItem(form, "Cofnij1");
        form.activeDocument()->EditorSelectionChange();
        QVERIFY(!enabled(form, "Cofnij1"));
        QVERIFY(enabled(form, "Powtrz1"));
        QVERIFY(editor->text().startsWith("%\r\nO0001"));
        chooseMenuItem(form, "Powtrz1");
        QVERIFY(editor->text().startsWith("%\r\n\r\n"));

        // Codes other than 0, 1, 10 and 11 leave undo and redo as they are.
        QCOMPARE(form.NotifyEditState(0, 11), 0);
        form.NotifyEditState(0, 7);
        QVERIFY(enabled(form, "Cofnij1") && enabled(form, "Powtrz1"));
        // A closing window reports 0 and 0.
        form.activeDocument()->close();
        QVERIFY(!enabled(form, "Cofnij1") && !enabled(form, "Powtrz1") && !enabled(form, "Usu1"));
    }

    void editCommandsGoToTheActiveDocument() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc", "N1 X1\r\n")});
        QVERIFY(waitForEditors());
        TRichEdit98* editor = form.activeDocument()->editor();
        chooseMenuItem(form, "Zaznaczwszystko1");
        QCOMPARE(editor->selLength(), editor->textLength());
        clickToolButton(form, "CopySpeedButton");
        QVERIFY(ui->clipboard.startsWith("N1 X1"));
        clickToolButton(form, "CutSpeedButton");
        QCOMPARE(editor->textLength(), qsizetype(0));
        clickToolButton(form, "PasteSpeedButton");
        QCOMPARE(editor->text(), QString("N1 X1\r\n"));
        // Untouched: the other document.
        QVERIFY(form.documents()[1]->editor()->text().startsWith("%\r\nO0001"));
    }

    void commandsWithoutADocumentDoNothing() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        for (auto command : {&TMainForm::SaveSpeedButtonClick,
                             &TMainForm::SaveAsSpeedButtonClick,
                             &TMainForm::Zamknij1Click,
                             &TMainForm::Cofnij1Click,
                             &TMainForm::Powtrz1Click,
                             &TMainForm::CutSpeedButtonClick,
                             &TMainForm::CopySpeedButtonClick,
                             &TMainForm::PasteSpeedButtonClick,
                             &TMainForm::Usu1Click,
                             &TMainForm::Zaznaczwszystko1Click,
                             &TMainForm::WstawClick,
                             &TMainForm::UsuspacjeClick,
                             &TMainForm::WstawspacjeClick,
                             &TMainForm::RenumberSpeedButtonClick,
                             &TMainForm::PrintSpeedButtonClick,
                             &TMainForm::PrevSpeedButtonClick,
                             &TMainForm::NextSpeedButtonClick,
                             &TMainForm::Kaskada1Click,
                             &TMainForm::Rozmiewpionie1Click,
                             &TMainForm::Rozmiewpozziomie1Click})
            (form.*command)();
        QVERIFY(form.documents().isEmpty());
        QVERIFY(ui->messages.isEmpty());
        QCOMPARE(ui->beeps, 0);
        QVERIFY(ui->saveRequests.isEmpty());
    }

    void previousAndNextWindow() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc"), program("C.nc")});
        QVERIFY(waitForEditors());
        auto active = [&form] { return QFileInfo(form.activeDocument()->document().fileName()).fileName(); };
        QCOMPARE(active(), QString("C.nc"));
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            clickToolButton(form, "PrevSpeedButton");
            seen.append(active());
        }
        QCOMPARE(seen, QStringList({"B.nc", "A.nc", "C.nc"}));
        seen.clear();
        for (int i = 0; i < 3; ++i) {
            clickToolButton(form, "NextSpeedButton");
            seen.append(active());
        }
        QCOMPARE(seen, QStringList({"A.nc", "B.nc", "C.nc"}));

        chooseMenuItem(form, "Zamknijwszystkie");
        form.openDroppedFiles({program("Only.nc")});
        QVERIFY(waitForEditors());
        clickToolButton(form, "PrevSpeedButton");
        clickToolButton(form, "NextSpeedButton");
        QCOMPARE(active(), QString("Only.nc"));
    }

    // The common desktop shortcuts, pressed in the document's editor, besides the program's own.
    void commonShortcutsReachTheirCommands() {
        ScopedInteraction ui;
        int printDialogs = 0;
        TEditForm::setPrintDialogHook([&printDialogs](QWidget*, QPrinter&) {
            ++printDialogs;
            return false;
        });
        TMainForm form;
        QVERIFY(showStarted(form));
        const QString path = program("O0001.nc");
        form.openDroppedFiles({path});
        QVERIFY(waitForEditors());
        QTest::mouseClick(form.activeDocument()->editor()->viewport(), Qt::LeftButton);
        QWidget* editor = QApplication::focusWidget();
        QCOMPARE(editor, form.activeDocument()->editor());

        QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(ui->openRequests.size(), 1);
        QTest::keyClicks(editor, "Z9");
        QVERIFY(form.activeDocument()->editor()->modified());
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!form.activeDocument()->editor()->modified());
        QVERIFY(readFile(path).contains("Z9"));
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ui->saveRequests.size(), 1);
        QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(printDialogs, 1);
        TEditForm::setPrintDialogHook({});
        // The program's own keys still work.
        QTest::keyClick(editor, Qt::Key_F4);
        QCOMPARE(ui->openRequests.size(), 2);

        // Each menu item names both of its keys.
        const QList<std::pair<QString, QString>> shown = {{"Otwrz1", "F4, Ctrl+O"},
                                                          {"Zapisz1", "F2, Ctrl+S"},
                                                          {"Zapiszjako1", "Shift+F2, Ctrl+Shift+S"},
                                                          {"Drukuj1", "F12, Ctrl+P"}};
        for (const auto& [name, keys] : shown)
            QCOMPARE(form.menuItem(name)->text().section(QLatin1Char('\t'), 1), keys);

        QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!form.isVisible());
        QVERIFY(ui->messages.isEmpty());
    }

    // The status bar follows the caret, the text and the modified flag of the active document as
    // the user types; the document's caption stays as it was.
    void statusBarFollowsTheActiveDocument() {
        ScopedInteraction ui;
        TMainForm form;
        QVERIFY(showStarted(form));
        auto status = [&form] {
            QStringList fields;
            for (const char* name : {"CaretStatus", "LinesStatus", "ModifiedStatus"}) {
                const auto* field = form.statusBar()->findChild<QLabel*>(name);
                fields.append(field ? field->text() : QStringLiteral("(no field %1)").arg(name));
            }
            return fields.join(QStringLiteral(" | "));
        };
        QCOMPARE(status(), QString(" |  | "));

        const QString other = program("O0002.nc", "O0002\r\nM30");
        const QString path = program("O0001.nc", "O0001\r\nN10 G01\r\nM30");
        form.openDroppedFiles({other, path});
        QVERIFY(waitForEditors());
        const QString caption = form.activeDocument()->windowTitle();
        QTest::mouseClick(form.activeDocument()->editor()->viewport(), Qt::LeftButton);
        QWidget* editor = QApplication::focusWidget();
        QCOMPARE(editor, form.activeDocument()->editor());
        QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(status(), QString("Wiersz 1, kolumna 1 | Wierszy: 3 | "));
        QTest::keyClick(editor, Qt::Key_Down);
        QTest::keyClick(editor, Qt::Key_End);
        QCOMPARE(status(), QString("Wiersz 2, kolumna 8 | Wierszy: 3 | "));
        QTest::keyClicks(editor, " X1");
        QCOMPARE(status(), QString("Wiersz 2, kolumna 11 | Wierszy: 3 | Zmieniony"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(status(), QString("Wiersz 3, kolumna 1 | Wierszy: 4 | Zmieniony"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(status(), QString("Wiersz 2, kolumna 11 | Wierszy: 3 | Zmieniony"));
        QTest::keyClick(editor, Qt::Key_F2);
        QCOMPARE(status(), QString("Wiersz 2, kolumna 11 | Wierszy: 3 | "));
        QCOMPARE(form.activeDocument()->windowTitle(), caption);

        // The other window shows its own; with none left the fields are empty.
        clickToolButton(form, "PrevSpeedButton");
        QCOMPARE(QFileInfo(form.activeDocument()->document().fileName()).fileName(), QString("O0002.nc"));
        QCOMPARE(status(), QString("Wiersz 1, kolumna 1 | Wierszy: 2 | "));
        chooseMenuItem(form, "Zamknijwszystkie");
        QTRY_VERIFY(form.documents().isEmpty());
        QTRY_COMPARE(status(), QString(" |  | "));
    }

    void closingTheActiveDocumentActivatesTheOneBelow() {
        ScopedInteraction ui;
        TMainForm form;
        QVERIFY(showStarted(form));
        form.openDroppedFiles({program("A.nc"), program("B.nc"), program("C.nc")});
        QVERIFY(waitForEditors());
        auto active = [&form] { return QFileInfo(form.activeDocument()->document().fileName()).fileName(); };
        // The user clicks into the first window: it comes up over C, which was over B.
        TEditForm* first = form.documents().last();
        QTest::mouseClick(first->editor()->viewport(), Qt::LeftButton);
        QCOMPARE(active(), QString("A.nc"));
        form.menuItem("Zamknij1")->trigger();
        QTRY_COMPARE(form.documents().size(), 2);
        QCOMPARE(active(), QString("C.nc"));
        QCOMPARE(QFileInfo(qobject_cast<TEditForm*>(form.mdiArea()->activeSubWindow())->document().fileName())
                     .fileName(),
                 QString("C.nc"));
        form.menuItem("Zamknij1")->trigger();
        QTRY_COMPARE(form.documents().size(), 1);
        QCOMPARE(active(), QString("B.nc"));

        // "Previous window" sends the active window to the bottom: C under A under B.
        chooseMenuItem(form, "Zamknijwszystkie");
        QTRY_VERIFY(form.documents().isEmpty());
        form.openDroppedFiles({program("A.nc"), program("B.nc"), program("C.nc")});
        QVERIFY(waitForEditors());
        form.toolButton("PrevSpeedButton")->click();
        QCOMPARE(active(), QString("B.nc"));
        form.menuItem("Zamknij1")->trigger();
        QTRY_COMPARE(form.documents().size(), 2);
        QTRY_COMPARE(
            QFileInfo(qobject_cast<TEditForm*>(form.mdiArea()->activeSubWindow())->document().fileName())
                .fileName(),
            QString("A.nc"));
        QCOMPARE(active(), QString("A.nc"));
        QCOMPARE(fileNames(form.documents()), QStringList({"A.nc", "C.nc"}));
    }

    void tilingAndCascade() {
        ScopedInteraction ui;
        TMainForm form;
        form.setGeometry(0, 0, 1000, 700);
        form.show();
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc")});
        QVERIFY(waitForEditors());
        const QRect area = form.mdiArea()->viewport()->rect();
        chooseMenuItem(form, "Rozmiewpozziomie1");
        const QList<TEditForm*> documents = form.documents();
        for (TEditForm* document : documents)
            QCOMPARE(document->width(), area.width());
        QCOMPARE(documents[0]->y(), 0);
        QCOMPARE(documents[1]->y(), documents[0]->height());
        chooseMenuItem(form, "Rozmiewpionie1");
        for (TEditForm* document : documents)
            QCOMPARE(document->height(), area.height());
        QCOMPARE(documents[0]->x(), 0);
        QCOMPARE(documents[1]->x(), documents[0]->width());
        chooseMenuItem(form, "Kaskada1");
        QVERIFY(documents[0]->pos() != documents[1]->pos());
        QVERIFY(documents[0]->width() < area.width());
    }

    void windowMenuListsTheDocuments() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc")});
        QVERIFY(waitForEditors());
        auto* menu = form.findChild<QMenu*>("Okno1");
        QVERIFY(menu);
        QMetaObject::invokeMethod(menu, "aboutToShow");
        QList<QAction*> listed;
        for (QAction* action : menu->actions()) {
            if (action->isCheckable())
                listed.append(action);
        }
        QCOMPARE(listed.size(), 2);
        QVERIFY(listed[0]->text().startsWith(m_dir->filePath("A.nc")));
        QVERIFY(!listed[0]->isChecked() && listed[1]->isChecked());
        listed[0]->trigger();
        QCOMPARE(QFileInfo(form.activeDocument()->document().fileName()).fileName(), QString("A.nc"));
    }

    void highlightingSwitchesRecolourEveryDocument() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc")});
        QVERIFY(waitForEditors());
        const qsizetype g01 = form.documents()[0]->editor()->text().indexOf("G01");
        QList<QColor> coloured;
        for (TEditForm* document : form.documents())
            coloured.append(colourAt(document->editor(), g01));

        form.menuItem("Podwietlajskadni")->trigger();
        QVERIFY(waitForEditors());
        QVERIFY(!form.Settings.SyntaxHighlighting);
        for (TEditForm* document : form.documents()) {
            QVERIFY(!document->document().format().SyntaxHighlighting);
            QVERIFY(colourAt(document->editor(), g01) != coloured.first());
        }
        form.menuItem("Podwietlajskadni")->trigger();
        QVERIFY(waitForEditors());
        for (qsizetype i = 0; i < 2; ++i)
            QCOMPARE(colourAt(form.documents()[i]->editor(), g01), coloured[i]);

        form.menuItem("Podwietlajskadniprzypisaniu")->trigger();
        QVERIFY(!form.Settings.SyntaxHighlightingOnWriting);
        for (TEditForm* document : form.documents())
            QVERIFY(!document->document().format().SyntaxHighlightingOnWriting);
        // A document opened later takes the new settings too.
        clickToolButton(form, "NewSpeedButton");
        QVERIFY(!form.activeDocument()->document().format().SyntaxHighlightingOnWriting);
    }

    void droppedFilesOpenInOrder() {
        ScopedInteraction ui;
        // A path far longer than 259 characters is opened whole.
        QString deep = "deep";
        while (deep.size() < 300)
            deep += "/folder_with_a_long_name";
        const QString longPath = program(deep + "/Long.nc");
        QVERIFY(longPath.size() > 300);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(program("A.nc")), QUrl::fromLocalFile(m_dir->path()),
                      QUrl::fromLocalFile(longPath), QUrl::fromLocalFile(program("B.nc"))});
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window's handler: the application routes a drop only inside a real drag.
        static_cast<QObject&>(form).event(&drop);
        QVERIFY(drop.isAccepted());
        // The folder's window closed again.
        QTRY_COMPARE(fileNames(form.documents()), QStringList({"B.nc", "Long.nc", "A.nc"}));
        QCOMPARE(form.documents()[1]->document().fileName(), longPath);
        QVERIFY(ui->messages.isEmpty());
    }

    void insertDotsUsesTheDialogsChoice() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc", "G01 X10 Y-5 Z0 F100\r\n")});
        QVERIFY(waitForEditors());
        whenShown<QDialog>([](QDialog* dialog) {
            dialog->findChild<QComboBox*>("ComboBox")->setEditText("X Y Z");
            dialog->findChild<QPushButton*>("OkButton")->click();
        });
        clickToolButton(form, "KropkiSpeedButton");
        QVERIFY(waitForEditors());
        QCOMPARE(form.activeDocument()->editor()->text(), QString("G01 X10. Y-5. Z0. F100\r\n"));
        QVERIFY(form.activeDocument()->editor()->modified());
    }

    void spacesToolsChangeTheActiveDocument() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc", "N10G01X10Y-20.5F100\r\n")});
        QVERIFY(waitForEditors());
        clickToolButton(form, "SpSpeedButton");
        QVERIFY(waitForEditors());
        QCOMPARE(form.activeDocument()->editor()->text(), QString("N10 G01 X10 Y-20.5 F100\r\n"));
        QVERIFY(!QApplication::overrideCursor());
        clickToolButton(form, "UsunSpSpeedButton");
        QVERIFY(waitForEditors());
        QCOMPARE(form.activeDocument()->editor()->text(), QString("N10G01X10Y-20.5F100\r\n"));
    }

    void renumberingGoesThroughATemporaryFile_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Ok") << true << "N10 G01\r\nN20 X5\r\n";
        QTest::newRow("Anuluj") << false << "N5 G01\r\nN7 X5\r\n";
    }
    void renumberingGoesThroughATemporaryFile() {
        QFETCH(bool, confirm);
        QFETCH(QString, expected);
        ScopedInteraction ui;
        TMainForm form;
        form.setGeometry(0, 0, 1000, 700);
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc", "N5 G01\r\nN7 X5\r\n")});
        QVERIFY(waitForEditors());
        TEditForm* document = form.activeDocument();
        QString caption;
        bool tempFileDuringDialog = false;
        whenShown<TFormRenum>([&](TFormRenum* dialog) {
            caption = dialog->windowTitle();
            tempFileDuringDialog = QFileInfo::exists(privateTempDir() + "Renum.tmp");
            QTRY_VERIFY(!dialog->previewLoading());
            dialog->ButtonStartClick();
            QTRY_VERIFY(!dialog->previewLoading());
            if (confirm)
                dialog->ButtonOKClick();
            else
                dialog->ButtonAnulujClick();
        });
        clickToolButton(form, "RenumberSpeedButton");
        QVERIFY(waitForEditors());
        QCOMPARE(caption, QString("Przenumeruj"));
        QVERIFY(tempFileDuringDialog);
        QCOMPARE(document->editor()->text(), expected);
        QVERIFY(!QFileInfo::exists(privateTempDir() + "Renum.tmp"));
        QCOMPARE(ui->beeps, 0);
    }

    // While a program is still loading there is no text to renumber: no dialog, a beep.
    void renumberingWaitsForTheLoad() {
        ScopedInteraction ui;
        TMainForm form;
        form.setGeometry(0, 0, 1000, 700);
        form.FormShow();
        QVERIFY(waitForEditors());
        QByteArray big;
        for (int i = 0; i < 60000; ++i)
            big += "N" + QByteArray::number(i) + " G01 X1\r\n";
        bool loadingWhenAsked = false;
        bool dialogShown = false;
        QTimer watch; // a dialog shown by mistake is noted and cancelled
        connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<TFormRenum*>(widget); dialog && dialog->isVisible()) {
                    dialogShown = true;
                    dialog->ButtonAnulujClick();
                }
        });
        watch.start(10);
        form.openDroppedFiles({program("BIG.nc", big)});
        loadingWhenAsked = form.activeDocument() && form.activeDocument()->isLoading();
        clickToolButton(form, "RenumberSpeedButton");
        QVERIFY(waitForEditors());
        QVERIFY(loadingWhenAsked);
        QVERIFY(!dialogShown);
        QCOMPARE(ui->beeps, 1);
        QCOMPARE(form.activeDocument()->editor()->lineCount(), 60000);
    }

    void toolWindowCommandsOpenOneWindowEach() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.toolButton("DrillSpeedButton")->click();
        form.menuItem("Obliczwsprzdneotworwrozmieszczonychnaokrgu")->trigger();
        QCOMPARE(topLevel<TOtworyForm>().size(), 1);
        qDeleteAll(topLevel<TOtworyForm>());

        form.LastOpenPath = m_dir->path();
        chooseMenuItem(form, "Przegldarkaplikw1");
        chooseMenuItem(form, "Przegldarkaplikw1");
        QList<TFinder_Form*> browsers;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* browser = qobject_cast<TFinder_Form*>(widget))
                browsers.append(browser);
        }
        QCOMPARE(browsers.size(), 1);
        QCOMPARE(QDir(browsers[0]->currentFolder()), QDir(m_dir->path()));
        QCOMPARE(browsers[0]->formatSettings(), form.Settings);
        delete browsers[0];
    }

    // Where no calculator program is installed the user learns what was looked for.
    void missingSystemCalculatorIsNamed() {
        ScopedInteraction ui;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_dir->path().toLocal8Bit()); // a folder without programs
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.toolButton("CalcSpeedButton")->click();
        form.menuItem("Kalkulator")->trigger();
        qputenv("PATH", path);
        QCOMPARE(ui->messages.size(), 2);
        const auto& message = ui->messages.first();
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.caption, QString("Błąd"));
        for (const QStringList& candidate : SystemCalculator::defaultCandidates())
            QVERIFY2(message.text.contains(candidate.first()), qPrintable(message.text));
    }

    // Calculators, the file browser and the transfer window are windows of their own: the
    // window manager minimises and stacks each apart from the main window. The main window
    // still finds them, closes them when the program ends and frees them with itself.
    void toolWindowsStandOnTheirOwn() {
        ScopedInteraction ui;
        QList<QPointer<QWidget>> opened;
        {
            TMainForm form;
            QVERIFY(showStarted(form));
            form.LastOpenPath = m_dir->path();
            for (const char* button :
                 {"DrillSpeedButton", "TrigSpeedButton", "ParamSpeedButton", "SpeedButton1"})
                form.toolButton(button)->click();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_F5);
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<TOtworyForm*>(window) || qobject_cast<TKatyForm*>(window) ||
                    qobject_cast<TCalcForm*>(window) || qobject_cast<TMcForm*>(window) ||
                    qobject_cast<TFinder_Form*>(window))
                    opened.append(window);
            }
            QCOMPARE(opened.size(), 5);
            for (const QPointer<QWidget>& window : std::as_const(opened)) {
                const char* name = window->metaObject()->className();
                QVERIFY2(window->isVisible(), name);
                QVERIFY2(!window->parentWidget(), name);
                QVERIFY2(!window->windowHandle()->transientParent(), name);
                // A dialog-type window is tied by the window manager to the program's others.
                QVERIFY2(window->windowType() == Qt::Window, name);
            }
            // Opened again, each one is found, not made twice.
            form.toolButton("ParamSpeedButton")->click();
            QCOMPARE(topLevel<TCalcForm>().size(), 1);

            bool transferWindowOnItsOwn = false;
            whenShown<TComPortForm>([&transferWindowOnItsOwn](TComPortForm* window) {
                transferWindowOnItsOwn = window->isModal() && !window->parentWidget() &&
                                         !window->windowHandle()->transientParent();
                window->findChild<QPushButton*>("QuitBtn")->click();
            });
            form.toolButton("ComPortSpeedButton")->click();
            QVERIFY(transferWindowOnItsOwn);

            // Ending the program from the main window closes them.
            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_Q,
                            Qt::ControlModifier);
            QVERIFY(!form.isVisible());
            for (const QPointer<QWidget>& window : std::as_const(opened))
                QVERIFY(!window || !window->isVisible());
        }
        for (const QPointer<QWidget>& window : std::as_const(opened))
            QVERIFY(window.isNull());

        // A main window freed without closing frees its tool windows too.
        QPointer<QWidget> calculator;
        {
            TMainForm form;
            form.FormShow();
            QVERIFY(waitForEditors());
            clickToolButton(form, "SpeedButton1");
            calculator = topLevel<TMcForm>().value(0);
            QVERIFY(calculator);
        }
        QVERIFY(calculator.isNull());
    }

    void findEnablesFindNext() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        clickToolButton(form, "FindSpeedButton"); // no document: nothing
        QVERIFY(!enabled(form, "Znajdnastpny"));
        form.openDroppedFiles({program("A.nc")});
        QVERIFY(waitForEditors());
        form.activeDocument()->editor()->setSelection(3, 5);
        clickToolButton(form, "FindSpeedButton");
        QVERIFY(enabled(form, "Znajdnastpny") && enabled(form, "FindNextSpeedButton"));
        // The command state routine leaves find next alone.
        chooseMenuItem(form, "Zamknijwszystkie");
        QTRY_VERIFY(form.documents().isEmpty());
        QVERIFY(enabled(form, "Znajdnastpny"));
    }

    void fontChoiceReachesEveryDocumentAndTheSettingsFile() {
        ScopedInteraction ui;
        const FontDialogRunner previous = setFontDialogRunner([](QFontDialog& dialog) {
            QFont font(QStringLiteral("DejaVu Sans Mono"));
            font.setPointSize(10);
            dialog.setCurrentFont(font);
            return true;
        });
        {
            TMainForm form;
            form.FormShow();
            QVERIFY(waitForEditors());
            form.openDroppedFiles({program("A.nc"), program("B.nc")});
            QVERIFY(waitForEditors());
            chooseMenuItem(form, "Czcionka");
            QVERIFY(waitForEditors());
            QCOMPARE(form.Settings.FontSize, 10);
            for (TEditForm* document : form.documents())
                QCOMPARE(document->document().format().FontSize, 10);
            QVERIFY(form.close());
        }
        setFontDialogRunner(previous);
        IniFile ini(m_dir->filePath("Ordalvex.INI"));
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("Format", "FontSize", -1), 10);
    }

    // A face missing on this system (the default one on most Linux desktops) is shown as a
    // fixed-pitch face; the font dialog offers that face, and OK without a change keeps it.
    void missingFaceStaysFixedPitch_data() {
        QTest::addColumn<QString>("face");
        QTest::newRow("default face") << "Courier New";
        QTest::newRow("face of no system") << "Ordalvex Brak Takiej Czcionki";
    }
    void missingFaceStaysFixedPitch() {
        QFETCH(QString, face);
        if (QFontDatabase::hasFamily(face))
            QSKIP("the face is installed here");
        ScopedInteraction ui;
        writeFile(m_dir->iniPath(), ("[Format]\r\nFontName=" + face + "\r\nFontSize=11\r\n").toUtf8());
        QString offered;
        int offeredSize = 0;
        const FontDialogRunner previous = setFontDialogRunner([&](QFontDialog& dialog) {
            offered = dialog.currentFont().family();
            offeredSize = dialog.currentFont().pointSize();
            return true;
        });
        {
            TMainForm form;
            form.FormShow();
            QVERIFY(waitForEditors());
            form.openDroppedFiles({program("A.nc")});
            QVERIFY(waitForEditors());
            TRichEdit98* editor = form.activeDocument()->editor();
            const QString shown = QFontInfo(editor->font()).family();
            QVERIFY2(QFontInfo(editor->font()).fixedPitch(), qPrintable(shown));
            form.menuItem("Czcionka")->trigger();
            QCOMPARE(offered, shown);
            QCOMPARE(offeredSize, 11);
            QVERIFY(QFontDatabase::isFixedPitch(offered));
            editor = form.activeDocument()->editor();
            QCOMPARE(QFontInfo(editor->font()).family(), shown);
            QVERIFY(QFontInfo(editor->font()).fixedPitch());
            QVERIFY(form.close());
        }
        setFontDialogRunner(previous);
        IniFile ini(m_dir->iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("Format", "FontName"), face);
    }

    void aboutBoxAndTransferWindowAreModal() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        QString aboutCaption;
        whenShown<TAboutBox>([&aboutCaption](TAboutBox* box) {
            aboutCaption = box->windowTitle();
            box->findChild<QPushButton*>("OKButton")->click();
        });
        chooseMenuItem(form, "Oprogramie2");
        QCOMPARE(aboutCaption, QString("O programie"));

        whenShown<TComPortForm>(
            [](TComPortForm* window) { window->findChild<QPushButton*>("QuitBtn")->click(); });
        clickToolButton(form, "ComPortSpeedButton");
        QCOMPARE(form.ComPortSettingsFileName, QString("Default.cfg"));
        QCOMPARE(form.toolButton("ComPortSpeedButton")->toolTip(),
                 QString("Ustawienia portu RS232 --> Default.cfg"));
    }
};

QTEST_MAIN(TestMainCommands)
#include "test_maincommands.moc"
