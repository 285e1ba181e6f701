#include "document/core/programsave.h"

#include "common/core/programfiletypes.h"
#include "document/core/patternsearch.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <QFile>
#include <QFileInfo>

namespace ordalvex {

namespace {

constexpr std::size_t kProgramNumberLength = 5;
constexpr std::size_t kDateLength = 10;

// Begin and end (exclusive) of each comment of the text, in order; the brackets, the ";" and
// the line end are not part of it.
using Span = std::pair<std::size_t, std::size_t>;
std::vector<Span> commentSpans(std::string_view text) {
    std::vector<Span> spans;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '(' && c != ';') {
            ++i;
            continue;
        }
        const std::size_t begin = i + 1;
        std::size_t end =
            text.find_first_of(c == '(' ? std::string_view(")\r\n") : std::string_view("\r\n"), begin);
        if (end == std::string_view::npos)
            end = text.size();
        spans.emplace_back(begin, end);
        i = end;
    }
    return spans;
}

bool isDigit(std::string_view text, std::size_t at) {
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

bool insideComment(const std::vector<Span>& comments, std::size_t begin, std::size_t end) {
    auto after = std::upper_bound(comments.begin(), comments.end(), begin,
                                  [](std::size_t at, const Span& span) { return at < span.first; });
    return after != comments.begin() && std::prev(after)->second >= end;
}

void collectDates(std::string_view text, std::string_view pattern, const std::vector<Span>& comments,
                  std::vector<std::size_t>& out) {
    std::ptrdiff_t from = 0;
    while (const auto found = SearchBuffer(text, from, 0, pattern, frDown)) {
        const std::size_t at = *found;
        const bool whole = (at == 0 || !isDigit(text, at - 1)) && !isDigit(text, at + kDateLength);
        if (whole && insideComment(comments, at, at + kDateLength))
            out.push_back(at);
        from = static_cast<std::ptrdiff_t>(at + pattern.size());
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
    const std::vector<Span> comments = commentSpans(text);
    if (comments.empty())
        return positions;
    collectDates(text, "$$.$$.$$$$", comments, positions);
    collectDates(text, "$$-$$-$$$$", comments, positions);
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
    return withExtension(path, QStringLiteral(".bak"));
}

std::string withEveryLineEnded(std::string text) {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    return text;
}

namespace {

// Writes `bytes` over the start of the open file and cuts it to their length; false, with
// `error` set to the system's error number, when a step fails.
bool overwrite(QFile& file, std::string_view bytes, int& error) {
    errno = 0;
    const auto size = static_cast<qint64>(bytes.size());
    bool ok = file.seek(0) && file.write(bytes.data(), size) == size && file.flush();
    // The file is cut only after the whole text is in it: cut first, a failure would leave it
    // shorter than both the old and the new text.
    ok = ok && file.resize(size);
    error = errno;
    return ok;
}

} // namespace

FileWriteResult writeFileInPlace(const QString& path, std::string_view bytes) {
    FileWriteResult result;
    result.inPlace = true;
    QFile file(path);
    errno = 0;
    // Read and write: opened for writing only, the file would be emptied at once. Unbuffered: a
    // failed write must not leave bytes in a buffer that the write-back would flush first.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        result.status = FileWriteResult::CannotCreate;
        result.errorNumber = errno;
        result.systemMessage = file.errorString();
        return result;
    }
    const QByteArray previous = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    int error = 0;
    if (readOk && overwrite(file, bytes, error))
        return result;
    result.status = FileWriteResult::WriteFailed;
    result.errorNumber = error;
    result.systemMessage = file.errorString();
    if (readOk) {
        int ignored = 0;
        result.previousKept = overwrite(
            file, std::string_view(previous.constData(), static_cast<std::size_t>(previous.size())), ignored);
    }
    return result;
}

FileWriteResult writeProgramFile(const QString& path, std::string_view bytes) {
    FileWriteResult result = writeFileSafely(path, bytes);
    if (result.status != FileWriteResult::CannotCreate)
        return result;
    const QFileInfo target(path);
    if (!target.isFile() || !target.isWritable())
        return result;
    return writeFileInPlace(path, bytes);
}

} // namespace ordalvex
