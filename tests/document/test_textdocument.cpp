#include "document/core/textdocument.h"
#include "lockedfolder.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

class TestTextDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nameCheck_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("programNumber"); // empty: no question
        QTest::newRow("number is the name") << "/p/O0010.nc" << QByteArray("%\r\nO0010\r\n") << "";
        QTest::newRow("number differs") << "/p/O0010.nc" << QByteArray("%\r\nO0020\r\n") << "O0020";
        QTest::newRow("no number") << "/p/O0010.nc" << QByteArray("N10 G01\r\n") << "";
        QTest::newRow("colon number") << "/p/O0010.nc" << QByteArray(":0010\r\n") << "";
        QTest::newRow("only the last extension goes")
            << "/p/O0010.a.nc" << QByteArray("O0010\r\n") << "O0010";
        QTest::newRow("dot in the folder, none in the name") << "/p.x/O0010" << QByteArray("O0010\r\n") << "";
        QTest::newRow("case counts") << "/p/o0010.nc" << QByteArray("O0010\r\n") << "O0010";
    }
    void nameCheck() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, text);
        QFETCH(QString, programNumber);
        TextDocument document;
        document.setFileName(fileName);
        const auto mismatch = document.nameMismatch(text.toStdString());
        QCOMPARE(mismatch.has_value(), !programNumber.isEmpty());
        if (!mismatch)
            return;
        QCOMPARE(mismatch->programNumber, programNumber);
        // Once the user agreed to the name, the same text is not questioned again.
        document.setNameAgreed(true);
        QVERIFY(!document.nameMismatch(text.toStdString()));
    }

    void saveKeepsABackupAndStampsCommentDates() {
        QTemporaryDir dir;
        const QString path = writeProgram(dir.path(), QStringLiteral("O0010.nc"), "OLD\r\n");
        TextDocument document;
        document.setFileName(path);
        const std::string text = "(01.02.2003) X01.02.2003\r\nM30";
        const auto outcome = document.save(text, QDate(2026, 12, 8));
        QVERIFY2(outcome.saved, qPrintable(outcome.error));
        QVERIFY(outcome.error.isEmpty() && outcome.warning.isEmpty());
        QCOMPARE(readFile(path), QByteArray("(08.12.2026) X01.02.2003\r\nM30\r\n"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("O0010.bak"))), QByteArray("OLD\r\n"));
        QCOMPARE(outcome.stampedDates, std::vector<std::size_t>{1});
        QCOMPARE(outcome.today, QStringLiteral("08.12.2026"));
    }

    void failedWriteIsReportedAsAWriteError() {
        QTemporaryDir dir;
        TextDocument document;
        const QString path = dir.filePath(QStringLiteral("missing/O0010.nc"));
        document.setFileName(path);
        const auto outcome = document.save("(01.02.2003)\r\n", QDate(2026, 12, 8));
        QVERIFY(!outcome.saved);
        QVERIFY2(outcome.error.startsWith(QStringLiteral("Nie można utworzyć pliku \"%1\"").arg(path)),
                 qPrintable(outcome.error));
        // The dates the text would have had are still given, for the window to show.
        QCOMPARE(outcome.stampedDates.size(), std::size_t(1));
        QVERIFY(!QFile::exists(path));

        const QString copyError = TextDocument::saveCopy(path, "X1");
        QVERIFY(copyError.startsWith(QStringLiteral("Nie można utworzyć pliku")));
        QVERIFY(TextDocument::saveCopy(dir.filePath(QStringLiteral("copy.rtf")), "X1").isEmpty());
        QCOMPARE(readFile(dir.filePath(QStringLiteral("copy.rtf"))), QByteArray("X1\r\n"));
    }

    void lockedFolderSavesInPlaceWithAWarning() {
        QTemporaryDir dir;
        const QString path = writeProgram(dir.path(), QStringLiteral("O0010.nc"), "OLD\r\n");
        LockedFolder locked(dir.path(), {path});
        if (!locked.active())
            QSKIP(qPrintable(locked.reason()));
        TextDocument document;
        document.setFileName(path);
        const auto outcome = document.save("NEW", QDate(2026, 12, 8));
        QVERIFY2(outcome.saved, qPrintable(outcome.error));
        QVERIFY2(outcome.warning.contains(QStringLiteral("bez kopii zapasowej \"O0010.bak\"")),
                 qPrintable(outcome.warning));
        QCOMPARE(readFile(path), QByteArray("NEW\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextDocument)
#include "test_textdocument.moc"
