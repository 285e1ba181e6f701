#pragma once

#include <optional>
#include <string_view>

#include <QByteArray>
#include <QString>

namespace ordalvex {

// The whole file at `path` as it is on disk; nothing when it cannot be opened or read through
// (then `error`, when given, receives the system's reason).
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);

// Outcome of a whole-file write (writeFileSafely, and the save of a program in place).
struct FileWriteResult {
    enum Status { Written, CannotCreate, WriteFailed };
    Status status = Written;
    int errorNumber = 0;   // the system's error number of a failed write (0 when unknown)
    QString systemMessage; // the system's description of the failure
    bool inPlace = false;  // the existing file was overwritten directly, without a temporary file
    // After a failed write in place: false when the previous contents could not be put back,
    // so the file on disk may now hold a part of the new text.
    bool previousKept = true;
    bool ok() const { return status == Written; }
};

// Writes `bytes` to `path` so that the file is either the complete new text or left as it
// was: the bytes go to a temporary file in the same folder, which replaces `path` only when
// completely written; an existing file's permissions are kept. CannotCreate: the temporary
// file could not be made (missing folder, a folder at `path`, no rights); WriteFailed: writing
// or replacing failed (disk full, file too large).
FileWriteResult writeFileSafely(const QString& path, std::string_view bytes);

// The message for a failed write: "Nie mogę zapisać pliku. Wystąpił błąd nr N" for a failed
// write, a message naming the file and the system's reason when it cannot be made. A failed
// write in place that could not put the previous contents back adds that the file may be
// incomplete. Empty for a successful write.
QString fileWriteErrorText(const QString& path, const FileWriteResult& result);

} // namespace ordalvex
