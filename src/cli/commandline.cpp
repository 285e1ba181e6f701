#include "cli/commandline.h"

#include "common/core/filebytes.h"

#include <charconv>
#include <cstdio>
#include <iostream>

#include <QFile>

namespace ordalvex::cli {

bool readInput(std::string_view path, std::string& bytes) {
    if (!path.empty() && path != "-") {
        QString error;
        const std::optional<QByteArray> read =
            readWholeFile(QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))), &error);
        if (!read)
            printError(std::string(path) + ": " + error.toLocal8Bit().toStdString());
        else
            bytes.append(read->constData(), std::size_t(read->size()));
        return read.has_value();
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(stdin) != 0;
    if (failed)
        printError("standard input: read error");
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
