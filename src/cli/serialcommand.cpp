#include "cli/commands.h"
#include "common/core/inifile.h"
#include "common/core/settingslocation.h"
#include "serial/core/portdevices.h"
#include "serial/core/programreceiver.h"
#include "serial/core/programsender.h"
#include "serial/core/tcommportdriver.h"
#include "serial/core/transferoptions.h"
#include "serial/core/transferport.h"

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace ordalvex::cli {

namespace {

QString fromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// The options both subcommands share, and the port they name, opened.
struct Line {
    PortSettings settings;
    TransferOptions options;
    NamedPort port;
};

// Reads --port and --settings; false for a wrong command line.
bool takeLine(Arguments& args, Line& line) {
    std::string port, settingsFile;
    if (!takeOption(args, "--port", port) || !takeOption(args, "--settings", settingsFile) || port.empty())
        return false;
    // Without --settings the transfer window's default file, when there is one.
    const QString cfg = settingsFile.empty() ? QDir(settingsFolder()).filePath(QStringLiteral("Default.cfg"))
                                             : fromLocal(settingsFile);
    line.settings = loadPortSettingsFile(cfg);
    line.options = loadTransferOptionsFile(cfg);
    IniFile programSettings(settingsFilePath());
    programSettings.load(); // an unreadable file leaves the devices found
    line.port = resolvePortName(fromLocal(port), assignPortDevices(programSettings, discoverSerialDevices()));
    return true;
}

void printProgress(const char* verb, const TransferProgress& progress) {
    std::string total = progress.totalLines >= 0 ? "/" + std::to_string(progress.totalLines) : std::string();
    std::fprintf(stderr, "ordalvex-cnc: %s %lld%s wierszy, %lld bajtów, %.0f B/s%s\n", verb,
                 static_cast<long long>(progress.lines), total.c_str(),
                 static_cast<long long>(progress.bytes), progress.bytesPerSecond,
                 progress.held ? ", czeka na XON" : "");
}

// Runs the event loop until the transfer ends; progress at most once a second.
template <typename Transfer>
TransferOutcome runTransfer(Transfer& transfer, const char* verb, QString& message) {
    TransferOutcome outcome = TransferOutcome::Failed;
    qint64 lastPrint = -1000;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&transfer, &Transfer::progressed, [&](const TransferProgress& progress) {
        if (clock.elapsed() - lastPrint >= 1000) {
            lastPrint = clock.elapsed();
            printProgress(verb, progress);
        }
    });
    QObject::connect(&transfer, &Transfer::finished, [&](TransferOutcome end, const QString& text) {
        outcome = end;
        message = text;
        QCoreApplication::quit();
    });
    transfer.start();
    QCoreApplication::exec();
    printProgress(verb, transfer.progress());
    return outcome;
}

// The event loop the driver's poll timer and the transfer's timer need.
struct EventLoop {
    int argc = 1;
    char name[13] = "ordalvex-cnc";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

} // namespace

int runSend(Arguments args) {
    Line line;
    if (!takeLine(args, line) || args.size() != 1)
        return kBadUsage;
    EventLoop loop;
    const std::string path(args.front());
    QFile file(fromLocal(path));
    if (!file.open(QIODevice::ReadOnly)) {
        printError(path + ": " + file.errorString().toStdString());
        return kFailed;
    }
    // Mapped, not read: a program of millions of lines is streamed from the page cache.
    const qint64 size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (size > 0 && mapped == nullptr) {
        printError(path + ": " + file.errorString().toStdString());
        return kFailed;
    }
    ByteProgramSource source(std::string_view(reinterpret_cast<const char*>(mapped), std::size_t(size)));
    TCommPortDriver driver;
    const QString refusal = openTransferPort(driver, line.port, line.settings);
    if (!refusal.isEmpty()) {
        printError(refusal.toLocal8Bit().toStdString());
        return kFailed;
    }
    ProgramSender sender(driver, source, line.options);
    QString message;
    const TransferOutcome outcome = runTransfer(sender, "wysłano", message);
    if (outcome != TransferOutcome::Done) {
        printError(message.isEmpty() ? std::string("przerwano") : message.toLocal8Bit().toStdString());
        return kFailed;
    }
    return kOk;
}

int runReceive(Arguments args) {
    Line line;
    std::string end = "\x01", timeout;
    if (!takeOption(args, "--end", end) || !takeOption(args, "--timeout", timeout) || !takeLine(args, line) ||
        !args.empty())
        return kBadUsage;
    if (end != "\x01") {
        const QString character = fromLocal(end);
        if (character.size() > 1)
            return kBadUsage;
        line.options.endCharacter = character;
    }
    if (!timeout.empty() &&
        (!parseInt(timeout, line.options.silenceTimeoutS) || line.options.silenceTimeoutS < 0))
        return kBadUsage;
    EventLoop loop;
    TCommPortDriver driver;
    const QString refusal = openTransferPort(driver, line.port, line.settings);
    if (!refusal.isEmpty()) {
        printError(refusal.toLocal8Bit().toStdString());
        return kFailed;
    }
    ProgramReceiver receiver(driver, line.options);
    QString message;
    const TransferOutcome outcome = runTransfer(receiver, "odebrano", message);
    // What came is written even when the line was lost: nothing received is thrown away.
    if (!writeOutput(receiver.bytes()))
        return kFailed;
    if (outcome == TransferOutcome::PortLost) {
        printError(message.toLocal8Bit().toStdString());
        return kFailed;
    }
    return kOk;
}

} // namespace ordalvex::cli
