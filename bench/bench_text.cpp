// Throughput of the whole-text passes, each against the upper-case copy of the same bytes
// measured in the same run, and the browser's folder listing against reading the same files.
// Runs under Google Benchmark; after its own table it prints the ratios (medians over the
// repetitions, which are interleaved at random so that a burst of load on a shared machine
// does not fall on one benchmark only).
//
//   ordalvex_bench_text [--memory=fresh|warm] [Google Benchmark flags]

#include "browser/core/folderlisting.h"
#include "document/core/highlighter.h"
#include "document/core/patternsearch.h"
#include "programgenerator.h"
#include "tools/core/decimalpoints.h"
#include "tools/core/renumber.h"
#include "tools/core/spacing.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace ordalvex;

constexpr std::size_t kProgramLines = 1'000'000;
constexpr int kFolderFiles = 2000;
constexpr std::size_t kFolderFileLines = 200;
// Absent from every input: the generator writes coordinates within +-400 and the corpus has
// no such value, so the search reads the whole text.
constexpr std::string_view kMissingPattern = "X-999.999";

// Name of the baseline each benchmark is compared with, and the goal for the ratio
// (benchmark speed / baseline speed).
struct Figure {
    std::string baseline;
    double goal;
};
std::map<std::string, Figure>& figures() {
    static std::map<std::string, Figure> map;
    return map;
}

template <class Pass>
void registerText(const std::string& name, const std::string& input, const std::string* text, Pass pass,
                  double goal) {
    const std::string full = name + "/" + input;
    benchmark::RegisterBenchmark(full.c_str(), [text, pass](benchmark::State& state) {
        double outputSize = 0;
        for (auto _ : state) {
            auto result = pass(*text);
            benchmark::DoNotOptimize(result);
            benchmark::ClobberMemory();
            if constexpr (std::is_same_v<decltype(result), std::string>)
                outputSize = double(result.size());
        }
        if (outputSize > 0)
            state.counters["out/in"] = outputSize / double(text->size());
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                static_cast<std::int64_t>(text->size()));
    })->Unit(benchmark::kMillisecond);
    if (goal > 0)
        figures()[full] = Figure{"UpperCaseLoop/" + input, goal};
}

void registerTextPasses(const std::string& input, const std::string* text) {
    if (SearchBuffer(*text, 0, 0, kMissingPattern, frDown) ||
        SearchBuffer(*text, 0, 0, kMissingPattern, frDown | frWholeWord | frMatchCase))
        std::fprintf(
            stderr, "warning: %s holds the pattern of the not-found search: that figure is not a full scan\n",
            input.c_str());
    registerText(
        "UpperCaseLoop", input, text, [](const std::string& t) { return bench::upperCaseCopy(t); }, 0);
    registerText(
        "HighlightToRtf", input, text,
        [](const std::string& t) {
            std::string rtf;
            highlightToRtf(t, rtf, "Courier New", 12);
            return rtf;
        },
        0.2);
    const std::string addresses = addressSetFromList(kDefaultAddressList);
    registerText(
        "InsertDecimalPoints", input, text,
        [addresses](const std::string& t) { return insertDecimalPoints(t, addresses); }, 0.2);
    registerText(
        "InsertSpaces", input, text, [](const std::string& t) { return insertSpaces(t); }, 0.2);
    registerText(
        "RemoveSpaces", input, text, [](const std::string& t) { return removeSpaces(t); }, 0.2);
    registerText(
        "SearchBufferNotFound", input, text,
        [](const std::string& t) { return SearchBuffer(t, 0, 0, kMissingPattern, frDown); }, 0.2);
    registerText(
        "SearchBufferNotFoundWholeWord", input, text,
        [](const std::string& t) {
            return SearchBuffer(t, 0, 0, kMissingPattern, frDown | frWholeWord | frMatchCase);
        },
        0.2);
    registerText(
        "RenumberScan", input, text,
        [](const std::string& t) { return renumberBlocks(t, RenumberOptions{}); }, 0.2);
}

