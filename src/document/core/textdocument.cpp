#include "document/core/textdocument.h"

#include "common/core/codepage.h"
#include "common/core/filebytes.h"
#include "common/core/programfiletypes.h"
#include "document/core/programsave.h"

#include <QDir>
#include <QFileInfo>

namespace ordalvex {

namespace {

QString inPlaceWithoutBackupText(const QString& path) {
    const QFileInfo info(path);
    return QStringLiteral("W folderze \"%1\" nie można tworzyć plików.\rPlik \"%2\" został zapisany "
                          "bezpośrednio, bez kopii zapasowej \"%3\".")
        .arg(QDir::toNativeSeparators(info.absolutePath()), info.fileName(),
             QFileInfo(backupPathFor(path)).fileName());
}

// Copies the file on disk to its ".bak" name. The old copy is replaced only by a complete new
// one, or overwritten in place where the folder takes no new files. Returns whether the copy
// was made; a missing source or a failed copy is not an error.
bool makeBackup(const QString& path) {
    const QString backup = backupPathFor(path);
    // A file that is itself named ".bak" would be its own backup.
    if (QFileInfo(backup).absoluteFilePath() == QFileInfo(path).absoluteFilePath())
        return false;
    const std::optional<QByteArray> bytes = readWholeFile(path);
    return bytes && writeProgramFile(
                        backup, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())))
                        .ok();
}

} // namespace

std::optional<TextDocument::NameMismatch> TextDocument::nameMismatch(std::string_view bytes) const {
    if (m_nameAgreed)
        return std::nullopt;
    const std::optional<std::string> number = findProgramNumber(bytes);
    if (!number)
        return std::nullopt;
    NameMismatch mismatch{withExtension(QFileInfo(m_fileName).fileName(), QString()),
                          cp1250::decode(*number)};
    if (mismatch.programNumber == mismatch.fileBaseName)
        return std::nullopt;
    return mismatch;
}

TextDocument::SaveOutcome TextDocument::save(std::string bytes, const QDate& today) const {
    SaveOutcome outcome;
    const bool backedUp = makeBackup(m_fileName);
    const std::string date = dateStampText(today);
    outcome.today = QString::fromStdString(date);
    outcome.stampedDates = dateStampPositions(bytes);
    for (const std::size_t at : outcome.stampedDates)
        bytes.replace(at, date.size(), date);
    const FileWriteResult written = writeProgramFile(m_fileName, withEveryLineEnded(std::move(bytes)));
    if (!written.ok()) {
        outcome.error = fileWriteErrorText(m_fileName, written);
        return outcome;
    }
    outcome.saved = true;
    if (written.inPlace && !backedUp)
        outcome.warning = inPlaceWithoutBackupText(m_fileName);
    return outcome;
}

QString TextDocument::saveCopy(const QString& path, std::string bytes) {
    const FileWriteResult written = writeProgramFile(path, withEveryLineEnded(std::move(bytes)));
    return written.ok() ? QString() : fileWriteErrorText(path, written);
}

} // namespace ordalvex
