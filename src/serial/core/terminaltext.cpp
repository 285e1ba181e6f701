#include "serial/core/terminaltext.h"

#include "common/core/codepage.h"

namespace ordalvex {

QStringList receiveIntoLastLine(const QString& lastLine, std::string_view bytes) {
    QStringList lines{lastLine};
    QString current = lastLine;
    for (const char byte : bytes) {
        switch (byte) {
        case '\b':
            current.chop(1);
            break;
        case '\n':
            break;
        case '\r':
            lines.back() = current;
            lines.append(QString());
            current.clear();
            break;
        default:
            current.append(QChar(cp1250::toUnicode(static_cast<unsigned char>(byte))));
            break;
        }
    }
    if (!current.isEmpty())
        lines.back() = current;
    return lines;
}

std::optional<QString> lineToSend(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.back().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return std::nullopt;
    return lines.back();
}

} // namespace ordalvex
