// Sending a program over a pseudo-terminal, against `cat FILE > pty` of the same file in the
// same run: throughput with no flow control, the longest pause of the event loop while the
// sender runs, and the memory a send from a loaded document takes beside the document's own.
//
//   ordalvex_bench_serial [--lines N] [--rounds N]

#include "common/core/codepage.h"
#include "programgenerator.h"
#include "serial/core/portsettings.h"
#include "serial/core/programsender.h"
#include "serial/core/programsource.h"
#include "serial/core/tcommportdriver.h"
#include "serial/core/transferport.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

using namespace ordalvex;

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// A pseudo-terminal whose far end is raw (no line-end translation), drained as fast as
// possible by a thread that reports when the expected number of bytes has come.
class DrainedPty {
public:
    DrainedPty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(m_master);
        unlockpt(m_master);
        char name[128] = {};
        ptsname_r(m_master, name, sizeof name);
        m_slavePath = QString::fromLocal8Bit(name);
        // Held open so that the raw settings stay between the runs.
        m_slave = ::open(name, O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
    }
    ~DrainedPty() {
        ::close(m_slave);
        ::close(m_master);
    }
    const QString& slavePath() const { return m_slavePath; }

    // Starts draining; wait() gives the milliseconds from start() until `expected` bytes came.
    void start(long long expected) {
        m_clock.start();
        m_thread = std::thread([this, expected] {
            std::vector<char> buffer(1 << 16);
            long long got = 0;
            while (got < expected) {
                pollfd state{m_master, POLLIN, 0};
                if (::poll(&state, 1, 5000) <= 0)
                    break;
                const ssize_t n = ::read(m_master, buffer.data(), buffer.size());
                if (n <= 0)
                    break;
                got += n;
            }
            m_got = got;
            m_ms = m_clock.nsecsElapsed() / 1e6;
        });
    }
    double wait() {
        m_thread.join();
        return m_ms;
    }
    long long got() const { return m_got; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::thread m_thread;
    QElapsedTimer m_clock;
    std::atomic<long long> m_got{0};
    double m_ms = 0;
};

struct SendRun {
    double ms = 0;
    qint64 longestPauseMs = 0;
    long peakExtraKiB = 0; // resident memory above the level at the start of the send
    bool ok = false;
};

// Sends source to the pty with no flow control, the event loop running; a 5 ms timer
// measures the loop's pauses and samples the resident memory.
SendRun sendOver(DrainedPty& pty, ProgramSource& source, long long expected) {
    TCommPortDriver driver;
    PortSettings settings;
    settings.baudRate = 11;
    if (!openTransferPort(driver, {QStringLiteral("pty"), pty.slavePath()}, settings).isEmpty())
        return {};
    SendRun run;
    const long before = residentKiB();
    ProgramSender sender(driver, source, TransferOptions{});
    QElapsedTimer gap;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        run.longestPauseMs = std::max(run.longestPauseMs, gap.restart());
        run.peakExtraKiB = std::max(run.peakExtraKiB, residentKiB() - before);
    });
    bool done = false;
    QObject::connect(&sender, &ProgramSender::finished, [&](TransferOutcome outcome, const QString&) {
        run.ok = outcome == TransferOutcome::Done;
        done = true;
    });
    pty.start(expected);
    gap.start();
    beat.start(5);
    sender.start();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    beat.stop();
    run.ms = pty.wait();
    run.ok = run.ok && pty.got() == expected;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    std::size_t lines = 1'000'000;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string_view(argv[i]) == "--lines")
            lines = std::strtoul(argv[i + 1], nullptr, 10);
        else if (std::string_view(argv[i]) == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("program.nc"));
    {
        const std::string program = bench::generateProgram(lines);
        if (!bench::writeBytes(path, program))
            return 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const qint64 size = file.size();
    const auto* mapped = reinterpret_cast<const char*>(file.map(0, size));
    const std::string_view bytes(mapped, std::size_t(size));
    DrainedPty pty;
    std::printf("program: %zu lines, %lld bytes; pty %s\n", lines, static_cast<long long>(size),
                qPrintable(pty.slavePath()));

    std::vector<double> ratios;
    qint64 longestPause = 0;
    std::printf("%5s %10s %12s %8s %12s\n", "round", "cat ms", "sender ms", "ratio", "pause ms");
    for (int round = 1; round <= rounds; ++round) {
        pty.start(size);
        QProcess cat;
        cat.setStandardInputFile(path);
        cat.setStandardOutputFile(pty.slavePath(), QIODevice::Append);
        cat.start(QStringLiteral("cat"), {});
        cat.waitForFinished(-1);
        const double catMs = pty.wait();
        ByteProgramSource source(bytes);
        const SendRun sent = sendOver(pty, source, size);
        if (!sent.ok) {
            std::printf("round %d: the send failed\n", round);
            return 1;
        }
        // Throughput of the sender / throughput of cat: the same bytes, so cat's time / ours.
        ratios.push_back(catMs / sent.ms);
        longestPause = std::max(longestPause, sent.longestPauseMs);
        std::printf("%5d %10.0f %12.0f %8.2f %12lld\n", round, catMs, sent.ms, catMs / sent.ms,
                    static_cast<long long>(sent.longestPauseMs));
    }

    // The same program sent from a loaded document, line by line, as the editor's command does.
    const long beforeDocument = residentKiB();
    QTextDocument document;
    document.setPlainText(cp1250::decode(bytes));
    const long documentKiB = residentKiB() - beforeDocument;
    const int lineCount =
        document.lastBlock().length() <= 1 ? document.blockCount() - 1 : document.blockCount();
    TextProgramSource source(lineCount, [&document](int index) -> std::optional<QString> {
        return document.findBlockByNumber(index).text();
    });
    const SendRun fromDocument = sendOver(pty, source, size);
    std::printf("from a document: %.0f ms, longest pause %lld ms, document %ld KiB, memory during the send "
                "+%ld KiB (%.1f %%)%s\n",
                fromDocument.ms, static_cast<long long>(fromDocument.longestPauseMs), documentKiB,
                fromDocument.peakExtraKiB,
                100.0 * double(fromDocument.peakExtraKiB) / double(std::max(1L, documentKiB)),
                fromDocument.ok ? "" : " (FAILED)");

    std::printf("\n%-62s %8s %8s\n", "figure", "median", "goal");
    std::printf("%-62s %8.2f %8s\n", "send throughput / cat FILE > pty (no flow control)", median(ratios),
                ">= 0.5");
    std::printf("%-62s %8lld %8s\n", "longest event-loop pause while sending (ms)",
                static_cast<long long>(std::max(longestPause, fromDocument.longestPauseMs)), "<= 50");
    std::printf("%-62s %7.1f%% %8s\n", "memory during a send from a document / the document's",
                100.0 * double(fromDocument.peakExtraKiB) / double(std::max(1L, documentKiB)), "<= 10%");
    return 0;
}
