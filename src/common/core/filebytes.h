#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace ordalvex {

// The whole file at `path` as it is on disk; nothing when it cannot be opened or read through
// (then `error`, when given, receives the system's reason).
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);

} // namespace ordalvex
