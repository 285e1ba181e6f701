#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordalvex::cli {

// Exit codes of every subcommand.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;   // the input could not be read or processed
inline constexpr int kBadUsage = 2; // the command line is wrong

using Arguments = std::vector<std::string_view>;

// Reads the named file, or standard input for "-" or no name; false with a message on stderr.
bool readInput(std::string_view path, std::string& bytes);
// Writes bytes to standard output; false with a message on stderr.
bool writeOutput(std::string_view bytes);
// Prints "ordalvex-cnc: <text>" to standard error.
void printError(std::string_view text);

// Reads the one input the arguments left name (standard input for none or "-") and writes
// what `transform` (string_view to string) makes of its bytes. kBadUsage when more than one
// argument or an option is left, kFailed when the input cannot be read or the output written.
template <class Transform> int filterInput(const Arguments& args, Transform transform) {
    if (args.size() > 1 || (!args.empty() && args.front().starts_with("--")))
        return kBadUsage;
    std::string input;
    if (!readInput(args.empty() ? "-" : args.front(), input))
        return kFailed;
    return writeOutput(transform(input)) ? kOk : kFailed;
}

// Takes "--name VALUE" from the arguments; false when the option is present without a value.
bool takeOption(Arguments& args, std::string_view name, std::string& value);
// Parses a whole decimal number; false when the text is not one.
bool parseInt(std::string_view text, int& value);

} // namespace ordalvex::cli
