// Damaged, odd and hostile program files through the document window: each opens (or is
// refused with the load error), saves back unchanged where it was not edited, and never
// crashes or hangs the interface.

#include "common/core/codepage.h"
#include "document/core/programsave.h"
#include "document/core/rtfreader.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "editorwait.h"
#include "scriptedinteraction.h"
#include "testdata.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

namespace {

// Generous bounds: the sanitizer build runs several times slower than the normal one.
constexpr qint64 kMaxOpenMs = 240'000;

QPointer<TEditForm> makeForm() {
    QPointer<TEditForm> form = new TEditForm;
    FormatSettings format;
    format.SyntaxHighlighting = true;
    format.SyntaxHighlightingOnWriting = true;
    format.FontName = QStringLiteral("Courier New");
    format.FontSize = 10;
    form->document().setFormat(format);
    return form;
}

// What the editor shows and a save without edits writes: a-z in capitals, every line end as
// CR LF (the last line ended as well when saving).
QByteArray asShown(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += (c >= 'a' && c <= 'z') ? char(c - 32) : c;
        }
    }
    return out;
}

void disposeOf(QPointer<TEditForm>& form) {
    delete form.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray everyByte() {
    QByteArray bytes;
    for (int round = 0; round < 4; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += char(b);
    return bytes;
}

QByteArray bigProgram(qsizetype size) {
    QByteArray text;
    text.reserve(size + 64);
    for (int n = 1; text.size() < size; ++n)
        text += "N" + QByteArray::number(n) + " G01 X" + QByteArray::number(n % 977) + ".25 Y-" +
                QByteArray::number(n % 131) + " F250 (przejscie)\r\n";
    return text;
}

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensAndSavesBackUnchanged_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("only CR line ends") << QByteArray("%\rN10 g01 x1\rN20 M30\r");
        QTest::newRow("only LF line ends") << QByteArray("%\nN10 g01 x1\n\nN20 M30\n");
        QTest::newRow("ends inside a comment") << QByteArray("N10 G00 X0\r\nN20 (niedokonczony komentarz");
        QTest::newRow("ends inside a comment after a line end") << QByteArray("G1 X1 (otwarty\r\n");
        // Every byte value, NUL and Ctrl-Z included, four times over.
        QTest::newRow("binary with NUL bytes") << everyByte();
        QTest::newRow("one line of 10 MB") << QByteArray(10 * 1024 * 1024, 'x');
        QTest::newRow("program of 30 MB") << bigProgram(30 * 1024 * 1024);
    }
    void opensAndSavesBackUnchanged() {
        QFETCH(QByteArray, bytes);
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PROGRAM.NC"));
        QVERIFY(writeFile(path, bytes));

        QPointer<TEditForm> form = makeForm();
        QElapsedTimer clock;
        clock.start();
        form->OpenFile(path);
        QVERIFY(waitForEditors());
        QVERIFY2(clock.elapsed() < kMaxOpenMs,
                 qPrintable(QStringLiteral("opening took %1 ms").arg(clock.elapsed())));
        QVERIFY(!form.isNull());
        QVERIFY(ui->messages.isEmpty());
        const QByteArray shown = asShown(bytes);
        QCOMPARE(form->editor()->textLength(), shown.size());
        QVERIFY(form->editor()->text() ==
                cp1250::decode(std::string_view(shown.constData(), std::size_t(shown.size()))));
        QVERIFY(!form->editor()->modified());

        form->document().setNameAgreed(true);
        QCOMPARE(form->Save(), TEditForm::SaveResult::Saved);
        QVERIFY(ui->messages.isEmpty());
        const QByteArray saved = readFile(path);
        const QByteArray expected = QByteArray::fromStdString(withEveryLineEnded(shown.toStdString()));
        QVERIFY2(saved == expected, qPrintable(describeDifference(expected.left(4096), saved.left(4096))));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("PROGRAM.bak"))), bytes);
        disposeOf(form);
    }

    // The RTF reader indexes its font table by the font number: a number of two thousand
    // million in a damaged document must not make it reserve a table of that size.
    void rtfWithHugeFontNumbersReads() {
        const std::string_view rtf = "{\\rtf1{\\fonttbl{\\f2147483647 Courier New;}{\\f-5 X;}{\\f3 Arial;}}"
                                     "\\f2147483647 N10 G01\\par M30}";
        const RtfReadResult read = readRtf(rtf);
        QVERIFY(read.document.has_value());
        QCOMPARE(read.document->text, QStringLiteral("N10 G01\nM30"));
        QCOMPARE(read.document->fonts.size(), std::size_t(4));
        QCOMPARE(read.document->fonts[3], QStringLiteral("Arial"));
    }

    // The browser lists a file, then it is gone or a folder stands in its place: the window
    // closes as for any missing program, without a message.
    void fileChangedBetweenListingAndOpening_data() {
        QTest::addColumn<bool>("folderInPlace");
        QTest::newRow("file removed") << false;
        QTest::newRow("folder in its place") << true;
    }
    void fileChangedBetweenListingAndOpening() {
        QFETCH(bool, folderInPlace);
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("O0001.NC"));
        QVERIFY(writeFile(path, "O0001\r\nM30\r\n"));
        const QStringList listed = QDir(dir.path()).entryList({QStringLiteral("*.NC")}, QDir::Files);
        QCOMPARE(listed, QStringList{QStringLiteral("O0001.NC")});
        QVERIFY(QFile::remove(path));
        if (folderInPlace)
            QVERIFY(QDir().mkdir(path));

        QPointer<TEditForm> form = makeForm();
        form->OpenFile(path);
        QVERIFY(waitForEditors());
        QVERIFY(ui->messages.isEmpty());
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    void folderWithoutReadPermission() {
        if (geteuid() == 0)
            QSKIP("the tests run as root, who may read every folder: no permission can be taken away");
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("zamkniety"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/O0001.NC");
        QVERIFY(writeFile(path, "O0001\r\n"));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions()));
        QPointer<TEditForm> form = makeForm();
        form->OpenFile(path);
        QVERIFY(waitForEditors());
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // Unreachable: either the window closes as for a missing file or shows the load error.
        QVERIFY(ui->messages.isEmpty() || ui->messages.first().text == loadErrorText());
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }

    // The program's folder cannot take the file any more (here: a plain file now stands where
    // the folder was, which refuses writing even to root). The save reports it, the document
    // stays modified and the old program is untouched.
    void unwritableProgramFolderKeepsTheDocument() {
        ScopedInteraction ui;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("programy"));
        QVERIFY(QDir().mkdir(folder));
        const QByteArray original("O0001\r\nN10 G00 X0\r\n");
        const QString path = folder + QStringLiteral("/O0001.NC");
        QVERIFY(writeFile(path, original));
        QPointer<TEditForm> form = makeForm();
        form->OpenFile(path);
        QVERIFY(waitForEditors());
        QVERIFY(!form.isNull());
        form->editor()->setSelStart(form->editor()->textLength());
        form->editor()->setSelText(QStringLiteral("M30\r\n"));
        QVERIFY(form->editor()->modified());

        const QString movedFolder = dir.filePath(QStringLiteral("przeniesione"));
        QVERIFY(QDir().rename(folder, movedFolder));
        QVERIFY(writeFile(folder, "not a folder"));
        QCOMPARE(form->Save(), TEditForm::SaveResult::Failed);
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().icon, QMessageBox::Critical);
        QVERIFY(form->editor()->modified());
        QVERIFY(form->editor()->text().endsWith(QStringLiteral("M30\r\n")));
        QCOMPARE(readFile(movedFolder + QStringLiteral("/O0001.NC")), original);
        QCOMPARE(readFile(folder), QByteArray("not a folder"));
        disposeOf(form);
    }
};

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