// Reading every file's bytes: the least a listing must do.
std::size_t readFolderBytes(const QString& folder) {
    const QDir dir(folder);
    std::size_t total = 0;
    for (const QString& name : dir.entryList({QStringLiteral("*.nc")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            total += static_cast<std::size_t>(file.readAll().size());
    }
    return total;
}

void registerFolder(const QString& folder) {
    const std::string input = std::to_string(kFolderFiles) + "files";
    benchmark::RegisterBenchmark(("ReadFolderBytes/" + input).c_str(), [folder](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(readFolderBytes(folder));
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("ScanFolder/" + input).c_str(), [folder](benchmark::State& state) {
        for (auto _ : state) {
            FolderScanResult result = ScanFolder(folder, QStringLiteral("*.nc"));
            if (!result.error.isEmpty() || result.root.children.size() != std::size_t(kFolderFiles)) {
                state.SkipWithError("the listing did not read every file");
                break;
            }
            benchmark::DoNotOptimize(result);
        }
    })->Unit(benchmark::kMillisecond);
    figures()["ScanFolder/" + input] = Figure{"ReadFolderBytes/" + input, 1.0 / 3.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Google Benchmark's console table, plus the seconds per iteration of every repetition kept
// for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            std::string name = run.benchmark_name();
            if (const auto cut = name.find("/repeats:"); cut != std::string::npos)
                name.resize(cut);
            const double n = static_cast<double>(run.iterations);
            m_cpu[name].push_back(run.cpu_accumulated_time / n);
            m_real[name].push_back(run.real_accumulated_time / n);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints one line per figure; returns how many figures missed their goal.
    int printRatios() const {
        std::printf(
            "\nRatios: speed of the benchmark / speed of its baseline, medians over the repetitions\n");
        std::printf(
            "(CPU time of the benchmark thread; wall-clock in brackets; spread = (max-min)/median of\n"
            "the benchmark's own repetitions)\n\n");
        std::printf("%-42s %-26s %8s %9s %7s %6s %s\n", "benchmark", "baseline", "ratio", "(wall)", "spread",
                    "goal", "met");
        int missed = 0;
        for (const auto& [name, figure] : figures()) {
            const auto cpu = m_cpu.find(name), baseCpu = m_cpu.find(figure.baseline);
            if (cpu == m_cpu.end() || baseCpu == m_cpu.end())
                continue;
            const auto& real = m_real.at(name);
            const auto& baseReal = m_real.at(figure.baseline);
            const double ratio = median(baseCpu->second) / median(cpu->second);
            const double wallRatio = median(baseReal) / median(real);
            const auto [lo, hi] = std::minmax_element(cpu->second.begin(), cpu->second.end());
            const double spread = (*hi - *lo) / median(cpu->second);
            const bool met = ratio >= figure.goal;
            missed += met ? 0 : 1;
            char wall[32];
            std::snprintf(wall, sizeof wall, "(%.3f)", wallRatio);
            std::printf("%-42s %-26s %8.3f %9s %6.0f%% %6.3f %s\n", name.c_str(), figure.baseline.c_str(),
                        ratio, wall, spread * 100, figure.goal, met ? "yes" : "NO");
        }
        return missed;
    }

private:
    std::map<std::string, std::vector<double>> m_cpu, m_real;
};

} // namespace

int main(int argc, char** argv) {
    // Defaults that the command line may override (later flags win).
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=false";
    args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    // --memory=fresh (the default): every large buffer is new memory from the system, so each
    // pass pays for first touching its output, as a load in the editor does. --memory=warm:
    // freed memory is kept and reused, so only the computation is timed. Pinning the threshold
    // also stops glibc from moving it at run time, which would make the first repetitions of
    // a ~30 MB buffer fresh and the later ones warm.
    bool warm = false;
    for (auto it = args.begin() + 1; it != args.end();) {
        const std::string_view arg = *it;
        if (arg == "--memory=warm" || arg == "--memory=fresh") {
            warm = arg == "--memory=warm";
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    if (warm) {
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    } else {
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    }
    std::fprintf(stderr, "memory: %s\n",
                 warm ? "warm (buffers reused)" : "fresh (new pages for every buffer)");
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;

    std::fprintf(stderr, "Generating the inputs...\n");
    const auto generated = std::make_unique<std::string>(bench::generateProgram(kProgramLines));
    std::fprintf(stderr, "generated: %zu lines, %zu bytes\n", bench::countLines(*generated),
                 generated->size());
    registerTextPasses("generated", generated.get());

    const auto corpus = std::make_unique<std::string>(bench::corpusProgram(kProgramLines));
    if (corpus->empty()) {
        std::fprintf(stderr, "corpus: not found (set ORDALVEX_CORPUS), its benchmarks are skipped\n");
    } else {
        std::fprintf(stderr, "corpus: %zu lines, %zu bytes (%s, repeated)\n", bench::countLines(*corpus),
                     corpus->size(), qPrintable(bench::corpusDir()));
        registerTextPasses("corpus", corpus.get());
    }

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder: the folder listing benchmark is skipped\n");
    } else {
        std::size_t bytes = 0;
        for (int i = 0; i < kFolderFiles; ++i) {
            const std::string program =
                bench::generateProgram(kFolderFileLines, std::uint32_t(1000 + i), (i * 7) % 10000);
            bytes += program.size();
            char name[32];
            std::snprintf(name, sizeof name, "O%05d.nc", i);
            if (!bench::writeBytes(folder.filePath(QString::fromLatin1(name)), program)) {
                std::fprintf(stderr, "cannot write the folder's files\n");
                return 1;
            }
        }
        std::fprintf(stderr, "folder: %d files, %zu bytes\n", kFolderFiles, bytes);
        registerFolder(folder.path());
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0; // a missed goal is reported, never a failure
}
