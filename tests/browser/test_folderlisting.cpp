#include "browser/core/folderlisting.h"
#include "testdata.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex;
using ordalvex::testing::writeFile;

namespace {

void dump(const ScanLine& line, int depth, QByteArray& out) {
    out += QByteArray(depth * 2, ' ') + QByteArray::fromStdString(line.bytes) + '\n';
    for (const auto& child : line.children)
        dump(child, depth + 1, out);
}

// The tree below the root (the root's own line left out, it names a temporary folder).
QByteArray dumpFiles(const ScanLine& root) {
    QByteArray out;
    for (const auto& file : root.children)
        dump(file, 0, out);
    return out;
}

} // namespace

class TestFolderListing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prefixAddsOneDelimiter_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("plain") << "/home/cnc"
                               << "/home/cnc/";
        QTest::newRow("ends with slash") << "/home/cnc/"
                                         << "/home/cnc/";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("windows drive") << "C:\\"
                                       << "C:\\";
        QTest::newRow("empty") << ""
                               << "";
    }
    void prefixAddsOneDelimiter() {
        QFETCH(QString, folder);
        QFETCH(QString, prefix);
        QCOMPARE(folderPrefix(folder), prefix);
    }

    void listsTreeOfFolder() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath("O0020.nc"),
                          "%\r\nO0020 (TULEJA)\r\n(T2 WIERT\xA3O)\r\nN10 G0 X0\r\n%\r\n"));
        QVERIFY(writeFile(dir.filePath("O0010.NC"), "%\r\nO0010 (WALEK)\r\n(t1)\r\n"));
        QVERIFY(writeFile(dir.filePath("notes.txt"), "O9999 (TEXT)\r\n"));
        QVERIFY(writeFile(dir.filePath(".hidden.nc"), "(UKRYTY)\r\n"));
        QVERIFY(QDir(dir.path()).mkdir("folder.nc"));
        QVERIFY(writeFile(dir.filePath("empty.nc"), ""));

        const FolderScanResult result = ScanFolder(dir.path(), "*.nc", LineOrder(true));
        QVERIFY(result.error.isEmpty());
        QVERIFY(result.rootExpanded);
        QCOMPARE(result.root.kind, ScanLineKind::Folder);
        QCOMPARE(result.root.text, QDir::toNativeSeparators(dir.path() + "/"));
        QCOMPARE(dumpFiles(result.root), QByteArray(".hidden.nc\n"
                                                    "  (UKRYTY)\n"
                                                    "O0010.NC\n"
                                                    "  O0010 (WALEK)\n"
                                                    "    (T1)\n"
                                                    "O0020.nc\n"
                                                    "  O0020 (TULEJA)\n"
                                                    "    (T2 WIERT\xA3O)\n"
                                                    "empty.nc\n"));
        QCOMPARE(result.root.children[1].kind, ScanLineKind::File);
        QCOMPARE(result.root.children[1].children[0].kind, ScanLineKind::ProgramName);
        QCOMPARE(result.root.children[2].children[0].children[0].text, QStringLiteral("(T2 WIERTŁO)"));

        const FolderScanResult texts = ScanFolder(dir.path(), "*.txt", LineOrder(true));
        QCOMPARE(dumpFiles(texts.root), QByteArray("notes.txt\n  O9999 (TEXT)\n"));
    }

    void folderWithoutMatchesShowsRootOnly() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("a.txt"), "O1 \r\n"));
        const FolderScanResult result = ScanFolder(dir.path(), "*.min", LineOrder(true));
        QVERIFY(result.root.children.empty());
        QVERIFY(!result.rootExpanded);
        QVERIFY(result.error.isEmpty());

        const FolderScanResult missing = ScanFolder(dir.filePath("nowhere"), "*.nc", LineOrder(true));
        QVERIFY(missing.root.children.empty());
        QVERIFY(!missing.rootExpanded);
    }

    void specialFilesAreSkipped() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("real.nc"), "O1000\r\n"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.nc")).constData(), 0600), 0);
        QCOMPARE(
            ::symlink("/nonexistent/target.nc", QFile::encodeName(dir.filePath("dangling.nc")).constData()),
            0);
        // Reading the pipe would block for ever; it must not even be opened.
        const QStringList names = listMatchingFiles(dir.path() + "/", "*.nc");
        QCOMPARE(names, QStringList{"real.nc"});
    }

    void unreadableFileStopsTheListing() {
        // Reading the start of a process's own memory fails with an input/output error, which
        // stands for a file on a failing disk.
        if (!QFile::exists("/proc/self/mem"))
            QSKIP("needs /proc/self/mem");
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("a.nc"), "O1000\r\n"));
        QVERIFY(writeFile(dir.filePath("z.nc"), "O9000\r\n"));
        QCOMPARE(::symlink("/proc/self/mem", QFile::encodeName(dir.filePath("m.nc")).constData()), 0);
        const FolderScanResult result = ScanFolder(dir.path(), "*.nc", LineOrder(true));
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!result.rootExpanded);
        // The failing file's line stays; the files listed before it keep their lines.
        bool failedLineShown = false;
        for (const auto& file : result.root.children) {
            if (file.text == "m.nc") {
                failedLineShown = true;
                QVERIFY(file.children.empty());
            }
        }
        QVERIFY(failedLineShown);
        QVERIFY(result.root.children.size() <= 3);
    }

    void stepsReportEveryFile() {
        QTemporaryDir dir;
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += "N" + QByteArray::number(i) + " G1 X1.5 Y2 (C" + QByteArray::number(i % 7) + ")\r\n";
        for (int i = 0; i < 12; ++i)
            QVERIFY(writeFile(dir.filePath(QString("P%1.nc").arg(i, 2, 10, QChar('0'))),
                              "O" + QByteArray::number(1000 + i) + "\r\n" + big));
        FolderListing listing(dir.path(), "*.nc", LineOrder(true));
        QStringList added;
        int scanned = 0;
        listing.onFileAdded = [&](std::size_t index, const ScanLine& file) {
            QVERIFY(index <= std::size_t(added.size()));
            added.insert(qsizetype(index), file.text);
            QVERIFY(file.children.empty());
        };
        listing.onFileScanned = [&](std::size_t index, const ScanLine& file) {
            ++scanned;
            QCOMPARE(added.at(qsizetype(index)), file.text);
            QCOMPARE(file.children.size(), std::size_t(1));
            QCOMPARE(file.children[0].children.size(), std::size_t(20000));
        };
        int runs = 0;
        while (listing.run(std::chrono::milliseconds(1)) == FolderListing::Status::Running)
            ++runs;
        QVERIFY(runs > 12); // a file of 20000 lines takes more than one step of 1 ms
        QCOMPARE(listing.status(), FolderListing::Status::Finished);
        QVERIFY(listing.rootExpanded());
        QCOMPARE(scanned, 12);
        QCOMPARE(listing.fileCount(), std::size_t(12));
        // The indices given along the way built the same order as the finished tree's.
        const ScanLine root = listing.takeRoot();
        QCOMPARE(root.children.size(), std::size_t(12));
        for (std::size_t i = 0; i < 12; ++i)
            QCOMPARE(root.children[i].text, added.at(qsizetype(i)));
        QVERIFY(std::is_sorted(added.begin(), added.end()));
    }
};

QTEST_APPLESS_MAIN(TestFolderListing)
#include "test_folderlisting.moc"
