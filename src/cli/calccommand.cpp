#include "calculators/core/boltcircle.h"
#include "calculators/core/cuttingparameters.h"
#include "calculators/core/lengthconversion.h"
#include "calculators/core/triangle.h"
#include "cli/commands.h"
#include "common/core/numbers.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include <QString>

namespace ordalvex::cli {

namespace {

// Takes "--name VALUE" as text; `ok` turns false when the option has no value.
std::optional<QString> takeText(Arguments& args, std::string_view name, bool& ok) {
    if (std::find(args.begin(), args.end(), name) == args.end())
        return std::nullopt;
    std::string value;
    ok = takeOption(args, name, value) && ok;
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

// Takes a flag without a value.
bool takeFlag(Arguments& args, std::string_view name) {
    const auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

bool print(const QString& text) {
    return writeOutput(text.toUtf8().toStdString());
}

// The window's own message, as it would show it, on standard error.
void printMessage(const QString& message) {
    const QByteArray bytes = message.toUtf8() + '\n';
    std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), stderr);
}

int boltCircle(Arguments args) {
    bool ok = true;
    const auto diameter = takeText(args, "--diameter", ok);
    const auto first = takeText(args, "--first", ok);
    const auto pitch = takeText(args, "--pitch", ok);
    const auto count = takeText(args, "--count", ok);
    const bool inchIn = takeFlag(args, "--inch-in");
    const bool inchOut = takeFlag(args, "--inch-out");
    if (!ok || !args.empty() || !diameter || !first || !pitch || !count)
        return kBadUsage;
    const auto result = solveBoltCircle({*diameter, *first, *pitch, *count, inchIn, inchOut});
    if (!result.ok()) {
        printMessage(result.error->message);
        return kFailed;
    }
    QString text;
    for (const auto& hole : result.holes)
        text += hole.caption + u'\t' + hole.x + u'\t' + hole.y + u'\n';
    return print(text) ? kOk : kFailed;
}

int cutting(Arguments args) {
    bool ok = true;
    const auto mode = takeText(args, "--mode", ok);
    CuttingFields fields;
    const std::pair<const char*, QString*> options[] = {
        {"--d", &fields.diameter},      {"--z", &fields.edges},        {"--vc", &fields.cuttingSpeed},
        {"--fz", &fields.feedPerTooth}, {"--s", &fields.spindleSpeed}, {"--f", &fields.feed}};
    for (const auto& [name, field] : options) {
        if (const auto text = takeText(args, name, ok))
            *field = *text;
    }
    if (!ok || !args.empty() || !mode || (*mode != u"vc" && *mode != u"s"))
        return kBadUsage;
    const auto result =
        calculateCutting(*mode == u"vc" ? CuttingMode::CuttingSpeed : CuttingMode::SpindleSpeed, fields);
    const auto& f = result.fields;
    return print(QStringLiteral("D=%1\nOs=%2\nVc=%3\nFz=%4\nS=%5\nF=%6\n")
                     .arg(f.diameter, f.edges, f.cuttingSpeed, f.feedPerTooth, f.spindleSpeed, f.feed))
               ? kOk
               : kFailed;
}

int triangle(Arguments args) {
    bool ok = true;
    const char* names[] = {"--a", "--b", "--c", "--B", "--C"};
    QString texts[5];
    int code = 0;
    int given = 0;
    for (int i = 0; i < 5; ++i) {
        const auto text = takeText(args, names[i], ok);
        texts[i] = text.value_or(QStringLiteral("1"));
        if (text) {
            code += 1 << i;
            ++given;
        }
    }
    if (!ok || !args.empty() || given != 2 || !isSolvableSelection(code))
        return kBadUsage;
    std::array<double, 5> values{};
    for (int i = 0; i < 5; ++i)
        values[std::size_t(i)] = numbers::readNumber(texts[i]);
    const auto result = solveTriangle(code, values);
    for (const auto& write : result.writes)
        texts[int(write.quantity)] = write.text;
    const bool written = print(QStringLiteral("a=%1\nb=%2\nc=%3\nB=%4\nC=%5\n")
                                   .arg(texts[0], texts[1], texts[2], texts[3], texts[4]));
    if (!result.error.isEmpty()) {
        printMessage(result.error);
        return kFailed;
    }
    return written ? kOk : kFailed;
}

int convert(Arguments args) {
    bool ok = true;
    const auto toMillimetres = takeText(args, "--to-mm", ok);
    const auto toInches = takeText(args, "--to-inch", ok);
    if (!ok || !args.empty() || toMillimetres.has_value() == toInches.has_value())
        return kBadUsage;
    const QString result = toInches ? convertLength(*toInches, true) : convertLength(*toMillimetres, false);
    return print(result + u'\n') ? kOk : kFailed;
}

} // namespace

int runCalc(Arguments args) {
    if (args.empty())
        return kBadUsage;
    const std::string_view which = args.front();
    args.erase(args.begin());
    if (which == "bolt-circle")
        return boltCircle(std::move(args));
    if (which == "cutting")
        return cutting(std::move(args));
    if (which == "triangle")
        return triangle(std::move(args));
    if (which == "convert")
        return convert(std::move(args));
    return kBadUsage;
}

} // namespace ordalvex::cli
