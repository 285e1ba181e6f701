#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ordalvex::testing {

// Folder of the sample inputs and expected-output files (tests/data): ORDALVEX_TEST_DATA when
// it is set, else the folder of the source tree the tests were built from, so that a test
// binary runs on its own as well as under CTest.
QString testDataDir();

// Folder of real CNC programs: ORDALVEX_CORPUS when it is set (set to nothing, it leaves the
// corpus out), else the folder named when the build was configured. An empty string when that
// folder is not on this machine.
QString corpusDir();

// Every regular file below the corpus folder except its own documentation, sorted; empty
// without a corpus.
QStringList corpusFiles();

// Adds one row per path to the current test data, the path in the first column (a QString);
// a row is named by the file's path below the corpus folder, or by its file name when it lies
// elsewhere. Returns the number of rows added: a data function fed by the corpus alone skips
// when it is 0, since QtTest runs a test function without rows once, with no data to fetch.
qsizetype addFileRows(const QStringList& paths);

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// Writes `bytes` as `name` (which may hold subfolders, made as needed) in `folder`; returns
// the file's path.
QString writeProgram(const QString& folder, const QString& name,
                     const QByteArray& bytes = "%\r\nO0001\r\nN10 G01 X10 Y20\r\nN20 M30\r\n");

// A temporary folder whose "Ordalvex.INI" is the program's settings file while it lives
// (through ORDALVEX_INI), for tests of the main window.
class SettingsFolder {
public:
    SettingsFolder() { qputenv("ORDALVEX_INI", iniPath().toLocal8Bit()); }
    ~SettingsFolder() { qunsetenv("ORDALVEX_INI"); }
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString iniPath() const { return filePath(QStringLiteral("Ordalvex.INI")); }

private:
    QTemporaryDir m_dir;
};

struct ProcessRun {
    int exitCode = -1; // -1 when the program did not start, crashed or timed out
    QByteArray out;
    QByteArray err;
};

// Runs a program with the arguments, writes `input` to its standard input and waits for it
// (at most a minute). `environment` entries ("NAME=value") are added to the current ones.
ProcessRun runProcess(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                      const QStringList& environment = {});

// A readable line-by-line difference of two texts, for failure messages.
QString describeDifference(const QByteArray& expected, const QByteArray& actual);

} // namespace ordalvex::testing
