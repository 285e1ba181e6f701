// Loading a large program into the interface, against QPlainTextEdit::setPlainText of the same
// text in the same run: the coloured document window (TEditForm::OpenFile, then typing at the
// end of the text and the memory kept after closing it), and the renumbering dialog with its
// coloured preview (TFormRenum). Every load runs in a child
// process of its own (this executable with --child MODE FILE), so that its peak memory
// (VmHWM) is its own; the parent prints the ratios as medians over a few rounds.
//
//   ordalvex_bench_gui [--lines N] [--rounds N] [--no-corpus]

#include "common/core/codepage.h"
#include "common/ui/userinteraction.h"
#include "document/core/patternsearch.h"
#include "document/ui/loadintoeditor.h"
#include "document/ui/searcheditor.h"
#include "document/ui/teditform.h"
#include "document/ui/trichedit98.h"
#include "programgenerator.h"
#include "tools/ui/tformrenum.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

namespace {

using namespace ordalvex;

// Stands in for the user: a message during a load is a failure of the run, printed and
// answered at once so that nothing waits for a click.
class BenchInteraction : public UserInteraction {
public:
    static inline int messages = 0;
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton) override {
        ++messages;
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(caption), qPrintable(text));
        return QMessageBox::Ok;
    }
    void beep() override {}
    FileDialogResult openFiles(QWidget*, const FileDialogRequest&) override { return {}; }
    FileDialogResult saveFile(QWidget*, const FileDialogRequest&) override { return {}; }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
};

// Measures the longest time the event loop went without running a 10 ms timer.
class GapMeter {
public:
    GapMeter() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_maxGap = 0;
        m_since.start();
        m_timer.start();
    }
    qint64 stop() {
        tick();
        m_timer.stop();
        return m_maxGap;
    }

private:
    void tick() { m_maxGap = std::max(m_maxGap, m_since.restart()); }
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_maxGap = 0;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lets the freshly shown window settle so that its first paint is not timed.
void settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

const QFont& editorFont() {
    static const QFont font(QStringLiteral("Courier New"), 12);
    return font;
}

// Resident memory now (VmRSS), KiB.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Runs the event loop until `done` holds (each turn waits for events, no busy loop).
template <typename Done> void waitUntil(Done done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 20);
}

// Median time in microseconds to handle and paint one typed key at the end of the text.
double typingMicros(TRichEdit98& editor) {
    editor.setFocus();
    editor.setSelStart(editor.textLength());
    std::vector<double> times;
    QElapsedTimer t;
    for (int i = 0; i < 200; ++i) {
        const Qt::Key key = i % 10 == 9 ? Qt::Key_Return : Qt::Key(Qt::Key_A + i % 26);
        const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : QString(QChar('a' + i % 26));
        t.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&editor, &release);
        editor.viewport()->repaint();
        times.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int runChild(const QString& mode, const QString& path) {
    setInteraction(std::make_unique<BenchInteraction>());
    GapMeter gaps;
    QElapsedTimer clock;
    double cpuStart = 0;
    qint64 elapsed = 0, maxGap = 0;
    int lines = 0;
    double keyMicros = 0;
    long keptKiB = 0;
    auto begin = [&] {
        cpuStart = cpuSeconds();
        gaps.start();
        clock.start();
    };
    auto end = [&] {
        // The text is in the widget once the window has painted it.
        QCoreApplication::processEvents();
        elapsed = clock.elapsed();
        maxGap = gaps.stop();
    };
    const double cpuEnd = [&] {
        if (mode == QLatin1String("plain")) {
            QPlainTextEdit edit;
            edit.setFont(editorFont());
            edit.resize(800, 600);
            edit.show();
            settle();
            QString text;
            {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly))
                    return -1.0;
                const QByteArray bytes = file.readAll();
                text = cp1250::decode(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            }
            begin();
            edit.setPlainText(text);
            end();
            const double cpu = cpuSeconds();
            text.clear();
            lines = edit.document()->blockCount();
            return cpu;
        }
        if (mode == QLatin1String("coloured")) {
            const long before = residentKiB();
            auto* form = new TEditForm;
            FormatSettings format;
            format.SyntaxHighlighting = true;
            format.FontName = editorFont().family();
            format.FontSize = editorFont().pointSize();
            form->document().setFormat(format);
            form->resize(800, 600);
            form->show();
            settle();
            begin();
            form->OpenFile(path);
            waitUntil([&] { return !form->isLoading(); });
            end();
            const double cpu = cpuSeconds();
            lines = form->editor()->lineCount();
            keyMicros = typingMicros(*form->editor());
            // Closing the window gives its memory back.
            delete form;
            QCoreApplication::processEvents();
            keptKiB = residentKiB() - before;
            return cpu;
        }
        if (mode == QLatin1String("renum")) {
            QTemporaryDir temp;
            begin();
            TFormRenum dialog(path, temp.path());
            dialog.show();
            waitUntil([&] { return !dialog.previewLoading(); });
            end();
            const double cpu = cpuSeconds();
            if (auto* preview = dialog.findChild<TRichEdit98*>(QStringLiteral("RichEditRenum")))
                lines = preview->lineCount();
            return cpu;
        }
        return -1.0;
    }();
    if (cpuEnd < 0 || BenchInteraction::messages > 0) {
        std::fprintf(stderr, "child %s failed\n", qPrintable(mode));
        return 1;
    }
    std::printf("RESULT %lld %.0f %ld %lld %d %.0f %ld\n", static_cast<long long>(elapsed),
                (cpuEnd - cpuStart) * 1000, bench::peakResidentKiB(), static_cast<long long>(maxGap), lines,
                keyMicros, keptKiB);
    return 0;
}

