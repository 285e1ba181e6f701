#include "../serial/ptypair.h"
#include "simulatedcontrol.h"

#include <functional>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using ordalvex::testing::PtyPair;
using ordalvex::testing::SimulatedControl;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the tool; afterStart (when given) runs once the tool has had time to open its port.
Run runCnc(const QStringList& arguments, const QString& iniPath,
           const std::function<void()>& afterStart = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORDALVEX_INI", iniPath); // the test's own settings, not the user's
    process.setProcessEnvironment(environment);
    process.start(ORDALVEX_CNC, arguments);
    if (afterStart) {
        process.waitForStarted();
        QTest::qWait(500);
        afterStart();
    }
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestSerialCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendAndReceiveOverTheLine() {
        QTemporaryDir folder;
        const QString ini = folder.filePath("Ordalvex.INI");
        const QString cfg = folder.filePath("frezarka.cfg");
        QFile settings(cfg);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[PortSettings]\r\nHandshaking=2\r\n[Transfer]\r\nLeader_NUL=4\r\n");
        settings.close();
        QByteArray program = "%\r\nO0007 (\xA3\xA5\x43ZNIK)\r\n";
        for (int i = 1; i <= 20000; ++i)
            program += "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 500) + "\r\n";
        program += "M30\r\n%\r\n";
        const QString programPath = folder.filePath("O0007.nc");
        QFile file(programPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(program);
        file.close();

        PtyPair pty;
        QVERIFY(pty.ok());
        SimulatedControl control(pty.master(), {400'000, 1024, 768, 128, true});
        const Run send = runCnc({"send", "--port", pty.slavePath(), "--settings", cfg, programPath}, ini);
        QVERIFY2(send.exitCode == 0, send.err.constData());
        QVERIFY(send.err.contains("wierszy"));
        QTRY_COMPARE(control.received(), QByteArray(4, '\0') + program);

        const Run receive =
            runCnc({"receive", "--port", pty.slavePath(), "--settings", cfg, "--timeout", "5"}, ini,
                   [&] { control.play(program + "N1 PO KONCU\r\n"); });
        QVERIFY2(receive.exitCode == 0, receive.err.constData());
        QVERIFY(receive.out == program);

        // With no end character the receive ends after a second of silence.
        const Run silent = runCnc({"receive", "--port", pty.slavePath(), "--end", "", "--timeout", "1"}, ini,
                                  [&] { control.play("O0008\r\nG0 X0\r\n"); });
        QCOMPARE(silent.exitCode, 0);
        QCOMPARE(silent.out, QByteArray("O0008\r\nG0 X0\r\n"));
    }

    void failuresAndUsage() {
        QTemporaryDir folder;
        const QString ini = folder.filePath("Ordalvex.INI");
        QFile program(folder.filePath("a.nc"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("G0 X0\r\n");
        program.close();

        const Run missing = runCnc({"send", "--port", "/dev/ttyUSB-brak", program.fileName()}, ini);
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(missing.err.contains("/dev/ttyUSB-brak: nie ma takiego urządzenia"),
                 missing.err.constData());
        const Run noFile = runCnc({"send", "--port", "/dev/ttyUSB-brak", folder.filePath("brak.nc")}, ini);
        QCOMPARE(noFile.exitCode, 1);

        for (const QStringList& wrong :
             {QStringList{"send", program.fileName()}, QStringList{"send", "--port"},
              QStringList{"receive", "--port", "COM1", "--timeout", "x"},
              QStringList{"receive", "--port", "COM1", "--end", "%%"},
              QStringList{"receive", "--port", "COM1", "plik.nc"}}) {
            const Run run = runCnc(wrong, ini);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.err.contains("usage"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSerialCommands)
#include "test_serialcommands.moc"
