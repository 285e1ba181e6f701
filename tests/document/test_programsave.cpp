#include "document/core/programsave.h"
#include "filesizelimit.h"
#include "lockedfolder.h"
#include "testdata.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

class TestProgramSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("number"); // empty: none
        QTest::newRow("O and four digits") << QByteArray("%\r\nO0010 (A)\r\n") << QByteArray("O0010");
        QTest::newRow("colon becomes O") << QByteArray(":0010\r\n") << QByteArray("O0010");
        QTest::newRow("five digits give four") << QByteArray("O12345") << QByteArray("O1234");
        QTest::newRow("O wins over an earlier colon") << QByteArray(":1111\r\nO2222") << QByteArray("O2222");
        QTest::newRow("lower-case o kept as typed") << QByteArray("o0010") << QByteArray("o0010");
        QTest::newRow("three digits are no number") << QByteArray("O001 :12 N10") << QByteArray();
        QTest::newRow("empty text") << QByteArray() << QByteArray();
    }
    void programNumber() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, number);
        const auto found = findProgramNumber(text.toStdString());
        QCOMPARE(found.has_value(), !number.isEmpty());
        if (found)
            QCOMPARE(QByteArray::fromStdString(*found), number);
    }

    void dateStamps_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("stamped");
        QTest::newRow("bracket comments, dashes become dots")
            << QByteArray("(01.02.2003)\r\n(DATA 01-02-2003)")
            << QByteArray("(24.12.2026)\r\n(DATA 24.12.2026)");
        QTest::newRow("semicolon comment")
            << QByteArray("N10 G00 ; DATA 01.02.2003\r\n") << QByteArray("N10 G00 ; DATA 24.12.2026\r\n");
        QTest::newRow("code that looks like a date") << QByteArray("#5=[10-20-3000]\r\nG01 X01.02.2003\r\n")
                                                     << QByteArray("#5=[10-20-3000]\r\nG01 X01.02.2003\r\n");
        QTest::newRow("after the closing bracket")
            << QByteArray("(A) 01.02.2003") << QByteArray("(A) 01.02.2003");
        QTest::newRow("unclosed bracket ends at the line end")
            << QByteArray("(DATA 01.02.2003\r\nX01.02.2003") << QByteArray("(DATA 24.12.2026\r\nX01.02.2003");
        QTest::newRow("lone CR ends a semicolon comment")
            << QByteArray(";A\r01.02.2003\n;B 01.02.2003") << QByteArray(";A\r01.02.2003\n;B 24.12.2026");
        QTest::newRow("lone LF ends a bracket comment")
            << QByteArray("(A\n01.02.2003)") << QByteArray("(A\n01.02.2003)");
        QTest::newRow("bracket closes nothing in a semicolon comment")
            << QByteArray("; A (B) 01.02.2003") << QByteArray("; A (B) 24.12.2026");
        QTest::newRow("semicolon inside a bracket comment")
            << QByteArray("(A;B 01.02.2003) 01.02.2003") << QByteArray("(A;B 24.12.2026) 01.02.2003");
        QTest::newRow("digit before is no whole date")
            << QByteArray("(101.02.2003)") << QByteArray("(101.02.2003)");
        QTest::newRow("digit after is no whole date")
            << QByteArray("(01.02.20031)") << QByteArray("(01.02.20031)");
        QTest::newRow("inside a longer digit run")
            << QByteArray("(X1234.56.78901)") << QByteArray("(X1234.56.78901)");
        QTest::newRow("letters and dots around are fine")
            << QByteArray("(D01.02.2003.01-02-2003R)") << QByteArray("(D24.12.2026.24.12.2026R)");
        QTest::newRow("back to back are no whole dates")
            << QByteArray("(01.02.200301.02.2003)") << QByteArray("(01.02.200301.02.2003)");
        QTest::newRow("two-digit year is no date") << QByteArray("(01.02.03)") << QByteArray("(01.02.03)");
        QTest::newRow("mixed separators are no date")
            << QByteArray("(01.02-2003)") << QByteArray("(01.02-2003)");
        QTest::newRow("date at the very start, no comment")
            << QByteArray("01.02.2003") << QByteArray("01.02.2003");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void dateStamps() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, stamped);
        const std::string date = dateStampText(QDate(2026, 12, 24));
        QCOMPARE(QByteArray::fromStdString(date), QByteArray("24.12.2026"));
        QCOMPARE(QByteArray::fromStdString(stampDates(text.toStdString(), date)), stamped);
    }

    void dateStampTextIsFixed() {
        QCOMPARE(QByteArray::fromStdString(dateStampText(QDate(2003, 2, 1))), QByteArray("01.02.2003"));
    }

    void backupPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("backup");
        QTest::newRow("extension replaced") << "/p/O0010.NC"
                                            << "/p/O0010.bak";
        QTest::newRow("last extension only") << "/p/a.b.nc"
                                             << "/p/a.b.bak";
        QTest::newRow("no extension") << "/p/PROG"
                                      << "/p/PROG.bak";
        QTest::newRow("dot in the folder only") << "/p.d/PROG"
                                                << "/p.d/PROG.bak";
        QTest::newRow("windows folder") << "C:\\P\\O0010.NC"
                                        << "C:\\P\\O0010.bak";
    }
    void backupPath() {
        QFETCH(QString, path);
        QFETCH(QString, backup);
        QCOMPARE(backupPathFor(path), backup);
    }

    void lineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("last line gets its line end")
            << QByteArray("N10\r\nM30") << QByteArray("N10\r\nM30\r\n");
        QTest::newRow("ended text unchanged") << QByteArray("N10\r\n") << QByteArray("N10\r\n");
        QTest::newRow("empty stays empty") << QByteArray() << QByteArray();
        QTest::newRow("empty last line kept") << QByteArray("N10\r\n\r\n") << QByteArray("N10\r\n\r\n");
    }
    void lineEnds() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        QCOMPARE(QByteArray::fromStdString(withEveryLineEnded(text.toStdString())), written);
    }

    // A shared folder: the file may be written, but no file may be created beside it.
    void lockedFolderIsWrittenInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        QVERIFY(writeFile(path, "OLD PROGRAM WITH A LONGER TEXT\r\n"));
        LockedFolder locked(dir.path(), {path});
        if (!locked.active())
            QSKIP(qPrintable(locked.reason()));
        const FileWriteResult safe = writeFileSafely(path, "NEW\r\n");
        const FileWriteResult written = writeProgramFile(path, "NEW\r\n");
        const FileWriteResult missing = writeProgramFile(dir.filePath(QStringLiteral("NEW.NC")), "X");
        locked.unlock();
        QCOMPARE(safe.status, FileWriteResult::CannotCreate);
        QVERIFY(written.ok());
        QVERIFY(written.inPlace);
        QCOMPARE(readFile(path), QByteArray("NEW\r\n")); // cut to the new length
        // A file that is not there cannot be written in place.
        QCOMPARE(missing.status, FileWriteResult::CannotCreate);
        QVERIFY(!missing.inPlace);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"P.NC"}));
    }

    void interruptedWriteInPlaceIsReported() {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        QVERIFY(writeFile(path, "OLD PROGRAM\r\n"));
        LockedFolder locked(dir.path(), {path});
        if (!locked.active())
            QSKIP(qPrintable(locked.reason()));
        FileSizeLimit limit(100);
        QVERIFY(limit.active());
        const FileWriteResult result = writeProgramFile(path, std::string(5000, 'X'));
        limit.lift();
        locked.unlock();
        QVERIFY(result.inPlace);
        QCOMPARE(result.status, FileWriteResult::WriteFailed);
        QCOMPARE(result.errorNumber, EFBIG);
        QVERIFY(result.previousKept);
        QCOMPARE(fileWriteErrorText(path, result),
                 QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(EFBIG));
        // The part written over the old text was replaced by the old text again.
        QCOMPARE(readFile(path), QByteArray("OLD PROGRAM\r\n"));
#else
        QSKIP("needs a file-size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(TestProgramSave)
#include "test_programsave.moc"
