#pragma once

#include <string>

#include <QString>

namespace ordalvex {

class IniFile;

// How programs are sent and received over the line, kept in the port settings file beside
// the line settings so that one ".cfg" holds everything about a machine.
struct TransferOptions {
    enum class LineEnd { CrLf, Cr, Lf };
    LineEnd lineEnd = LineEnd::CrLf;            // written after every line sent
    int leaderNuls = 0;                         // NUL bytes before the program, 0 to 10000
    QString leaderText;                         // text after the leader's NULs, e.g. "%"
    QString trailerText;                        // text after the program
    int trailerNuls = 0;                        // NUL bytes after the trailer's text, 0 to 10000
    int lineDelayMs = 0;                        // pause after each line, 0 to 60000 milliseconds
    QString endCharacter = QStringLiteral("%"); // ends a receive (see ProgramReceiver); empty: none
    int silenceTimeoutS = 10; // seconds of silence after the first byte that end a receive, 0: none
    bool operator==(const TransferOptions&) const = default;
};

// The bytes of a line end: "\r\n", "\r" or "\n".
std::string lineEndBytes(TransferOptions::LineEnd lineEnd);

// Reads the section "Transfer" (keys "Line_end" 0 CR LF / 1 CR / 2 LF, "Leader_NUL",
// "Leader_text", "Trailer_text", "Trailer_NUL", "Line_delay" in milliseconds, "End_char",
// "Silence_timeout" in seconds). A missing key or a value that is not a number gives the
// default; numbers are clamped to their ranges; only the first character of "End_char" counts.
TransferOptions readTransferOptions(const IniFile& file);

// Writes the keys above into "Transfer"; every other section and key stays.
void writeTransferOptions(IniFile& file, const TransferOptions& options);

// The options of the port settings file at path; a missing or unreadable file gives the
// defaults.
TransferOptions loadTransferOptionsFile(const QString& path);

// Writes options into the file at path, keeping whatever else it holds. False, leaving the
// file as it was, when an existing file cannot be read or the file cannot be written.
bool saveTransferOptionsFile(const QString& path, const TransferOptions& options);

} // namespace ordalvex
