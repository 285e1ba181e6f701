#include "document/core/rtfreader.h"

#include "common/core/codepage.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace ordalvex {

namespace {

enum class Destination : std::uint8_t { Text, FontTable, ColourTable, Skip };

struct GroupState {
    RtfCharFormat format;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct FormatHash {
    std::size_t operator()(const RtfCharFormat& f) const {
        return (static_cast<std::size_t>(f.colour) * 1000003u) ^ (static_cast<std::size_t>(f.font) << 20) ^
               (static_cast<std::size_t>(f.halfPoints) << 8) ^ (f.bold ? 1u : 0u) ^ (f.italic ? 2u : 0u);
    }
};

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : m_in(rtf) {}

    RtfReadResult run() {
        RtfReadResult result;
        if (m_in.substr(0, 5) != "{\\rtf") {
            result.error = QStringLiteral("not an RTF document");
            return result;
        }
        m_doc.text.reserve(static_cast<qsizetype>(m_in.size() / 2));
        m_stack.reserve(16);
        m_stack.push_back(GroupState{});
        parse();
        flushRun();
        dropFinalParagraphMark();
        result.document = std::move(m_doc);
        return result;
    }

private:
    GroupState& state() { return m_stack.back(); }

    void parse() {
        const char* p = m_in.data();
        const char* end = p + m_in.size();
        while (p < end) {
            const char c = *p;
            if (c == '{') {
                m_stack.push_back(m_stack.back());
                ++p;
                continue;
            }
            if (c == '}') {
                closeGroup();
                ++p;
                if (m_stack.size() <= 1)
                    return; // text after the document's closing brace is ignored
                continue;
            }
            if (c == '\\') {
                p = controlSequence(p + 1, end);
                continue;
            }
            if (c == '\r' || c == '\n') {
                ++p;
                continue;
            }
            if (state().destination == Destination::Text) {
                // Plain text runs until the next markup; copy it in one go.
                const char* q = p;
                while (q < end && *q != '{' && *q != '}' && *q != '\\' && *q != '\r' && *q != '\n')
                    ++q;
                appendBytes(std::string_view(p, static_cast<std::size_t>(q - p)));
                p = q;
            } else {
                destinationChar(c);
                ++p;
            }
        }
    }

    void closeGroup() {
        const GroupState closing = m_stack.back();
        m_stack.pop_back();
        if (closing.destination == Destination::FontTable && !m_stack.empty() &&
            m_stack.back().destination == Destination::FontTable)
            finishFontEntry();
    }

    const char* controlSequence(const char* p, const char* end) {
        if (p >= end)
            return p;
        const char c = *p;
        if (!isAsciiLetter(c)) {
            ++p;
            switch (c) {
            case '\\':
            case '{':
            case '}':
                textChar(static_cast<char16_t>(c));
                break;
            case '~':
                textChar(u'\u00A0');
                break;
            case '_':
                textChar(u'-');
                break;
            case '\'':
                if (end - p < 2)
                    return end; // a truncated escape ends the input
                {
                    int value = 0;
                    std::from_chars(p, p + 2, value, 16);
                    p += 2;
                    byteChar(static_cast<unsigned char>(value));
                }
                break;
            case '*':
                state().destination = Destination::Skip;
                break;
            case '\r':
            case '\n':
                textChar(u'\n');
                break;
            default:
                break; // "\-" and other control symbols carry no text here
            }
            return p;
        }
        const char* wordStart = p;
        while (p < end && isAsciiLetter(*p))
            ++p;
        const std::string_view word(wordStart, static_cast<std::size_t>(p - wordStart));
        bool hasParam = false;
        long long param = 0;
        if (p < end && (*p == '-' || (*p >= '0' && *p <= '9'))) {
            const char* numStart = p;
            if (*p == '-')
                ++p;
            while (p < end && *p >= '0' && *p <= '9')
                ++p;
            std::from_chars(numStart, p, param);
            hasParam = true;
        }
        if (p < end && *p == ' ')
            ++p; // the delimiter space belongs to the control word
        controlWord(word, hasParam, param);
        return p;
    }

    void controlWord(std::string_view word, bool hasParam, long long param) {
        GroupState& s = state();
        const int value = static_cast<int>(param);
        if (word == "par" || word == "line") {
            textChar(u'\n');
        } else if (word == "cf") {
            s.format.colour = hasParam ? value : 0;
        } else if (word == "b") {
            s.format.bold = !hasParam || value != 0;
        } else if (word == "i") {
            s.format.italic = !hasParam || value != 0;
        } else if (word == "tab") {
            textChar(u'\t');
        } else if (word == "f") {
            if (s.destination == Destination::FontTable)
                m_fontNumber = value;
            else
                s.format.font = value;
        } else if (word == "fs") {
            s.format.halfPoints = hasParam ? value : 24;
        } else if (word == "plain") {
            s.format = RtfCharFormat{};
            s.format.font = m_defaultFont;
        } else if (word == "deff") {
            m_defaultFont = value;
        } else if (word == "uc") {
            s.unicodeSkip = std::max(0, value);
        } else if (word == "u") {
            textChar(static_cast<char16_t>(static_cast<std::uint16_t>(value)));
            m_skipBytes = s.unicodeSkip;
        } else if (word == "fonttbl") {
            s.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            s.destination = Destination::ColourTable;
            m_doc.colours.clear();
            m_colour = RtfColour{};
        } else if (word == "red" || word == "green" || word == "blue") {
            if (s.destination == Destination::ColourTable) {
                m_colour.isAuto = false;
                const auto v = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
                (word == "red" ? m_colour.red : word == "green" ? m_colour.green : m_colour.blue) = v;
            }
        } else if (word == "stylesheet" || word == "info" || word == "pict" || word == "header" ||
                   word == "footer" || word == "object" || word == "listtable" || word == "themedata") {
            s.destination = Destination::Skip;
        }
    }

