// Saving with F2 in the main window, as the user does it: the date stamp of the comments and
// saving into a folder that takes no new files.
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "filesizelimit.h"
#include "lockedfolder.h"
#include "scriptedinteraction.h"
#include "shell/ui/tmainform.h"
#include "testdata.h"

#include <memory>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

QByteArray today() {
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
}

// Presses F2 where the keyboard focus is, as a user saving the active program does.
void pressSave() {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_F2);
}

} // namespace

class TestMainSave : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsFolder> m_dir;
    std::unique_ptr<TMainForm> m_form;

    // Opens `path` in a shown main window; the program's text has the keyboard focus.
    TEditForm* openShown(const QString& path) {
        m_form = std::make_unique<TMainForm>();
        m_form->show();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            return nullptr;
        m_form->openDroppedFiles({path});
        waitForEditors();
        TEditForm* document = m_form->activeDocument();
        if (!document || document->document().fileName() != path)
            return nullptr;
        document->editor()->setFocus();
        const bool focused =
            QTest::qWaitFor([document] { return document->isAncestorOf(QApplication::focusWidget()); }, 5000);
        return focused ? document : nullptr;
    }

    // Types `text` where the caret is, through the widget that has the focus.
    static void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<SettingsFolder>(); }
    void cleanup() {
        m_form.reset();
        m_dir.reset();
    }

    void f2StampsOnlyDatesInComments() {
        ScopedInteraction ui;
        const QString path = writeProgram(m_dir->path(), QStringLiteral("O0010.NC"),
                                          "%\r\nO0010 (DATA 01.02.2024)\r\n#5=[10-20-3000]\r\n"
                                          "G01 X01.02.2024 ; 01-02-2024\r\n(NR 101.02.2024)\r\n");
        TEditForm* document = openShown(path);
        QVERIFY(document);
        type(QStringLiteral("N1"));
        pressSave();
        const QByteArray expected = "N1%\r\nO0010 (DATA " + today() +
                                    ")\r\n#5=[10-20-3000]\r\nG01 X01.02.2024 ; " + today() +
                                    "\r\n(NR 101.02.2024)\r\n";
        QCOMPARE(readFile(path), expected);
        QCOMPARE(document->editor()->text(), QString::fromLatin1(expected));
        QVERIFY(!document->editor()->modified());
        QVERIFY(ui->messages.isEmpty());
    }

    void lockedFolderSavesInPlace_data() {
        QTest::addColumn<bool>("backupThere");
        QTest::newRow("writable backup copy: no warning") << true;
        QTest::newRow("no backup copy possible: warning") << false;
    }
    void lockedFolderSavesInPlace() {
        QFETCH(bool, backupThere);
        ScopedInteraction ui;
        const QByteArray original("%\r\nO0010 (WALEK)\r\nN10 G00 X1\r\nN20 M30\r\n");
        const QString path = writeProgram(m_dir->path(), QStringLiteral("O0010.NC"), original);
        const QString backup = m_dir->filePath(QStringLiteral("O0010.bak"));
        QStringList writable = {path};
        if (backupThere) {
            QVERIFY(writeFile(backup, "OLDER\r\n"));
            writable.append(backup);
        }
        TEditForm* document = openShown(path);
        QVERIFY(document);
        type(QStringLiteral("N5"));
        LockedFolder locked(m_dir->path(), writable);
        if (!locked.active())
            QSKIP(qPrintable(locked.reason()));
        pressSave();
        locked.unlock();
        QCOMPARE(readFile(path), "N5" + original);
        QVERIFY(!document->editor()->modified());
        QCOMPARE(QFile::exists(backup), backupThere);
        if (backupThere) {
            QCOMPARE(readFile(backup), original);
            QVERIFY(ui->messages.isEmpty());
            return;
        }
        QCOMPARE(ui->messages.size(), 1);
        const auto& warning = ui->messages.first();
        QCOMPARE(warning.icon, QMessageBox::Warning);
        QCOMPARE(warning.caption, QStringLiteral("Ostrzeżenie"));
        QCOMPARE(warning.text,
                 QStringLiteral("W folderze \"%1\" nie można tworzyć plików.\rPlik \"O0010.NC\" "
                                "został zapisany bezpośrednio, bez kopii zapasowej \"O0010.bak\".")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    }

    void interruptedSaveInPlaceIsReported() {
#ifdef Q_OS_UNIX
        ScopedInteraction ui;
        const QByteArray original("%\r\nO0010\r\nN10 G00 X1\r\n");
        const QString path = writeProgram(m_dir->path(), QStringLiteral("O0010.NC"), original);
        TEditForm* document = openShown(path);
        QVERIFY(document);
        type(QString(300, QLatin1Char('X')));
        LockedFolder locked(m_dir->path(), {path});
        if (!locked.active())
            QSKIP(qPrintable(locked.reason()));
        // A file-size limit makes the write fail part-way, as a full disk would.
        FileSizeLimit limit(100);
        QVERIFY(limit.active());
        pressSave();
        limit.lift();
        locked.unlock();
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().icon, QMessageBox::Critical);
        QCOMPARE(ui->messages.first().text,
                 QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(EFBIG));
        QCOMPARE(readFile(path), original);
        QVERIFY(document->editor()->modified());
#else
        QSKIP("needs a file-size limit");
#endif
    }
};

QTEST_MAIN(TestMainSave)
#include "test_mainsave.moc"
