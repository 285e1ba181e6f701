#include "testdata.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace ordalvex::testing {

QString testDataDir() {
    if (qEnvironmentVariableIsSet("ORDALVEX_TEST_DATA"))
        return qEnvironmentVariable("ORDALVEX_TEST_DATA");
    return QStringLiteral(ORDALVEX_SOURCE_TEST_DATA);
}

QString corpusDir() {
    const QString dir = qEnvironmentVariableIsSet("ORDALVEX_CORPUS") ? qEnvironmentVariable("ORDALVEX_CORPUS")
                                                                     : QStringLiteral(ORDALVEX_SOURCE_CORPUS);
    return !dir.isEmpty() && QDir(dir).exists() ? dir : QString();
}

QStringList corpusFiles() {
    QStringList files;
    const QString dir = corpusDir();
    if (dir.isEmpty())
        return files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (name == QLatin1String("MANIFEST.tsv") || name.startsWith(QLatin1String("README")) ||
            name.startsWith(QLatin1String("LICENSE")) || name.startsWith(QLatin1String("COPYING")))
            continue;
        files.append(path);
    }
    files.sort();
    return files;
}

qsizetype addFileRows(const QStringList& paths) {
    const QString corpus = corpusDir();
    for (const QString& path : paths) {
        const QString relative = corpus.isEmpty() ? QString() : QDir(corpus).relativeFilePath(path);
        const QString name = relative.isEmpty() || relative.startsWith(QLatin1String("../"))
                                 ? QFileInfo(path).fileName()
                                 : relative;
        QTest::newRow(qPrintable(name)) << path;
    }
    return paths.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString writeProgram(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile(path, bytes);
    return path;
}

ProcessRun runProcess(const QString& program, const QStringList& arguments, const QByteArray& input,
                      const QStringList& environment) {
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment)
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(env);
    }
    process.start(program, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QString describeDifference(const QByteArray& expected, const QByteArray& actual) {
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    if (at == expected.size() && at == actual.size())
        return QStringLiteral("(identical)");
    auto around = [at](const QByteArray& bytes) {
        const qsizetype from = std::max<qsizetype>(0, at - 40);
        return QString::fromLatin1(bytes.mid(from, 80).toPercentEncoding(" \\{}()#%.:-;"));
    };
    return QStringLiteral("first difference at byte %1 (expected %2 bytes, got %3)\n  expected: ...%4...\n  "
                          "actual:   ...%5...")
        .arg(at)
        .arg(expected.size())
        .arg(actual.size())
        .arg(around(expected), around(actual));
}

} // namespace ordalvex::testing
