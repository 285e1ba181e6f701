#include "browser/core/folderlisting.h"

#include "common/core/filebytes.h"

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace ordalvex {

namespace {

// Tokens scanned between two looks at the clock: well under a millisecond of work.
constexpr std::size_t kTokensPerStep = 4096;

ScanLine makeNameLine(ScanLineKind kind, const QString& text) {
    ScanLine line;
    line.kind = kind;
    line.text = text;
    line.bytes = QFile::encodeName(text).toStdString();
    return line;
}

} // namespace

QString folderPrefix(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

QStringList listMatchingFiles(const QString& prefix, const QString& mask) {
    QStringList names;
    if (prefix.isEmpty())
        return names;
    // Name filters match without regard to case unless asked otherwise; without QDir::System
    // pipes, sockets, devices and dangling links stay out, so nothing can block a read.
    const QStringList patterns = mask.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QDirIterator it(prefix, patterns, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isFile())
            names.append(it.fileName());
    }
    return names;
}

FolderListing::FolderListing(const QString& folder, const QString& mask, LineOrder order)
    : m_prefix(folderPrefix(folder)), m_names(listMatchingFiles(m_prefix, mask)), m_order(order),
      m_root(makeNameLine(ScanLineKind::Folder, QDir::toNativeSeparators(m_prefix))) {
    if (m_names.isEmpty())
        m_status = Status::Finished;
}

FolderListing::Status FolderListing::run(std::chrono::milliseconds budget) {
    QElapsedTimer clock;
    clock.start();
    const auto timeUp = [&] { return budget.count() > 0 && clock.elapsed() >= budget.count(); };
    while (m_status == Status::Running) {
        if (!m_scanner && !startNextFile())
            break;
        while (!m_scanner->scan(kTokensPerStep)) {
            if (timeUp())
                return m_status;
        }
        finishFile();
        if (timeUp())
            break;
    }
    return m_status;
}

bool FolderListing::startNextFile() {
    if (m_nextName >= m_names.size()) {
        m_status = Status::Finished;
        return false;
    }
    const QString name = m_names.at(m_nextName++);
    m_fileNumber = m_files.size();
    m_files.push_back(makeNameLine(ScanLineKind::File, name));
    const auto at = std::lower_bound(
        m_sorted.begin(), m_sorted.end(), m_fileNumber,
        [this](std::size_t a, std::size_t b) { return m_order.less(m_files[a], m_files[b]); });
    m_fileIndex = std::size_t(at - m_sorted.begin());
    m_sorted.insert(at, m_fileNumber);
    if (onFileAdded)
        onFileAdded(m_fileIndex, m_files.back());
    std::optional<QByteArray> bytes = readWholeFile(m_prefix + name, &m_error);
    if (!bytes) {
        m_status = Status::Failed;
        return false;
    }
    m_bytes = std::move(*bytes);
    m_scanner.emplace(std::string_view(m_bytes.constData(), std::size_t(m_bytes.size())), m_order);
    return true;
}

void FolderListing::finishFile() {
    ScanLine& file = m_files[m_fileNumber];
    file.children = std::move(m_scanner->lines());
    m_scanner.reset();
    m_bytes.clear();
    if (onFileScanned)
        onFileScanned(m_fileIndex, file);
}

ScanLine FolderListing::takeRoot() {
    ScanLine root = std::move(m_root);
    root.children.clear();
    root.children.reserve(m_sorted.size());
    for (std::size_t number : m_sorted)
        root.children.push_back(std::move(m_files[number]));
    m_files.clear();
    m_sorted.clear();
    return root;
}

FolderScanResult ScanFolder(const QString& folder, const QString& mask, LineOrder order) {
    FolderListing listing(folder, mask, order);
    listing.run(std::chrono::milliseconds(0));
    const bool expanded = listing.rootExpanded();
    return {listing.takeRoot(), expanded, listing.error()};
}

} // namespace ordalvex