    void destinationChar(char c) {
        switch (state().destination) {
        case Destination::FontTable:
            if (c == ';')
                finishFontEntry();
            else
                m_fontName += c;
            break;
        case Destination::ColourTable:
            if (c == ';') {
                m_doc.colours.push_back(m_colour);
                m_colour = RtfColour{};
            }
            break;
        default:
            break;
        }
    }

    void finishFontEntry() {
        // The font table is indexed by number: a huge number in a damaged or hostile file
        // must not make it allocate gigabytes, so fonts beyond any real table are dropped.
        constexpr int kMaxFontNumber = 4095;
        if (m_fontNumber < 0 || m_fontNumber > kMaxFontNumber) {
            m_fontName.clear();
            m_fontNumber = -1;
            return;
        }
        const QString name = cp1250::decode(m_fontName).trimmed();
        if (static_cast<std::size_t>(m_fontNumber) >= m_doc.fonts.size())
            m_doc.fonts.resize(static_cast<std::size_t>(m_fontNumber) + 1);
        if (m_doc.fonts[static_cast<std::size_t>(m_fontNumber)].isEmpty())
            m_doc.fonts[static_cast<std::size_t>(m_fontNumber)] = name;
        m_fontName.clear();
        m_fontNumber = -1;
    }

    void byteChar(unsigned char b) {
        if (state().destination == Destination::Text)
            textChar(cp1250::toUnicode(b));
        else if (state().destination == Destination::FontTable)
            m_fontName += static_cast<char>(b);
    }

    void appendBytes(std::string_view bytes) {
        while (m_skipBytes > 0 && !bytes.empty()) {
            bytes.remove_prefix(1);
            --m_skipBytes;
        }
        if (bytes.empty())
            return;
        selectFormat();
        const qsizetype at = m_doc.text.size();
        m_doc.text.resize(at + static_cast<qsizetype>(bytes.size()));
        auto* out = reinterpret_cast<char16_t*>(m_doc.text.data()) + at;
        for (char b : bytes)
            *out++ = cp1250::toUnicode(static_cast<unsigned char>(b));
        m_lastWasParagraphMark = false;
    }

    void textChar(char16_t ch) {
        if (state().destination != Destination::Text)
            return;
        if (m_skipBytes > 0 && ch != u'\n') {
            --m_skipBytes;
            return;
        }
        selectFormat();
        m_doc.text.append(QChar(ch));
        m_lastWasParagraphMark = ch == u'\n';
    }

    // Starts a new run when the format in force differs from the open run's.
    void selectFormat() {
        const RtfCharFormat& f = state().format;
        if (m_runOpen && f == m_runFormat)
            return;
        flushRun();
        m_runFormat = f;
        m_runOpen = true;
        m_runStart = m_doc.text.size();
        auto [it, inserted] = m_formatIndex.try_emplace(f, static_cast<std::uint32_t>(m_doc.formats.size()));
        if (inserted)
            m_doc.formats.push_back(f);
        m_runFormatIndex = it->second;
    }

    void flushRun() {
        if (!m_runOpen)
            return;
        const qsizetype length = m_doc.text.size() - m_runStart;
        if (length > 0) {
            if (!m_doc.runs.empty() && m_doc.runs.back().format == m_runFormatIndex)
                m_doc.runs.back().length += length;
            else
                m_doc.runs.push_back(RtfRun{m_runStart, length, m_runFormatIndex});
        }
        m_runOpen = false;
    }

    void dropFinalParagraphMark() {
        if (!m_lastWasParagraphMark || m_doc.text.isEmpty())
            return;
        m_doc.text.chop(1);
        if (!m_doc.runs.empty() && --m_doc.runs.back().length == 0)
            m_doc.runs.pop_back();
    }

    std::string_view m_in;
    RtfDocument m_doc;
    std::vector<GroupState> m_stack;
    std::unordered_map<RtfCharFormat, std::uint32_t, FormatHash> m_formatIndex;
    RtfCharFormat m_runFormat;
    std::uint32_t m_runFormatIndex = 0;
    qsizetype m_runStart = 0;
    bool m_runOpen = false;
    bool m_lastWasParagraphMark = false;
    int m_skipBytes = 0;
    int m_defaultFont = 0;
    int m_fontNumber = -1;
    std::string m_fontName;
    RtfColour m_colour;
};

} // namespace

RtfReadResult readRtf(std::string_view rtf) {
    return Reader(rtf).run();
}

} // namespace ordalvex