struct ChildResult {
    double ms = 0;      // wall-clock of the load
    double cpuMs = 0;   // CPU of the whole process (all threads) over the load
    double peakKiB = 0; // VmHWM at the end
    double gapMs = 0;   // longest time without the event loop
    int lines = 0;
    double keyMicros = 0; // median per typed key after the load (coloured window)
    double keptKiB = 0;   // resident memory kept after the window closed (coloured window)
};

std::optional<ChildResult> runInChild(const QString& self, const QString& mode, const QString& path) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QStringLiteral("--child"), mode, path});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("RESULT "))
            continue;
        const QList<QByteArray> f = line.mid(7).split(' ');
        if (f.size() < 7)
            break;
        return ChildResult{f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble(),
                           f[4].toInt(),    f[5].toDouble(), f[6].toDouble()};
    }
    return std::nullopt;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void measure(const QString& self, const QString& input, const QString& path, std::size_t lines, int rounds) {
    const QStringList modes{QStringLiteral("plain"), QStringLiteral("coloured"), QStringLiteral("renum")};
    std::map<QString, std::vector<ChildResult>> results;
    std::printf("\n== %s: %zu lines, %lld bytes ==\n", qPrintable(input), lines,
                static_cast<long long>(QFile(path).size()));
    std::printf("%5s %-9s %9s %9s %10s %8s %9s %8s %9s\n", "round", "load", "wall ms", "cpu ms", "peak MiB",
                "gap ms", "lines", "key ms", "kept MiB");
    for (int round = 0; round < rounds; ++round) {
        // Rotate the order so that a burst of load on the machine does not always hit one mode.
        for (int i = 0; i < modes.size(); ++i) {
            const QString& mode = modes[(i + round) % modes.size()];
            const auto r = runInChild(self, mode, path);
            if (!r) {
                std::printf("%5d %-9s failed\n", round + 1, qPrintable(mode));
                continue;
            }
            results[mode].push_back(*r);
            std::printf("%5d %-9s %9.0f %9.0f %10.1f %8.0f %9d %8.2f %9.1f\n", round + 1, qPrintable(mode),
                        r->ms, r->cpuMs, r->peakKiB / 1024, r->gapMs, r->lines, r->keyMicros / 1000,
                        r->keptKiB / 1024);
            std::fflush(stdout);
        }
    }
    // Ratios within each round, then the median and range over the rounds.
    auto ratios = [&](const QString& mode, auto field) {
        std::vector<double> v;
        const auto& a = results[mode];
        const auto& b = results[QStringLiteral("plain")];
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            v.push_back(field(a[i]) / field(b[i]));
        return v;
    };
    auto gaps = [&](const QString& mode) {
        std::vector<double> v;
        for (const auto& r : results[mode])
            v.push_back(r.gapMs);
        return v;
    };
    auto row = [](const char* figure, const std::vector<double>& v, double goal, bool atMost,
                  const char* unit) {
        if (v.empty()) {
            std::printf("%-52s %10s\n", figure, "no data");
            return;
        }
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        const double m = median(v);
        const bool met = atMost ? m <= goal : m >= goal;
        std::printf("%-52s %8.2f%s  (%.2f..%.2f)  goal %s %.2f%s  %s\n", figure, m, unit, *lo, *hi,
                    atMost ? "<=" : ">=", goal, unit, met ? "met" : "MISSED");
    };
    std::printf("\nFigures for %s (median over %d rounds, range in brackets):\n", qPrintable(input), rounds);
    const auto wall = [](const ChildResult& r) { return r.ms; };
    const auto cpu = [](const ChildResult& r) { return r.cpuMs; };
    const auto peak = [](const ChildResult& r) { return r.peakKiB; };
    row("coloured window / plain load, wall time", ratios(QStringLiteral("coloured"), wall), 0.25, true, "x");
    row("coloured window / plain load, CPU time (all threads)", ratios(QStringLiteral("coloured"), cpu), 3,
        true, "x");
    row("coloured window / plain load, peak memory", ratios(QStringLiteral("coloured"), peak), 0.5, true,
        "x");
    row("coloured window: longest event-loop gap", gaps(QStringLiteral("coloured")), 50, true, " ms");
    auto field = [&](const QString& mode, auto get) {
        std::vector<double> v;
        for (const auto& r : results[mode])
            v.push_back(get(r));
        return v;
    };
    row("coloured window: typing at the end, median per key",
        field(QStringLiteral("coloured"), [](const ChildResult& r) { return r.keyMicros / 1000; }), 16, true,
        " ms");
    row("coloured window: memory kept after closing it",
        field(QStringLiteral("coloured"), [](const ChildResult& r) { return r.keptKiB / 1024; }), 50, true,
        " MiB");
    row("renumbering dialog / plain load, wall time", ratios(QStringLiteral("renum"), wall), 3, true, "x");
    row("renumbering dialog / plain load, CPU time", ratios(QStringLiteral("renum"), cpu), 3, true, "x");
    row("renumbering dialog / plain load, peak memory", ratios(QStringLiteral("renum"), peak), 1.5, true,
        "x");
    row("renumbering dialog: longest event-loop gap", gaps(QStringLiteral("renum")), 50, true, " ms");
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    std::size_t lines = 1'000'000;
    int rounds = 3;
    bool useCorpus = true;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lines") && i + 1 < args.size())
            lines = args[++i].toULong();
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--no-corpus"))
            useCorpus = false;
        else {
            std::fprintf(stderr, "usage: ordalvex_bench_gui [--lines N] [--rounds N] [--no-corpus]\n");
            return 2;
        }
    }
    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString generatedPath = temp.filePath(QStringLiteral("generated.nc"));
    if (!bench::writeBytes(generatedPath, bench::generateProgram(lines))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(generatedPath));
        return 1;
    }
    measure(self, QStringLiteral("generated"), generatedPath, lines, rounds);

    if (useCorpus) {
        const std::string corpus = bench::corpusProgram(lines);
        const QString corpusPath = temp.filePath(QStringLiteral("corpus.nc"));
        if (corpus.empty())
            std::printf("\ncorpus: not found (set ORDALVEX_CORPUS), skipped\n");
        else if (bench::writeBytes(corpusPath, corpus))
            measure(self, QStringLiteral("corpus"), corpusPath, bench::countLines(corpus), rounds);
    }
    return 0; // a missed goal is reported, never a failure
}
