#include "serial/core/transferoptions.h"

#include "common/core/inifile.h"

#include <algorithm>

namespace ordalvex {

namespace {

const QString kSection = QStringLiteral("Transfer");

int readClamped(const IniFile& file, const QString& key, int defaultValue, int highest) {
    const int value = file.readInteger(kSection, key, defaultValue);
    return value < 0 ? defaultValue : std::min(value, highest);
}

} // namespace

std::string lineEndBytes(TransferOptions::LineEnd lineEnd) {
    switch (lineEnd) {
    case TransferOptions::LineEnd::Cr:
        return "\r";
    case TransferOptions::LineEnd::Lf:
        return "\n";
    case TransferOptions::LineEnd::CrLf:
        break;
    }
    return "\r\n";
}

TransferOptions readTransferOptions(const IniFile& file) {
    const TransferOptions defaults;
    TransferOptions options;
    options.lineEnd = static_cast<TransferOptions::LineEnd>(
        readClamped(file, QStringLiteral("Line_end"), static_cast<int>(defaults.lineEnd), 2));
    options.leaderNuls = readClamped(file, QStringLiteral("Leader_NUL"), defaults.leaderNuls, 10000);
    options.leaderText = file.readString(kSection, QStringLiteral("Leader_text"), defaults.leaderText);
    options.trailerText = file.readString(kSection, QStringLiteral("Trailer_text"), defaults.trailerText);
    options.trailerNuls = readClamped(file, QStringLiteral("Trailer_NUL"), defaults.trailerNuls, 10000);
    options.lineDelayMs = readClamped(file, QStringLiteral("Line_delay"), defaults.lineDelayMs, 60000);
    options.endCharacter =
        file.readString(kSection, QStringLiteral("End_char"), defaults.endCharacter).left(1);
    options.silenceTimeoutS =
        readClamped(file, QStringLiteral("Silence_timeout"), defaults.silenceTimeoutS, 3600);
    return options;
}

void writeTransferOptions(IniFile& file, const TransferOptions& options) {
    file.writeInteger(kSection, QStringLiteral("Line_end"), static_cast<int>(options.lineEnd));
    file.writeInteger(kSection, QStringLiteral("Leader_NUL"), options.leaderNuls);
    file.writeString(kSection, QStringLiteral("Leader_text"), options.leaderText);
    file.writeString(kSection, QStringLiteral("Trailer_text"), options.trailerText);
    file.writeInteger(kSection, QStringLiteral("Trailer_NUL"), options.trailerNuls);
    file.writeInteger(kSection, QStringLiteral("Line_delay"), options.lineDelayMs);
    file.writeString(kSection, QStringLiteral("End_char"), options.endCharacter);
    file.writeInteger(kSection, QStringLiteral("Silence_timeout"), options.silenceTimeoutS);
}

TransferOptions loadTransferOptionsFile(const QString& path) {
    return readIniFile(path, readTransferOptions);
}

bool saveTransferOptionsFile(const QString& path, const TransferOptions& options) {
    return rewriteIniFile(path, [&options](IniFile& file) { writeTransferOptions(file, options); });
}

} // namespace ordalvex
