#include "common/core/codepage.h"
#include "document/core/programsave.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "filesizelimit.h"
#include "scriptedinteraction.h"
#include "testdata.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

QString today() {
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

// A document window showing `bytes` from the file `name` in `dir`, coloured.
std::unique_ptr<TEditForm> openProgram(const QTemporaryDir& dir, const QString& name,
                                       const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    auto form = std::make_unique<TEditForm>();
    FormatSettings format;
    format.FontName = QStringLiteral("Courier New");
    format.FontSize = 10;
    form->document().setFormat(format);
    form->OpenFile(path);
    waitForEditors();
    return form;
}

// Types at the end of the text, as the user would.
void typeAtEnd(TEditForm& form, const QString& text) {
    form.editor()->setSelStart(form.editor()->textLength());
    form.editor()->setSelText(text);
}

const QString kNameQuestion =
    QStringLiteral("Nazwa pliku \"%1\" jest inna niż nazwa programu \"%2\".\rZapisać plik ?");

} // namespace

class TestEditSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nameQuestion_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<QString>("programNumber");
        QTest::newRow("matching name saves at once") << "O0010.NC" << QByteArray("%\r\nO0010\r\n") << 0 << "";
        QTest::newRow("colon number matches") << "O0010.NC" << QByteArray(":0010\r\n") << 0 << "";
        QTest::newRow("no program number saves at once") << "TEST.NC" << QByteArray("N10 G00\r\n") << 0 << "";
        QTest::newRow("case counts, Yes saves")
            << "o0010.nc" << QByteArray("O0010\r\n") << int(QMessageBox::Yes) << "O0010";
        QTest::newRow("other name, No keeps it unsaved")
            << "TEST.NC" << QByteArray("O0020\r\n") << int(QMessageBox::No) << "O0020";
    }
    void nameQuestion() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, text);
        QFETCH(int, answer);
        QFETCH(QString, programNumber);
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, fileName, text);
        typeAtEnd(*form, QStringLiteral("M30\r\n"));
        form->editor()->setSelStart(3);
        if (answer)
            ui->answers.push_back(QMessageBox::StandardButton(answer));
        const auto result = form->Save();
        const bool saved = answer != QMessageBox::No;
        QCOMPARE(result, saved ? TEditForm::SaveResult::Saved : TEditForm::SaveResult::NotSaved);
        QCOMPARE(form->editor()->modified(), !saved);
        QCOMPARE(form->editor()->selStart(), qsizetype(3));
        QCOMPARE(readFile(form->document().fileName()).endsWith("M30\r\n"), saved);
        QCOMPARE(QFile::exists(backupPathFor(form->document().fileName())), saved);
        if (!answer) {
            QVERIFY(ui->messages.isEmpty());
            QCOMPARE(ui->beeps, 0);
            return;
        }
        QCOMPARE(ui->messages.size(), 1);
        const auto& asked = ui->messages.first();
        QCOMPARE(asked.text, kNameQuestion.arg(QFileInfo(fileName).completeBaseName(), programNumber));
        QCOMPARE(asked.caption, QStringLiteral("Ostrzeżenie"));
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(ui->beeps, 1);
        // After Yes the window no longer asks; after No the next save asks again.
        typeAtEnd(*form, QStringLiteral("M2\r\n"));
        ui->answers.push_back(QMessageBox::No);
        form->Save();
        QCOMPARE(ui->messages.size(), answer == QMessageBox::Yes ? 1 : 2);
    }

    void backupHoldsThePreviousFile() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QByteArray original("%\r\nO0010 (walek)\r\nn10 g00\r\n");
        auto form = openProgram(dir, QStringLiteral("O0010.NC"), original);
        const QString backup = dir.filePath(QStringLiteral("O0010.bak"));
        typeAtEnd(*form, QStringLiteral("M30\r\n"));
        QCOMPARE(form->Save(), TEditForm::SaveResult::Saved);
        QCOMPARE(readFile(backup), original);
        const QByteArray first = readFile(form->document().fileName());
        QCOMPARE(first, QByteArray("%\r\nO0010 (WALEK)\r\nN10 G00\r\nM30\r\n"));
        typeAtEnd(*form, QStringLiteral("M2"));
        QCOMPARE(form->Save(), TEditForm::SaveResult::Saved);
        QCOMPARE(readFile(backup), first);
        QCOMPARE(readFile(form->document().fileName()), first + "M2\r\n"); // the last line gets its line end
        QVERIFY(ui->messages.isEmpty());
    }

    void datesAreStamped() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form =
            openProgram(dir, QStringLiteral("D.NC"), "(DATA 01.02.2003)\r\n(ZMIANA 01-02-2003)\r\nX1\r\n");
        form->editor()->setModified(true);
        QCOMPARE(form->Save(), TEditForm::SaveResult::Saved);
        const QByteArray expected =
            "(DATA " + today().toLatin1() + ")\r\n(ZMIANA " + today().toLatin1() + ")\r\nX1\r\n";
        QCOMPARE(readFile(form->document().fileName()), expected);
        QCOMPARE(form->editor()->text(), QString::fromLatin1(expected));
        QVERIFY(!form->editor()->modified());
    }

    void readOnlyEditorIgnoresSave() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("R.NC"), "X1\r\n");
        typeAtEnd(*form, QStringLiteral("X2"));
        form->editor()->setReadOnly(true);
        QCOMPARE(form->Save(), TEditForm::SaveResult::NotSaved);
        QCOMPARE(readFile(form->document().fileName()), QByteArray("X1\r\n"));
        QVERIFY(form->FormCloseQuery()); // and closes without a question
        QVERIFY(ui->messages.isEmpty());
    }

    void saveAsDialogRequest_data() {
        QTest::addColumn<QString>("fileName"); // empty: a new document
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("filterIndex");
        QTest::newRow("new document proposes the number") << "" << QByteArray(":0077\r\n") << "O0077" << 5;
        QTest::newRow(".nc gives type 1") << "prog.nc" << QByteArray("X1\r\n") << "prog" << 1;
        QTest::newRow(".min gives type 2") << "prog.min" << QByteArray("O0005\r\n") << "O0005" << 2;
        QTest::newRow(".txt gives type 3") << "a.b.txt" << QByteArray("X1\r\n") << "a.b" << 3;
        QTest::newRow(".rtf gives type 4") << "prog.rtf" << QByteArray("X1\r\n") << "prog" << 4;
        QTest::newRow("extension case counts") << "O0010.NC" << QByteArray("O0010\r\n") << "O0010" << 5;
    }
    void saveAsDialogRequest() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, text);
        QFETCH(QString, proposed);
        QFETCH(int, filterIndex);
        ScopedInteraction ui;
        QTemporaryDir dir;
        std::unique_ptr<TEditForm> form;
        if (fileName.isEmpty()) {
            form = std::make_unique<TEditForm>();
            form->editor()->setText(QString::fromLatin1(text));
        } else {
            form = openProgram(dir, fileName, text);
        }
        QString folder = QStringLiteral("unchanged");
        QCOMPARE(form->SaveAs(&folder), TEditForm::SaveResult::NotSaved); // cancelled
        QCOMPARE(ui->saveRequests.size(), 1);
        const FileDialogRequest& request = ui->saveRequests.first();
        QCOMPARE(request.fileName, proposed);
        QCOMPARE(request.filterIndex, filterIndex);
        QCOMPARE(request.caption, QStringLiteral("Zapisz \"%1\" jako...").arg(fileName));
        QCOMPARE(request.folder, fileName.isEmpty() ? QDir::homePath() : QDir(dir.path()).absolutePath());
        QCOMPARE(request.filters,
                 QStringList({"Programy CNC (*.nc)", "Programy CNC (*.min)", "Pliki tekstowe (*.txt)",
                              "Tekst formatowany (*.rtf)", "Wszystkie pliki (*.*)",
                              "Programy CNC (*.nc *.min *.ngc *.tap *.cnc *.iso *.mpf *.spf *.eia)"}));
        QCOMPARE(request.defaultSuffix, QStringLiteral("nc"));
        QCOMPARE(folder, fileName.isEmpty() ? QString() : QDir(dir.path()).absolutePath());
    }

    void typeChangeSetsTheSuffix_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("programs .nc rename") << 1 << "nc"
                                             << "O0010.nc";
        QTest::newRow("programs .min") << 2 << "min"
                                       << "";
        QTest::newRow("text") << 3 << "txt"
                              << "";
        QTest::newRow("rich text") << 4 << "rtf"
                                   << "";
        QTest::newRow("all files") << 5 << ""
                                   << "";
    }
    void typeChangeSetsTheSuffix() {
        QFETCH(int, index);
        QFETCH(QString, suffix);
        QFETCH(QString, shownName);
        ScopedInteraction ui;
        TEditForm form;
        form.editor()->setText(QStringLiteral("O0010\r\n"));
        FileDialogTypeChange change;
        ui->onSaveDialog = [&](const FileDialogRequest& request) {
            QVERIFY(request.adjustOnTypeChange);
            change = request.adjustOnTypeChange(index, QStringLiteral("O0010.txt"));
        };
        form.SaveAs();
        QCOMPARE(change.defaultSuffix, suffix);
        QCOMPARE(change.fileName, shownName);
        // The dialog remembers the type's suffix for its next use.
        ui->onSaveDialog = nullptr;
        form.SaveAs();
        QCOMPARE(ui->saveRequests.last().defaultSuffix, suffix);
    }

    void saveAsRenamesAndSavesWithoutTheNameQuestion() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("O0010.nc"), "O0010 (OS)\r\n");
        form->editor()->setModified(true);
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("new"))));
        const QString target = dir.filePath(QStringLiteral("new/OTHER.min"));
        ui->saveResults.push_back({{target}, 2});
        QString folder;
        QCOMPARE(form->SaveAs(&folder), TEditForm::SaveResult::Saved);
        QVERIFY(ui->messages.isEmpty()); // OTHER differs from O0010 but is not asked about
        QCOMPARE(form->document().fileName(), target);
        QCOMPARE(form->windowTitle(), target + QStringLiteral("  ---> OS"));
        QCOMPARE(form->toolTip(), target);
        QCOMPARE(readFile(target), QByteArray("O0010 (OS)\r\n"));
        QCOMPARE(folder, dir.filePath(QStringLiteral("new")));
        QVERIFY(!form->document().nameAgreed());
        QVERIFY(!form->editor()->modified());
        // A later plain save asks again.
        form->editor()->setModified(true);
        ui->answers.push_back(QMessageBox::No);
        QCOMPARE(form->Save(), TEditForm::SaveResult::NotSaved);
        QCOMPARE(ui->messages.size(), 1);
    }

    void saveAsRtfLeavesTheWindowOnItsFile() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QByteArray original("O0010\r\n(01.02.2003)\r\n");
        auto form = openProgram(dir, QStringLiteral("O0010.nc"), original);
        typeAtEnd(*form, QStringLiteral("M30"));
        const QString oldPath = form->document().fileName();
        const QString oldCaption = form->windowTitle();
        ui->saveResults.push_back({{dir.filePath(QStringLiteral("NAME.nc"))}, 4});
        QString folder = QStringLiteral("unchanged");
        QCOMPARE(form->SaveAs(&folder), TEditForm::SaveResult::Saved);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("NAME.rtf"))),
                 QByteArray("O0010\r\n(01.02.2003)\r\nM30\r\n"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("NAME.nc"))));
        QCOMPARE(form->document().fileName(), oldPath);
        QCOMPARE(form->windowTitle(), oldCaption);
        QVERIFY(form->editor()->modified());
        QCOMPARE(readFile(oldPath), original);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("O0010.bak"))));
        QCOMPARE(folder, QStringLiteral("unchanged"));
    }

    void closeQuestion_data() {
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("unchanged closes without asking") << false << false << 0 << true << false;
        QTest::newRow("Yes saves and closes") << false << true << int(QMessageBox::Yes) << true << true;
        QTest::newRow("No closes without saving") << false << true << int(QMessageBox::No) << true << false;
        QTest::newRow("Cancel keeps it open") << false << true << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("untitled, Yes, dialog cancelled closes")
            << true << true << int(QMessageBox::Yes) << true << false;
        QTest::newRow("untitled, Cancel") << true << true << int(QMessageBox::Cancel) << false << false;
    }
    void closeQuestion() {
        QFETCH(bool, untitled);
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        ScopedInteraction ui;
        QTemporaryDir dir;
        QPointer<TEditForm> form;
        if (untitled) {
            form = new TEditForm;
            form->setWindowTitle(QStringLiteral("Bez nazwy_3"));
        } else {
            form = openProgram(dir, QStringLiteral("O0010.NC"), "O0010\r\n").release();
        }
        if (modified)
            typeAtEnd(*form, QStringLiteral("M30"));
        if (answer)
            ui->answers.push_back(QMessageBox::StandardButton(answer));
        QCOMPARE(form->close(), closes);
        if (!answer) {
            QVERIFY(ui->messages.isEmpty());
        } else {
            QCOMPARE(ui->messages.size(), 1);
            const QString name =
                untitled ? QStringLiteral("Bez nazwy_3") : dir.filePath(QStringLiteral("O0010.NC"));
            QCOMPARE(ui->messages.first().text,
                     QStringLiteral("Plik \"%1\" został zmieniony.\rZachować zmiany ?").arg(name));
            QCOMPARE(ui->messages.first().caption, QStringLiteral("Ostrzeżenie"));
            QCOMPARE(ui->messages.first().icon, QMessageBox::Warning);
            QCOMPARE(ui->messages.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(ui->beeps, 1);
        }
        QCOMPARE(ui->saveRequests.size(), untitled && answer == QMessageBox::Yes ? 1 : 0);
        if (!untitled)
            QCOMPARE(readFile(dir.filePath(QStringLiteral("O0010.NC"))),
                     saved ? QByteArray("O0010\r\nM30\r\n") : QByteArray("O0010\r\n"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(form.isNull(), closes);
        delete form;
    }

    void closeWithoutQuestionDoesNotAsk() {
        ScopedInteraction ui;
        QPointer<TEditForm> form = new TEditForm;
        form->editor()->setText(QStringLiteral("X1"));
        form->editor()->setModified(true);
        form->closeWithoutQuestion();
        QVERIFY(ui->messages.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void interruptedSaveKeepsTheOldProgram() {
#ifdef Q_OS_UNIX
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QByteArray original("O0010\r\nX1\r\n");
        auto form = openProgram(dir, QStringLiteral("O0010.NC"), original);
        typeAtEnd(*form, QString(4000, QLatin1Char('X')));
        // A file-size limit makes the write fail part-way, as a full disk would.
        FileSizeLimit limit(1000);
        QVERIFY(limit.active());
        const auto result = form->Save();
        const bool closes = form->FormCloseQuery(); // Yes to the question: the save fails again
        limit.lift();
        QCOMPARE(result, TEditForm::SaveResult::Failed);
        QVERIFY(!closes);
        QCOMPARE(readFile(form->document().fileName()), original);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("O0010.bak"))), original);
        QVERIFY(form->editor()->modified());
        QCOMPARE(ui->messages.size(), 3);
        QCOMPARE(ui->messages.first().text,
                 QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(EFBIG));
        QCOMPARE(ui->messages.first().icon, QMessageBox::Critical);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
#else
        QSKIP("needs a file-size limit");
#endif
    }

    void folderInPlaceOfTheFileFailsTheSave() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        auto form = openProgram(dir, QStringLiteral("O0010.NC"), "O0010\r\n");
        typeAtEnd(*form, QStringLiteral("M30"));
        QVERIFY(QFile::remove(form->document().fileName()));
        QVERIFY(QDir().mkdir(form->document().fileName()));
        QCOMPARE(form->Save(), TEditForm::SaveResult::Failed);
        QVERIFY(form->editor()->modified());
        QCOMPARE(ui->messages.size(), 1);
        QVERIFY(ui->messages.first().text.startsWith(QStringLiteral("Nie można utworzyć pliku \"") +
                                                     form->document().fileName()));
        QVERIFY(QFileInfo(form->document().fileName()).isDir());
    }

    void characterWithoutCodePageByteRefusesTheSave() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QByteArray original("O0010\r\nX1\r\n");
        auto form = openProgram(dir, QStringLiteral("O0010.NC"), original);
        form->editor()->setSelStart(9);
        form->editor()->setSelText(QStringLiteral("Ł→"));
        QCOMPARE(form->Save(), TEditForm::SaveResult::Failed);
        QCOMPARE(readFile(form->document().fileName()), original);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("O0010.bak"))));
        QVERIFY(form->editor()->modified());
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().text,
                 QStringLiteral("Znak \"→\" (U+2192) w wierszu 2 nie istnieje w kodowaniu Windows-1250.\r"
                                "Plik nie został zapisany."));
        // Save As refuses before asking for a name.
        QCOMPARE(form->SaveAs(), TEditForm::SaveResult::Failed);
        QVERIFY(ui->saveRequests.isEmpty());
    }

    void unchangedSaveKeepsTheCorpusPrograms_data() {
        QTest::addColumn<QString>("source");
        if (addFileRows(corpusFiles()) == 0)
            QSKIP("no corpus of programs on this machine");
    }
    void unchangedSaveKeepsTheCorpusPrograms() {
        QFETCH(QString, source);
        ScopedInteraction ui;
        const QByteArray date = today().toLatin1();
        QTemporaryDir dir;
        const QByteArray original = readFile(source);
        auto form = openProgram(dir, QFileInfo(source).fileName(), original);
        QVERIFY(form->editor()->textLength() > 0 || original.isEmpty());
        ui->answers.push_back(QMessageBox::Yes);
        form->document().setNameAgreed(true);
        QCOMPARE(form->Save(), TEditForm::SaveResult::Saved);
        // Expected: a-z upper-cased, every line end CR LF, every line ended.
        QByteArray expected;
        for (qsizetype i = 0; i < original.size(); ++i) {
            const char c = original[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < original.size() && original[i + 1] == '\n')
                    ++i;
                expected += "\r\n";
            } else {
                expected += (c >= 'a' && c <= 'z') ? char(c - 32) : c;
            }
        }
        expected = QByteArray::fromStdString(withEveryLineEnded(expected.toStdString()));
        // The dates in comments read today; nothing else differs.
        expected = QByteArray::fromStdString(stampDates(expected.toStdString(), date.toStdString()));
        const QByteArray saved = readFile(form->document().fileName());
        QVERIFY2(saved == expected, qPrintable(describeDifference(expected, saved)));
    }
};

QTEST_MAIN(TestEditSave)
#include "test_editsave.moc"
