#pragma once

#include "common/core/filebytes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QDate>
#include <QString>

namespace ordalvex {

// The program number of a program text (Windows-1250 bytes): the first five characters that
// match "O$$$$" (letters without case, "$" any digit), or when there are none the first that
// match ":$$$$", with a leading ":" given as "O". So ":0010" gives "O0010" and "O12345" gives
// "O1234"; an "o" stays as typed. Nothing when neither pattern occurs.
std::optional<std::string> findProgramNumber(std::string_view text);

// Offsets of the dates that saving replaces by today's date: every "$$.$$.$$$$" (left to
// right, each search going on after the previous match), then every "$$-$$-$$$$" the same
// way, keeping only whole dates (no digit right before or after) inside a comment. A comment
// runs from "(" to the next ")" or line end (CR or LF), or from ";" to the line end; a ";"
// inside a bracket comment and a "(" inside a ";" comment are plain text. Program code that
// looks like a date (#5=[10-20-3000]) is never a date. Each date is ten characters long.
std::vector<std::size_t> dateStampPositions(std::string_view text);

// A date as the date stamp writes it: "dd.mm.yyyy" whatever the locale (ten characters).
std::string dateStampText(const QDate& date);

// The text with every date of dateStampPositions() replaced by `date` (ten characters).
std::string stampDates(std::string_view text, std::string_view date);

// The path of the backup copy: `path` with the extension of its file name replaced by ".bak"
// ("C:/P/O0010.NC" gives "C:/P/O0010.bak"; a name without extension gets ".bak" appended).
QString backupPathFor(const QString& path);

// Program text as written to a file: every line ended by CR LF, so a last line without a
// line end gets one; an empty text stays empty. A text that already ends with a line end
// (CR or LF) is returned as it is.
std::string withEveryLineEnded(std::string text);

// Overwrites the existing file `path` with `bytes` directly (for a folder in which no file can
// be created but the file itself is writable). The file is not emptied first: the new bytes
// go over the old ones and the file is cut to their length only when all were written. When
// writing fails part-way, the previous contents are written back; `previousKept` tells
// whether that worked. CannotCreate: the file cannot be opened for reading and writing;
// WriteFailed: writing or cutting failed. `inPlace` is always set.
FileWriteResult writeFileInPlace(const QString& path, std::string_view bytes);

// writeFileSafely, falling back to writeFileInPlace when the temporary file cannot be created
// but `path` is an existing regular file that may be written.
FileWriteResult writeProgramFile(const QString& path, std::string_view bytes);

} // namespace ordalvex
