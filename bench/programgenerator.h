#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <QString>

namespace ordalvex::bench {

// Generates a milling program as a CAM post-processor writes it: Windows-1250 bytes with
// CR LF line ends, "%" first and last, an "O" line with a comment, N words on every block,
// tool changes (T, M6, S, M3/M5, M8/M9), rapid and feed moves (G0/G1), arcs (G2/G3 with I/J
// or R), X/Y/Z values with up to three decimals, F words, comments with Polish letters (some
// in lower case), and now and then a macro block (#1=2, IF[#1EQ2]GOTO10, WHILE/END).
// `lines` is the exact number of lines (at least 4); `seed` makes different but repeatable
// programs; `programNumber` (0 to 9999) is the number on the "O" line. Averages about 32
// bytes a line.
std::string generateProgram(std::size_t lines, std::uint32_t seed = 1, int programNumber = 1000);

// The folder of real programs shared by the team: $ORDALVEX_CORPUS when set, otherwise the
// folder configured at build time (../shared/corpus beside the repository). Empty when the
// folder does not exist.
QString corpusDir();

// The corpus files joined (sorted by path, README/MANIFEST/licence files left out, a CR LF
// after each file that does not end with a line end) and repeated until the text holds at
// least `minLines` line ends. Empty when there is no corpus.
std::string corpusProgram(std::size_t minLines);

// Number of line ends in `text` (CR LF counting once, a lone CR or LF once).
std::size_t countLines(std::string_view text);

// The baseline every text benchmark is compared with: copies `text` upper-cased (the code
// page's own casing, through a 256-entry table) into a new buffer, the least work any
// whole-text pass must do.
std::string upperCaseCopy(std::string_view text);

// Writes `bytes` to `path`; false on any failure.
bool writeBytes(const QString& path, std::string_view bytes);

// Peak resident memory of this process so far (VmHWM), in KiB; 0 when unknown.
long peakResidentKiB();

} // namespace ordalvex::bench
