#pragma once

#include "browser/core/programscan.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace ordalvex {

// The folder prefix: `folder` with a "/" appended unless it already ends with a path
// delimiter. An empty folder gives an empty prefix.
QString folderPrefix(const QString& folder);

// The names (without folder) of the regular files in the folder `prefix` whose names match
// `mask` ("*.nc"; "*" and "?" wildcards; several patterns separated by blanks, as in
// "*.nc *.min", match a file when any of them does) without regard to case, hidden files included, in
// the order the file system gives them. Folders, device files, pipes and dangling links are
// left out: they cannot be read as program text. A missing folder gives an empty list.
QStringList listMatchingFiles(const QString& prefix, const QString& mask);

// Lists a folder as the file browser shows it: a root line (the folder prefix, in native
// separators) with one line per matching file, kept in order by name, and under each file the
// lines that scanProgram finds in it. Every file is read afresh, whole, when its turn comes.
// The work is done in steps (run) so that an interface can stay responsive.
class FolderListing {
public:
    enum class Status {
        Running,  // files remain to be read
        Finished, // every file was listed
        Failed,   // a file could not be read: the listing stopped there (see error())
    };

    FolderListing(const QString& folder, const QString& mask, LineOrder order = LineOrder::system());

    // Called with a new file line (no lines under it yet) and the index among the root's
    // children at which it takes its place in order, before the file is read (so the line
    // stays when reading fails).
    std::function<void(std::size_t index, const ScanLine& file)> onFileAdded;
    // Called with the same index and the file line once its program names and comments are
    // complete.
    std::function<void(std::size_t index, const ScanLine& file)> onFileScanned;

    // Continues the listing until it ends or about `budget` has passed (checked between
    // files and every few thousand tokens); a zero budget runs it to the end.
    Status run(std::chrono::milliseconds budget);

    Status status() const { return m_status; }
    // The root line's text, the folder prefix in native separators.
    const QString& rootText() const { return m_root.text; }
    // Number of file lines so far.
    std::size_t fileCount() const { return m_files.size(); }
    // Hands the tree over, the root line with the file lines so far in order, and leaves the
    // listing empty.
    ScanLine takeRoot();
    const QString& prefix() const { return m_prefix; }
    // Whether the root line is to be shown expanded: after a listing that found files and
    // read them all.
    bool rootExpanded() const { return m_status == Status::Finished && !m_files.empty(); }
    // The system's message for the file that could not be read.
    const QString& error() const { return m_error; }

private:
    bool startNextFile();
    void finishFile();

    QString m_prefix;
    QStringList m_names;
    qsizetype m_nextName = 0;
    LineOrder m_order;
    ScanLine m_root;
    // The file lines in the order they were found, and their indices in order by name: a
    // large folder costs no moving of lines while the order is kept.
    std::vector<ScanLine> m_files;
    std::vector<std::size_t> m_sorted;
    Status m_status = Status::Running;
    QString m_error;

    // The file being scanned: its bytes, its line's index and the scanner over the bytes.
    QByteArray m_bytes;
    std::size_t m_fileIndex = 0;  // among the root's children, in order
    std::size_t m_fileNumber = 0; // in m_files
    std::optional<ProgramScanner> m_scanner;
};

// The whole listing of a folder at once (for scripts): the tree, whether its root is
// expanded, and the error that stopped it, if any.
struct FolderScanResult {
    ScanLine root;
    bool rootExpanded = false;
    QString error; // empty when every file was read
};
FolderScanResult ScanFolder(const QString& folder, const QString& mask,
                            LineOrder order = LineOrder::system());

} // namespace ordalvex
