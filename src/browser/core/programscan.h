#pragma once

#include "browser/core/scantoken.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace ordalvex {

// The kinds of line in the browser's tree, from the root down.
enum class ScanLineKind { Folder, File, ProgramName, Comment };

// One line of the browser's tree with the lines under it.
struct ScanLine {
    ScanLineKind kind = ScanLineKind::Comment;
    // The line's bytes: for program names and comments the Windows-1250 text as read (letters
    // a-z in capitals); for the folder and files the path or name in the local 8-bit encoding.
    std::string bytes;
    QString text; // the line as shown
    std::vector<ScanLine> children;
};

// Makes a program-name or comment line from the bytes of its token.
ScanLine makeTextLine(ScanLineKind kind, std::string bytes);

// Orders lines by their text with the system locale's collation. Under the C locale the
// order is that of the bytes, as the C library collates them.
class LineOrder {
public:
    // The collation of the system locale at the time of the call.
    static LineOrder system();
    explicit LineOrder(bool byteOrder) : m_byteOrder(byteOrder) {}

    // Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(const ScanLine& a, const ScanLine& b) const;
    bool less(const ScanLine& a, const ScanLine& b) const { return compare(a, b) < 0; }

    // Inserts `line` among `siblings`, which must already be in order, before every line that
    // sorts equal to it (as if it were added first and the siblings then sorted stably).
    // Returns the index it took.
    std::size_t insertSorted(std::vector<ScanLine>& siblings, ScanLine line) const;

private:
    bool m_byteOrder = true;
};

// Scans one program text for the lines the browser lists under its file line. A word of the
// class "Program number" starts a program name, continued by the texts of the tokens after it
// until a line end or an "Other" token (which is dropped); a name longer than 2 characters
// becomes a program-name line, inserted in order among the file's lines. A comment becomes the
// last line under the latest program name, or under the file before the first name (those
// comments are sorted together with the names once a name comes). The scan runs in steps so
// that a caller can keep an interface responsive; the bytes must outlive the scanner.
class ProgramScanner {
public:
    ProgramScanner(std::string_view bytes, LineOrder order);

    // Takes at most `maxTokens` tokens (at least one); returns true once the text is used up.
    bool scan(std::size_t maxTokens);
    bool finished() const { return m_finished; }

    // The lines found so far, complete once finished() holds.
    std::vector<ScanLine>& lines() { return m_lines; }

private:
    void endName();

    ScanReader m_reader;
    LineOrder m_order;
    std::string m_name;
    bool m_inName = false;
    bool m_finished = false;
    bool m_linesSorted = true;
    std::ptrdiff_t m_currentName = -1; // index in m_lines of the latest program name, -1 before any
    std::vector<ScanLine> m_lines;
};

// Scans a whole program text (Windows-1250 bytes) at once; see ProgramScanner.
std::vector<ScanLine> scanProgram(std::string_view bytes, LineOrder order = LineOrder::system());

} // namespace ordalvex
