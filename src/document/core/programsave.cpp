#include "document/core/programsave.h"

#include "document/core/patternsearch.h"

#include <cerrno>

#include <QFileInfo>
#include <QSaveFile>

namespace ordalvex {

namespace {

constexpr std::size_t kProgramNumberLength = 5;
constexpr std::size_t kDateLength = 10;

void collectMatches(std::string_view text, std::string_view pattern, std::vector<std::size_t>& out) {
    std::ptrdiff_t from = 0;
    while (const auto found = SearchBuffer(text, from, 0, pattern, frDown)) {
        out.push_back(*found);
        from = static_cast<std::ptrdiff_t>(*found + pattern.size());
    }
}

} // namespace

std::optional<std::string> findProgramNumber(std::string_view text) {
    auto found = SearchBuffer(text, 0, 0, "O$$$$", frDown);
    if (!found)
        found = SearchBuffer(text, 0, 0, ":$$$$", frDown);
    if (!found)
        return std::nullopt;
    std::string number(text.substr(*found, kProgramNumberLength));
    if (number.front() == ':')
        number.front() = 'O';
    return number;
}

std::vector<std::size_t> dateStampPositions(std::string_view text) {
    std::vector<std::size_t> positions;
    collectMatches(text, "$$.$$.$$$$", positions);
    collectMatches(text, "$$-$$-$$$$", positions);
    return positions;
}

std::string dateStampText(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

std::string stampDates(std::string_view text, std::string_view date) {
    std::string stamped(text);
    if (date.size() != kDateLength)
        return stamped;
    for (const std::size_t at : dateStampPositions(text))
        stamped.replace(at, kDateLength, date);
    return stamped;
}

QString backupPathFor(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const qsizetype folderLength = path.size() - name.size();
    return path.left(folderLength) + base + QStringLiteral(".bak");
}

std::string withEveryLineEnded(std::string text) {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    return text;
}

FileWriteResult writeFileSafely(const QString& path, std::string_view bytes) {
    FileWriteResult result;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = FileWriteResult::CannotCreate;
        result.errorNumber = errno;
        result.systemMessage = file.errorString();
        return result;
    }
    // The error number is taken right after the call that failed, before cleanup overwrites it.
    errno = 0;
    const auto size = static_cast<qint64>(bytes.size());
    bool ok = file.write(bytes.data(), size) == size;
    ok = ok && file.flush();
    int error = errno;
    if (ok) {
        errno = 0;
        ok = file.commit();
        error = errno;
    } else {
        file.cancelWriting();
    }
    if (!ok) {
        result.status = FileWriteResult::WriteFailed;
        result.errorNumber = error;
        result.systemMessage = file.errorString();
    }
    return result;
}

QString fileWriteErrorText(const QString& path, const FileWriteResult& result) {
    switch (result.status) {
    case FileWriteResult::Written:
        return {};
    case FileWriteResult::CannotCreate:
        return QStringLiteral("Nie można utworzyć pliku \"%1\".\r%2").arg(path, result.systemMessage);
    case FileWriteResult::WriteFailed:
        break;
    }
    return QStringLiteral("Nie mogę zapisać pliku. Wystąpił błąd nr %1").arg(result.errorNumber);
}

} // namespace ordalvex
