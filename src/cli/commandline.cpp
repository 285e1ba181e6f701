#include "cli/commandline.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace ordalvex::cli {

bool readInput(std::string_view path, std::string& bytes) {
    std::FILE* file = stdin;
    const bool fromStdin = path.empty() || path == "-";
    if (!fromStdin) {
        file = std::fopen(std::string(path).c_str(), "rb");
        if (!file) {
            printError(std::string(path) + ": " + std::strerror(errno));
            return false;
        }
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    if (!fromStdin)
        std::fclose(file);
    if (failed)
        printError(std::string(fromStdin ? "standard input" : path) + ": read error");
    return !failed;
}

bool writeOutput(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        printError("cannot write to standard output");
        return false;
    }
    return true;
}

void printError(std::string_view text) {
    std::cerr << "ordalvex-cnc: " << text << '\n';
}

bool takeOption(Arguments& args, std::string_view name, std::string& value) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it != name)
            continue;
        if (it + 1 == args.end())
            return false;
        value = std::string(*(it + 1));
        args.erase(it, it + 2);
        return true;
    }
    return true;
}

bool parseInt(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace ordalvex::cli
