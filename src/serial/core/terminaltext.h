#pragma once

#include <optional>
#include <string_view>

#include <QString>
#include <QStringList>

// The text rules of the transfer window's test area: how received bytes extend the receive
// view and which line Enter sends.
namespace ordalvex {

// Applies a block of received bytes to the receive view whose last line is lastLine (empty
// when the view has no line). Gives the lines that take the place of that last line: the
// first replaces it, the others follow it. Each byte is one Windows-1250 character;
// backspace (8) removes the last character of the line being built, LF (10) is ignored, CR
// (13) ends the line and starts an empty one. A block that leaves the line being built empty
// does not write it, so the view's last line stays as it was (backspaces that erase the
// whole line stay unseen until more text comes).
QStringList receiveIntoLastLine(const QString& lastLine, std::string_view bytes);

// The line Enter sends from a send area holding text (lines separated by '\n'): its last
// line, where an empty line at the very end does not count, so Enter on an empty last line
// sends the line above it again. Nothing when the text holds no line at all.
std::optional<QString> lineToSend(const QString& text);

} // namespace ordalvex
