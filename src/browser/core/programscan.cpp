#include "browser/core/programscan.h"

#include "common/core/codepage.h"

#include <algorithm>

#include <QLocale>

namespace ordalvex {

ScanLine makeTextLine(ScanLineKind kind, std::string bytes) {
    ScanLine line;
    line.kind = kind;
    line.text = cp1250::decode(bytes);
    line.bytes = std::move(bytes);
    return line;
}

LineOrder LineOrder::system() {
    return LineOrder(QLocale::system().collation().language() == QLocale::C);
}

int LineOrder::compare(const ScanLine& a, const ScanLine& b) const {
    if (m_byteOrder) {
        const int c = a.bytes.compare(b.bytes);
        // Bytes are compared as unsigned, as the C library does.
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return QString::localeAwareCompare(a.text, b.text);
}

std::size_t LineOrder::insertSorted(std::vector<ScanLine>& siblings, ScanLine line) const {
    const auto at = std::lower_bound(siblings.begin(), siblings.end(), line,
                                     [this](const ScanLine& a, const ScanLine& b) { return less(a, b); });
    const auto index = static_cast<std::size_t>(at - siblings.begin());
    siblings.insert(at, std::move(line));
    return index;
}

ProgramScanner::ProgramScanner(std::string_view bytes, LineOrder order) : m_reader(bytes), m_order(order) {
}

bool ProgramScanner::scan(std::size_t maxTokens) {
    for (std::size_t taken = 0; !m_finished && (taken == 0 || taken < maxTokens); ++taken) {
        if (!m_inName && m_reader.atEnd()) {
            m_finished = true;
            break;
        }
        const ScanSpan token = ScanTokenSpan(m_reader);
        if (m_inName) {
            // The end of the text ends a name as any "Other" token does.
            if (token.cls == ScanClass::LineEnd || token.cls == ScanClass::Other ||
                token.cls == ScanClass::End)
                endName();
            else
                m_reader.appendText(token.begin, token.end, m_name);
            continue;
        }
        if (token.cls == ScanClass::Comment) {
            std::string text;
            m_reader.appendText(token.begin, token.end, text);
            auto& siblings = m_currentName < 0 ? m_lines : m_lines[std::size_t(m_currentName)].children;
            siblings.push_back(makeTextLine(ScanLineKind::Comment, std::move(text)));
            if (m_currentName < 0)
                m_linesSorted = false;
        } else if (token.cls == ScanClass::ProgramNumber) {
            m_name.clear();
            m_reader.appendText(token.begin, token.end, m_name);
            m_inName = true;
        }
    }
    return m_finished;
}

void ProgramScanner::endName() {
    m_inName = false;
    if (m_name.size() <= 2)
        return;
    // The comments before the first name were added in file order; sorting them stably first
    // and then inserting the name gives the same order as adding the name and sorting all.
    if (!m_linesSorted) {
        std::stable_sort(m_lines.begin(), m_lines.end(),
                         [this](const ScanLine& a, const ScanLine& b) { return m_order.less(a, b); });
        m_linesSorted = true;
    }
    m_currentName = std::ptrdiff_t(
        m_order.insertSorted(m_lines, makeTextLine(ScanLineKind::ProgramName, std::move(m_name))));
    m_name.clear();
}

std::vector<ScanLine> scanProgram(std::string_view bytes, LineOrder order) {
    ProgramScanner scanner(bytes, order);
    while (!scanner.scan(4096)) {
    }
    return std::move(scanner.lines());
}

} // namespace ordalvex
