#include "cli/commands.h"

#include <cstdio>
#include <string_view>

namespace {

struct Subcommand {
    std::string_view name;
    std::string_view usage;
    int (*run)(ordalvex::cli::Arguments);
};

constexpr Subcommand kSubcommands[] = {
    {"highlight", "highlight [--font NAME] [--size N] [FILE|-]   coloured RTF of a program",
     ordalvex::cli::runHighlight},
    {"dots", "dots [--addresses LIST] [FILE|-]   decimal points after whole numbers of the addresses",
     ordalvex::cli::runDots},
    {"remove-spaces", "remove-spaces [FILE|-]   spaces between words removed",
     ordalvex::cli::runRemoveSpaces},
    {"insert-spaces", "insert-spaces [FILE|-]   one space before each address word",
     ordalvex::cli::runInsertSpaces},
    {"renumber", "renumber [--first N] [--step N] [--min N] [--zeros] [FILE|-]   block numbers renumbered",
     ordalvex::cli::runRenumber},
    {"scan", "scan [--mask MASK] FOLDER   program names and comments of the folder's files (mask *.nc)",
     ordalvex::cli::runScan},
    {"calc",
     "calc bolt-circle --diameter TEXT --first TEXT --pitch TEXT --count TEXT [--inch-in] [--inch-out]\n"
     "  calc cutting --mode vc|s [--d TEXT] [--z TEXT] [--vc TEXT] [--fz TEXT] [--s TEXT] [--f TEXT]\n"
     "  calc triangle (two of --a --b --c --B --C, not --B with --C; each with TEXT)\n"
     "  calc convert --to-mm TEXT | --to-inch TEXT   the workshop calculators on field texts",
     ordalvex::cli::runCalc},
    {"find",
     "find [--whole-word] [--match-case] [--up] PATTERN [FILE|-]   positions (line ends count two) that\n"
     "    repeated find next selects from the start (--up: from the end); \"?\" any character, \"$\" any "
     "digit",
     ordalvex::cli::runFind},
    {"send", "send --port DEVICE|COMn [--settings FILE.cfg] FILE   sends a program over the serial line",
     ordalvex::cli::runSend},
    {"receive",
     "receive --port DEVICE|COMn [--settings FILE.cfg] [--end CHAR] [--timeout S]   program from the serial\n"
     "    line to standard output, up to the end character (\"%\"; --end '' for none) or S seconds of "
     "silence",
     ordalvex::cli::runReceive},
};

void printUsage(std::FILE* out = stderr) {
    std::fputs("usage: ordalvex-cnc COMMAND [OPTIONS] [FILE|-]\n", out);
    for (const auto& sub : kSubcommands)
        std::fprintf(out, "  %.*s\n", int(sub.usage.size()), sub.usage.data());
    if (out == stdout)
        std::fputs("  --help   this text;  --version   the version\n", out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return ordalvex::cli::kBadUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "--version") {
        if (name == "--help")
            printUsage(stdout);
        else
            std::printf("ordalvex-cnc %s\n", ORDALVEX_VERSION);
        return std::fflush(stdout) == 0 ? ordalvex::cli::kOk : ordalvex::cli::kFailed;
    }
    for (const auto& sub : kSubcommands) {
        if (sub.name != name)
            continue;
        const int code = sub.run(ordalvex::cli::Arguments(argv + 2, argv + argc));
        if (code == ordalvex::cli::kBadUsage)
            printUsage();
        return code;
    }
    printUsage();
    return ordalvex::cli::kBadUsage;
}
