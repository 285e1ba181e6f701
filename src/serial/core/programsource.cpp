#include "serial/core/programsource.h"

#include "common/core/codepage.h"

#include <algorithm>

namespace ordalvex {

std::int64_t ByteProgramSource::lineCount() const {
    if (m_lineCount == -2) {
        std::int64_t lines = 0;
        for (std::size_t i = 0; i < m_bytes.size(); ++i) {
            if (m_bytes[i] == '\n' ||
                (m_bytes[i] == '\r' && (i + 1 == m_bytes.size() || m_bytes[i + 1] != '\n')))
                ++lines;
        }
        if (!m_bytes.empty() && m_bytes.back() != '\n' && m_bytes.back() != '\r')
            ++lines;
        m_lineCount = lines;
    }
    return m_lineCount;
}

ProgramSource::Next ByteProgramSource::next(std::string& out, QString&) {
    if (m_at >= m_bytes.size())
        return Next::End;
    const std::size_t end = m_bytes.find_first_of("\r\n", m_at);
    if (end == std::string_view::npos) {
        out.append(m_bytes.substr(m_at));
        m_at = m_bytes.size();
        return Next::Line;
    }
    out.append(m_bytes.substr(m_at, end - m_at));
    m_at = end + 1;
    if (m_bytes[end] == '\r' && m_at < m_bytes.size() && m_bytes[m_at] == '\n')
        ++m_at;
    return Next::Line;
}

ProgramSource::Next TextProgramSource::next(std::string& out, QString& error) {
    if (m_next >= m_lineCount)
        return Next::End;
    const std::optional<QString> line = m_lineAt(m_next);
    if (!line) {
        error = QStringLiteral("dokument został zamknięty.");
        return Next::Failed;
    }
    const cp1250::EncodeResult bytes = cp1250::encode(*line);
    if (!bytes.ok()) {
        error =
            QStringLiteral("znak \"%1\" w kolumnie %2 nie ma odpowiednika w stronie kodowej Windows-1250.")
                .arg(QString::fromUcs4(&bytes.failedChar, 1))
                .arg(bytes.failedAt + 1);
        return Next::Failed;
    }
    out += bytes.bytes;
    ++m_next;
    return Next::Line;
}

} // namespace ordalvex
