#include "common/core/filebytes.h"
#include "filesizelimit.h"
#include "testdata.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using namespace ordalvex::testing;

class TestFileBytes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeFileIsReadOrRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        // A zero byte and a letter beyond ASCII come back as they are.
        const QByteArray bytes("N10\r\n\0N20 (\xa3\xd3"
                               "D\x8f)\r\n",
                               18);
        QVERIFY(writeFile(path, bytes));
        const std::optional<QByteArray> read = readWholeFile(path);
        QVERIFY(read);
        QCOMPARE(*read, bytes);
        QString error;
        QVERIFY(!readWholeFile(dir.filePath(QStringLiteral("missing.nc")), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!readWholeFile(dir.path()));
    }

    void safeWriteReplacesAndKeepsPermissions() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        QVERIFY(writeFile(path, "OLD"));
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        const auto before = QFile::permissions(path);
        QVERIFY(!before.testFlag(QFile::ReadOther));
        const FileWriteResult result = writeFileSafely(path, "NEW TEXT");
        QVERIFY(result.ok());
        QCOMPARE(readFile(path), QByteArray("NEW TEXT"));
        QCOMPARE(QFile::permissions(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"P.NC"}));
    }

    void safeWriteCannotCreate() {
        QTemporaryDir dir;
        const QString folderInTheWay = dir.filePath(QStringLiteral("F.NC"));
        QVERIFY(QDir().mkdir(folderInTheWay));
        for (const QString& path : {folderInTheWay, dir.filePath(QStringLiteral("missing/P.NC"))}) {
            const FileWriteResult result = writeFileSafely(path, "TEXT");
            QCOMPARE(result.status, FileWriteResult::CannotCreate);
            QVERIFY(fileWriteErrorText(path, result)
                        .startsWith(QStringLiteral("Nie można utworzyć pliku \"") + path));
        }
        QVERIFY(QFileInfo(folderInTheWay).isDir());
    }

    void interruptedWriteKeepsTheOldFile() {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P.NC"));
        QVERIFY(writeFile(path, "OLD PROGRAM\r\n"));
        // A file-size limit makes the write fail part-way, as a full disk would.
        FileSizeLimit limit(100);
        QVERIFY(limit.active());
        const FileWriteResult result = writeFileSafely(path, std::string(5000, 'X'));
        limit.lift();
        QCOMPARE(result.status, FileWriteResult::WriteFailed);
        QCOMPARE(result.errorNumber, EFBIG);
        QCOMPARE(fileWriteErrorText(path, result),
                 QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(EFBIG));
        QCOMPARE(readFile(path), QByteArray("OLD PROGRAM\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"P.NC"}));
#else
        QSKIP("needs a file-size limit");
#endif
    }

    void writeErrorTexts_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("previousKept");
        QTest::addColumn<QString>("text");
        QTest::newRow("written") << int(FileWriteResult::Written) << true << QString();
        QTest::newRow("write failed") << int(FileWriteResult::WriteFailed) << true
                                      << QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr 27");
        QTest::newRow("write in place failed, old text lost")
            << int(FileWriteResult::WriteFailed) << false
            << QStringLiteral(
                   "Nie mogę zapisać pliku. Wystąpił błąd nr 27\rPlik \"/p/P.NC\" może być niekompletny.");
        QTest::newRow("cannot create")
            << int(FileWriteResult::CannotCreate) << true
            << QStringLiteral("Nie można utworzyć pliku \"/p/P.NC\".\rbrak dostępu");
    }
    void writeErrorTexts() {
        QFETCH(int, status);
        QFETCH(bool, previousKept);
        QFETCH(QString, text);
        FileWriteResult result;
        result.status = FileWriteResult::Status(status);
        result.errorNumber = 27;
        result.systemMessage = QStringLiteral("brak dostępu");
        result.previousKept = previousKept;
        QCOMPARE(fileWriteErrorText(QStringLiteral("/p/P.NC"), result), text);
    }
};

QTEST_GUILESS_MAIN(TestFileBytes)
#include "test_filebytes.moc"
