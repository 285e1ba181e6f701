// Start-up, settings file, window restore, New, Open and the close sequence of the main window.
#include "common/core/inifile.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "mainwindowcommands.h"
#include "scriptedinteraction.h"
#include "shell/ui/tmainform.h"
#include "testdata.h"

#include <memory>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

QRect placementRect(const DocumentPlacement& p) {
    return QRect(p.Left, p.Top, p.Width, p.Height);
}

QStringList fileNames(const QList<TEditForm*>& documents) {
    QStringList names;
    for (TEditForm* document : documents)
        names.append(QFileInfo(document->document().fileName()).fileName());
    return names;
}

} // namespace

class TestMainStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsFolder> m_dir;

    QString iniPath() const { return m_dir->iniPath(); }
    QString program(const QString& name) { return writeProgram(m_dir->path(), name); }
    QString program(const QString& name, const QByteArray& text) {
        return writeProgram(m_dir->path(), name, text);
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<SettingsFolder>(); }
    void cleanup() { m_dir.reset(); }

    void firstStartWithoutSettingsFile() {
        ScopedInteraction ui;
        {
            TMainForm form;
            QCOMPARE(form.windowTitle(), QString("Ordalvex"));
            QCOMPARE(form.minimumSize(), QSize(750, 440));
            QVERIFY(form.acceptDrops());
            form.FormShow();
            QVERIFY(waitForEditors());
            QVERIFY(form.documents().isEmpty());
            QVERIFY(form.menuItem("Podwietlajskadni")->isChecked());
            QVERIFY(form.menuItem("Podwietlajskadniprzypisaniu")->isChecked());
            QCOMPARE(form.Settings.FontName, QString("Courier New"));
            QCOMPARE(form.Settings.FontSize, 12);
            QCOMPARE(form.toolButton("ComPortSpeedButton")->toolTip(),
                     QString("Ustawienia portu RS232 --> "));

            clickToolButton(form, "OpenSpeedButton"); // cancelled by the script
            QCOMPARE(ui->openRequests.size(), 1);
            QCOMPARE(ui->openRequests[0].folder, QDir::homePath());
            QCOMPARE(ui->openRequests[0].filterIndex, 1);
            QCOMPARE(ui->openRequests[0].filters.size(), 5);
            QVERIFY(form.documents().isEmpty());
            QVERIFY(!QFile::exists(iniPath()));
            QVERIFY(form.close());
        }
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QVERIFY(ini.hasSection("Format") && ini.hasSection("LastRun"));
        QCOMPARE(ini.readInteger("LastRun", "OpenFilesNumber", -1), 0);
        QCOMPARE(ini.readString("Format", "FontName"), QString("Courier New"));
        QVERIFY(ui->messages.isEmpty());
    }

    void restoreRoundTripOfThreeWindows() {
        ScopedInteraction ui;
        const QString a = program("A.nc"), b = program("B.nc"), c = program("C.nc");
        QRect geometryA(20, 30, 400, 300), geometryB(60, 40, 420, 310);
        {
            TMainForm form;
            form.setGeometry(0, 0, 1000, 700);
            form.show();
            form.FormShow();
            QVERIFY(waitForEditors());
            form.openDroppedFiles({a, b, c});
            QVERIFY(waitForEditors());
            QCOMPARE(form.documents().size(), 3);
            TEditForm* docA = form.documents()[2];
            TEditForm* docB = form.documents()[1];
            TEditForm* docC = form.documents()[0];
            docA->setGeometry(geometryA);
            docB->setGeometry(geometryB);
            docA->editor()->setSelStart(5);
            docB->editor()->setSelStart(10);
            docC->editor()->setSelStart(12);
            docC->showMaximized();
            QVERIFY(form.close());
        }
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("LastRun", "OpenFilesNumber", -1), 3);
        QCOMPARE(ini.readString("LastRun", "OpenFile_1"), c);
        QCOMPARE(ini.readInteger("LastRun", "Window_State_1", -1), 2);
        QCOMPARE(ini.readInteger("LastRun", "Window_State_2", -1), 1);
        QCOMPARE(ini.readString("LastRun", "OpenFile_3"), a);
        QCOMPARE(ini.readInteger("LastRun", "Window_SelStr_3", -1), 5);

        TMainForm form;
        form.setGeometry(0, 0, 1000, 700);
        form.show();
        form.FormShow();
        QVERIFY(waitForEditors());
        const QList<TEditForm*> documents = form.documents();
        QCOMPARE(fileNames(documents), QStringList({"C.nc", "B.nc", "A.nc"}));
        QCOMPARE(form.activeDocument(), documents[0]);
        QVERIFY(documents[0]->isMaximized());
        QVERIFY(!documents[1]->isMaximized() && !documents[2]->isMaximized());
        QCOMPARE(documents[1]->geometry(), geometryB);
        QCOMPARE(documents[2]->geometry(), geometryA);
        QCOMPARE(documents[0]->editor()->selStart(), qsizetype(12));
        QCOMPARE(documents[1]->editor()->selStart(), qsizetype(10));
        QCOMPARE(documents[2]->editor()->selStart(), qsizetype(5));
        QVERIFY(!documents[0]->editor()->modified());

        // Restored from maximized, the window takes two thirds of the client area, 10 pixels
        // in from the main window's corner.
        documents[0]->showNormal();
        const QRect normal = documents[0]->geometry();
        QCOMPARE(normal.topLeft(), form.pos() + QPoint(10, 10));
        QCOMPARE(normal.width(), form.width() * 2 / 3);
        QVERIFY(normal.height() > 0 && normal.height() <= form.height() * 2 / 3);
        QVERIFY(ui->messages.isEmpty());
    }

    // The window manager maximises the main window only after it is shown, after the last
    // run's windows are back; a document saved maximised still comes back, when the user
    // restores it, at two thirds of the main window as it is by then.
    void maximisedDocumentRestoresToTheFinalMainWindow() {
        ScopedInteraction ui;
        const QString path = program("A.nc");
        writeFile(iniPath(), ("[LastRun]\r\nOpenFilesNumber=1\r\nOpenFile_1=" + path +
                              "\r\nWindow_Left_1=0\r\nWindow_Top_1=0\r\nWindow_Width_1=1180\r\n"
                              "Window_Height_1=700\r\nWindow_State_1=2\r\n")
                                 .toUtf8());
        TMainForm form;
        form.setGeometry(0, 0, 760, 450);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.FormShow();
        TEditForm* document = form.activeDocument();
        QVERIFY(document && document->isMaximized());

        form.resize(1200, 900); // the window manager's maximising
        QTRY_COMPARE(form.mdiArea()->viewport()->width(), document->width());
        QAction* restore = nullptr;
        for (QAction* action : document->systemMenu()->actions()) {
            if (action->text().remove(QLatin1Char('&')) == QLatin1String("Restore"))
                restore = action;
        }
        QVERIFY(restore);
        restore->trigger();
        QVERIFY(!document->isMaximized());
        QCOMPARE(document->pos(), form.pos() + QPoint(10, 10));
        QCOMPARE(document->width(), 1200 * 2 / 3);
        QVERIFY(document->height() > 450 * 2 / 3 && document->height() <= 900 * 2 / 3);
    }

    void damagedSettingsFile() {
        ScopedInteraction ui;
        const QString kept = program("Kept.nc");
        const QString third = program("Third.nc");
        writeFile(iniPath(),
                  QString("[Format]\r\nSyntaxHighlighting=nie\r\nSyntaxHighlightingOnWriting=0\r\n"
                          "FontSize=12pt\r\n[LastRun]\r\nLastFilterIndex=abc\r\nOpenFilesNumber=3\r\n"
                          "OpenFile_1=" +
                          kept +
                          "\r\nWindow_Left_1=x1\r\nWindow_Width_1=\r\nWindow_SelStr_1=-\r\n"
                          "OpenFile_2=/no/such/file.nc\r\nOpenFile_3=" +
                          third + "\r\nWindow_State_3=3\r\n")
                      .toUtf8());
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        QVERIFY(form.Settings.SyntaxHighlighting);
        QVERIFY(!form.Settings.SyntaxHighlightingOnWriting);
        QVERIFY(!form.menuItem("Podwietlajskadniprzypisaniu")->isChecked());
        QCOMPARE(form.Settings.FontSize, 12);
        QCOMPARE(form.OpenFilterIndex, 1);
        // The missing file is skipped; state 3 leaves its window as made.
        QCOMPARE(fileNames(form.documents()), QStringList({"Kept.nc", "Third.nc"}));
        const DocumentPlacement first = form.documents()[0]->GetWindowState();
        QCOMPARE(placementRect(first), QRect(0, 0, 440, 350));
        QCOMPARE(first.SelStart, qsizetype(0));
        QVERIFY(ui->messages.isEmpty());

        // At the next exit the numbering is dense again.
        QVERIFY(form.close());
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("LastRun", "OpenFilesNumber", -1), 2);
        QCOMPARE(ini.readString("LastRun", "OpenFile_2"), third);
        QVERIFY(!ini.hasKey("LastRun", "OpenFile_3"));
    }

    void unwritableSettingsFolderDoesNotHoldUpTheExit() {
        ScopedInteraction ui;
        writeFile(m_dir->filePath("plain-file"), "not a folder");
        const QString unreachable = m_dir->filePath("plain-file/Ordalvex.INI");
        qputenv("ORDALVEX_INI", unreachable.toLocal8Bit());
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc")});
        QVERIFY(waitForEditors());
        QVERIFY(!form.SaveSettings());
        QVERIFY(form.close());
        QVERIFY(!QFileInfo::exists(unreachable));
        QVERIFY(ui->messages.isEmpty());
    }

    void cancelledCloseLeavesTheSettingsUntouched() {
        ScopedInteraction ui;
        const QByteArray before = "[Format]\r\nFontSize=9\r\n[Dots]\r\nDots_Combo_Items=0\r\n";
        writeFile(iniPath(), before);
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        form.openDroppedFiles({program("A.nc"), program("B.nc")});
        QVERIFY(waitForEditors());
        TEditForm* active = form.activeDocument();
        active->editor()->setSelText("X");
        QVERIFY(active->editor()->modified());
        ui->answers.push_back(QMessageBox::Cancel);
        QVERIFY(!form.close());
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(readFile(iniPath()), before);
        QCOMPARE(form.documents().size(), 2);

        // Answering No lets the exit go ahead, and the settings are written.
        ui->answers.push_back(QMessageBox::No);
        QVERIFY(form.close());
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("LastRun", "OpenFilesNumber", -1), 2);
        QCOMPARE(ini.readInteger("Dots", "Dots_Combo_Items", -1), 0);
    }

    void newTwiceNumbersTheWindows() {
        ScopedInteraction ui;
        {
            TMainForm form;
            form.FormShow();
            QVERIFY(waitForEditors());
            clickToolButton(form, "NewSpeedButton");
            clickToolButton(form, "NewSpeedButton");
            QCOMPARE(form.documents().size(), 2);
            QCOMPARE(form.documents()[0]->windowTitle(), QString("Bez nazwy_2"));
            QCOMPARE(form.documents()[1]->windowTitle(), QString("Bez nazwy_1"));
            QVERIFY(form.documents()[0]->document().fileName().isEmpty());
            QCOMPARE(form.NewFileCounter, 3);
            QVERIFY(form.close());
        }
        // The untitled windows are written with empty names and not reopened; the counter
        // starts again.
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("LastRun", "OpenFile_1", "x"), QString());
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        QVERIFY(form.documents().isEmpty());
        clickToolButton(form, "NewSpeedButton");
        QCOMPARE(form.activeDocument()->windowTitle(), QString("Bez nazwy_1"));
    }

    void openThreeFilesFromOneFolder() {
        ScopedInteraction ui;
        const QString a = program("progs/A.nc"), b = program("progs/B.nc"), c = program("progs/C.min");
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        ui->openResults.push_back({{a, b, c}, 3});
        clickToolButton(form, "OpenSpeedButton");
        QCOMPARE(fileNames(form.documents()), QStringList({"C.min", "B.nc", "A.nc"}));
        QCOMPARE(form.LastOpenPath, m_dir->filePath("progs"));
        QCOMPARE(form.OpenFilterIndex, 3);

        clickToolButton(form, "OpenSpeedButton");
        QCOMPARE(ui->openRequests.size(), 2);
        QCOMPARE(ui->openRequests[1].folder, m_dir->filePath("progs"));
        QCOMPARE(ui->openRequests[1].filterIndex, 3);

        QVERIFY(form.close());
        IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger("LastRun", "LastFilterIndex", -1), 3);
        QCOMPARE(ini.readString("LastRun", "LastOpenPath"), m_dir->filePath("progs"));
    }

    void commandLineFilesFollowTheRestoredOnes() {
        ScopedInteraction ui;
        const QString restored = program("Old.nc");
        writeFile(iniPath(), ("[LastRun]\r\nOpenFilesNumber=1\r\nOpenFile_1=" + restored + "\r\n").toUtf8());
        TMainForm form;
        form.setCommandLineFiles(
            {program("One.nc"), m_dir->filePath("missing.nc"), m_dir->path(), program("Two.nc")});
        form.FormShow();
        QVERIFY(waitForEditors());
        QCOMPARE(fileNames(form.documents()), QStringList({"Two.nc", "One.nc", "Old.nc"}));
        QVERIFY(ui->messages.isEmpty());
    }

    void comPortHintShowsTheRememberedFile() {
        ScopedInteraction ui;
        writeFile(iniPath(), "[LastRun]\r\nComPortSettingsFileName=/machines/Mill.cfg\r\n");
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        QCOMPARE(form.toolButton("ComPortSpeedButton")->toolTip(),
                 QString("Ustawienia portu RS232 --> Mill.cfg"));
        QCOMPARE(form.ComPortSettingsFileName, QString("/machines/Mill.cfg"));
    }

    // The open and save dialogs show the programs of other controls too; the types the settings
    // file remembers by number keep their numbers.
    void fileDialogsOfferProgramsOfOtherControls() {
        ScopedInteraction ui;
        const QString cnc =
            QStringLiteral("Programy CNC (*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia)");
        TMainForm form;
        form.FormShow();
        form.menuItem("Otwrz1")->trigger();
        QCOMPARE(ui->openRequests.size(), 1);
        const QStringList open = ui->openRequests[0].filters;
        QCOMPARE(open.size(), 5);
        QCOMPARE(open[0], cnc);
        QCOMPARE(open[1], QString("Programy CNC (*.nc)"));
        QCOMPARE(open[4], QString("Wszystkie pliki (*)"));

        form.openDroppedFiles({program("O0001.nc")});
        form.menuItem("Zapiszjako1")->trigger();
        QCOMPARE(ui->saveRequests.size(), 1);
        const FileDialogRequest& save = ui->saveRequests[0];
        QCOMPARE(save.filterIndex, 1);
        QCOMPARE(save.filters.size(), 6);
        QCOMPARE(save.filters[0], QString("Programy CNC (*.nc)"));
        QCOMPARE(save.filters[4], QString("Wszystkie pliki (*.*)"));
        QCOMPARE(save.filters[5], cnc);
        // Saved under that type, the name is taken as typed.
        QCOMPARE(save.adjustOnTypeChange(6, "O0001").defaultSuffix, QString());
    }

    void saveAsSetsTheOpenFolder() {
        ScopedInteraction ui;
        TMainForm form;
        form.FormShow();
        QVERIFY(waitForEditors());
        clickToolButton(form, "NewSpeedButton");
        form.LastOpenPath = QStringLiteral("/somewhere");
        clickToolButton(form, "SaveAsSpeedButton"); // cancelled: an untitled document has no folder
        QCOMPARE(ui->saveRequests.size(), 1);
        QCOMPARE(form.LastOpenPath, QString());

        const QString target = m_dir->filePath("saved/O0001.nc");
        QDir().mkpath(QFileInfo(target).absolutePath());
        ui->saveResults.push_back({{target}, 1});
        clickToolButton(form, "SaveAsSpeedButton");
        QVERIFY(QFileInfo::exists(target));
        QCOMPARE(QDir(form.LastOpenPath), QDir(m_dir->filePath("saved")));
    }
};

QTEST_MAIN(TestMainStartup)
#include "test_mainstartup.moc"
