// Opening a generated program from the command line, as a file manager does, against KWrite
// on the same file under the same X server in the same run: seconds from the start of the
// process until it has used no CPU for two seconds (the text is loaded, coloured and shown),
// and its peak resident memory. Needs a display (DISPLAY); the KWrite rows are skipped where
// `kwrite` is not installed.
//
//   ordalvex_bench_startup [--lines N] [--rounds N] [--ordalvex PATH]

#include "programgenerator.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace {

// CPU ticks (user + system) of a process and its peak resident memory in KiB.
struct ProcessUse {
    long long ticks = -1;
    long peakKiB = 0;
};

ProcessUse useOf(qint64 pid) {
    ProcessUse use;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // Fields after the command name, which is in brackets and may hold spaces.
        const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 13)
            use.ticks = f[11].toLongLong() + f[12].toLongLong();
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& l : status.readAll().split('\n'))
            if (l.startsWith("VmHWM:"))
                use.peakKiB = l.mid(6).trimmed().split(' ').first().toLong();
    return use;
}

// The process named `name` started by `parent` (KWrite under its own session bus), or 0.
qint64 childNamed(qint64 parent, const QByteArray& name) {
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QByteArray comm =
            line.mid(line.indexOf('(') + 1, line.lastIndexOf(')') - line.indexOf('(') - 1);
        const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 1 && f[1].toLongLong() == parent && comm == name)
            return pid;
    }
    return 0;
}

struct Run {
    double seconds = 0;
    double peakMiB = 0;
};

// Starts `program` with `arguments` and waits until it has been idle for two seconds.
// `watched`, when given, names the process to watch among the children of the one started.
std::optional<Run> measure(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& env, const QByteArray& watched = {}) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return std::nullopt;
    qint64 pid = process.processId();
    if (!watched.isEmpty()) {
        qint64 child = 0;
        for (int i = 0; i < 200 && child == 0; ++i) {
            QThread::msleep(10);
            child = childNamed(pid, watched);
        }
        if (child == 0)
            return std::nullopt;
        pid = child;
    }
    const long tick = sysconf(_SC_CLK_TCK);
    long long lastTicks = -1;
    qint64 lastChange = 0;
    long peak = 0;
    while (clock.elapsed() < 600'000) {
        QThread::msleep(50);
        const ProcessUse use = useOf(pid);
        if (use.ticks < 0)
            return std::nullopt; // the process ended
        peak = std::max(peak, use.peakKiB);
        if (use.ticks != lastTicks) {
            lastTicks = use.ticks;
            lastChange = clock.elapsed();
        } else if (clock.elapsed() - lastChange >= 2000 && use.ticks > tick / 10) {
            break;
        }
    }
    process.kill();
    process.waitForFinished(5000);
    return Run{double(lastChange) / 1000.0, double(peak) / 1024.0};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::size_t lines = 1'000'000;
    int rounds = 3;
    QString ordalvex = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/app/ordalvex");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lines") && i + 1 < args.size())
            lines = args[++i].toULong();
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--ordalvex") && i + 1 < args.size())
            ordalvex = args[++i];
        else {
            std::fprintf(stderr,
                         "usage: ordalvex_bench_startup [--lines N] [--rounds N] [--ordalvex PATH]\n");
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no DISPLAY: the start-up comparison needs an X server (e.g. Xvfb :99), skipped\n");
        return 0;
    }
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("O1000.nc"));
    if (!ordalvex::bench::writeBytes(path, ordalvex::bench::generateProgram(lines))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORDALVEX_INI"), temp.filePath(QStringLiteral("Ordalvex.INI")));
    const QString kwrite = QStandardPaths::findExecutable(QStringLiteral("kwrite"));
    const QString dbus = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
    std::printf("%zu lines, %lld bytes; %d rounds, time until 2 s idle, peak resident memory\n", lines,
                static_cast<long long>(QFile(path).size()), rounds);
    std::vector<double> ordSeconds, ordPeak, kwSeconds, kwPeak;
    for (int round = 0; round < rounds; ++round) {
        if (const auto r = measure(ordalvex, {path}, env)) {
            ordSeconds.push_back(r->seconds);
            ordPeak.push_back(r->peakMiB);
            std::printf("round %d  ordalvex  %7.2f s  %8.1f MiB\n", round + 1, r->seconds, r->peakMiB);
        }
        if (!kwrite.isEmpty()) {
            // KWrite wants a session bus; one of its own keeps the runs apart.
            const auto r = dbus.isEmpty()
                               ? measure(kwrite, {path}, env)
                               : measure(dbus, {QStringLiteral("--"), kwrite, path}, env, "kwrite");
            if (r) {
                kwSeconds.push_back(r->seconds);
                kwPeak.push_back(r->peakMiB);
                std::printf("round %d  kwrite    %7.2f s  %8.1f MiB\n", round + 1, r->seconds, r->peakMiB);
            }
        }
        std::fflush(stdout);
    }
    std::printf("\nmedian: ordalvex %.2f s, %.1f MiB", median(ordSeconds), median(ordPeak));
    if (kwSeconds.empty()) {
        std::printf("; kwrite not installed, no comparison\n");
        return 0;
    }
    std::printf("; kwrite %.2f s, %.1f MiB\n", median(kwSeconds), median(kwPeak));
    std::printf("ordalvex / kwrite: time %.2fx (goal <= 1.0), peak memory %.2fx (goal <= 1.0)\n",
                median(ordSeconds) / median(kwSeconds), median(ordPeak) / median(kwPeak));
    return 0;
}
