#include "browser/core/folderlisting.h"
#include "cli/commands.h"

#include <QFile>
#include <QFileInfo>

namespace ordalvex::cli {

namespace {

void appendLines(const ScanLine& line, std::size_t depth, std::string& out) {
    out.append(depth * 2, ' ');
    out += line.bytes;
    out += '\n';
    for (const auto& child : line.children)
        appendLines(child, depth + 1, out);
}

} // namespace

int runScan(Arguments args) {
    std::string mask = "*.nc";
    if (!takeOption(args, "--mask", mask) || args.size() != 1 || mask.empty())
        return kBadUsage;
    const std::string folderBytes(args.front());
    const QString folder = QFile::decodeName(QByteArray::fromStdString(folderBytes));
    if (!QFileInfo(folder).isDir()) {
        printError(folderBytes + ": not a folder");
        return kFailed;
    }
    const FolderScanResult result =
        ScanFolder(folder, QString::fromLocal8Bit(mask.data(), qsizetype(mask.size())));
    std::string out;
    appendLines(result.root, 0, out);
    // What was listed before an unreadable file is printed, as the browser shows it.
    if (!writeOutput(out))
        return kFailed;
    if (!result.error.isEmpty()) {
        printError(result.error.toLocal8Bit().toStdString());
        return kFailed;
    }
    return kOk;
}

} // namespace ordalvex::cli
