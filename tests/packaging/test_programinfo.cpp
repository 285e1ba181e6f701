// What both programs answer on the command line without a display, and the manual pages the
// installation puts beside them.
#include "testdata.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ordalvex::testing;

namespace {

// No display of any kind: a program that started its interface here would abort.
const QStringList kNoDisplay = {QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("DISPLAY="),
                                QStringLiteral("WAYLAND_DISPLAY=")};

// The subcommand names `ordalvex-cnc --help` lists (the first word of each usage line).
QStringList subcommands(const QByteArray& help) {
    QStringList names;
    static const QRegularExpression line(QStringLiteral("^  ([a-z][a-z-]*) "));
    for (const QByteArray& text : help.split('\n')) {
        const auto match = line.match(QString::fromLatin1(text));
        if (match.hasMatch() && !names.contains(match.captured(1)))
            names.append(match.captured(1));
    }
    return names;
}

} // namespace

class TestProgramInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersWithoutADisplay_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("outputStart");
        const QString gui = QStringLiteral(ORDALVEX_GUI);
        const QString cnc = QStringLiteral(ORDALVEX_CNC);
        QTest::newRow("ordalvex --version")
            << gui << "--version" << QByteArray("Ordalvex " ORDALVEX_VERSION "\n");
        QTest::newRow("ordalvex --help") << gui << "--help" << QByteArray("Usage: ordalvex [FILE...]\n");
        QTest::newRow("ordalvex-cnc --version")
            << cnc << "--version" << QByteArray("ordalvex-cnc " ORDALVEX_VERSION "\n");
        QTest::newRow("ordalvex-cnc --help") << cnc << "--help" << QByteArray("usage: ordalvex-cnc COMMAND");
    }
    void answersWithoutADisplay() {
        QFETCH(QString, program);
        QFETCH(QString, option);
        QFETCH(QByteArray, outputStart);
        const ProcessRun run = runProcess(program, {option}, {}, kNoDisplay);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(outputStart), run.out.constData());
        QCOMPARE(run.err, QByteArray());
        if (option == QLatin1String("--version"))
            QCOMPARE(run.out, outputStart); // one line, nothing else
        else
            QVERIFY(run.out.contains("--version"));
    }

    // The manual pages are installed, document every subcommand the tool lists and format
    // without a warning.
    void manualPagesInstalled() {
        QTemporaryDir prefix;
        const ProcessRun install =
            runProcess(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                                       QStringLiteral("--prefix"), prefix.path()});
        QVERIFY2(install.exitCode == 0, install.err.constData());
        const QString pages = prefix.filePath(QStringLiteral("share/man/man1/"));
        const QByteArray gui = readFile(pages + QStringLiteral("ordalvex.1"));
        const QByteArray cnc = readFile(pages + QStringLiteral("ordalvex-cnc.1"));
        QVERIFY(gui.startsWith(".TH ORDALVEX 1 "));
        QVERIFY(cnc.startsWith(".TH ORDALVEX\\-CNC 1 "));
        for (const QByteArray& page : {gui, cnc}) {
            QVERIFY(page.contains(".SH SYNOPSIS"));
            QVERIFY(page.contains("\\-\\-help") && page.contains("\\-\\-version"));
            QVERIFY(page.contains("\"Ordalvex " ORDALVEX_VERSION "\""));
        }
        const QStringList names = subcommands(runProcess(QStringLiteral(ORDALVEX_CNC), {"--help"}).out);
        QVERIFY(names.contains(QStringLiteral("find")) && names.size() >= 8);
        for (const QString& name : names) {
            QByteArray roffName = name.toLatin1();
            roffName.replace("-", "\\-");
            QVERIFY2(cnc.contains("\n\\fB" + roffName + "\\fR") || cnc.contains("\n\\fB" + roffName + " "),
                     qPrintable(name));
        }

        const QString groff = QStandardPaths::findExecutable(QStringLiteral("groff"));
        if (groff.isEmpty())
            QSKIP("groff is not installed: the pages' formatting is not checked");
        for (const QString& name : {QStringLiteral("ordalvex.1"), QStringLiteral("ordalvex-cnc.1")}) {
            const ProcessRun format =
                runProcess(groff, {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                                   QStringLiteral("-z"), pages + name});
            QCOMPARE(format.exitCode, 0);
            QVERIFY2(format.err.isEmpty(), qPrintable(name + QLatin1String(": ") + format.err));
        }
    }
};

QTEST_GUILESS_MAIN(TestProgramInfo)
#include "test_programinfo.moc"
