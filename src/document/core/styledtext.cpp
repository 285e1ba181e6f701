#include "document/core/styledtext.h"

#include "common/core/codepage.h"
#include "document/core/cnctokenizer.h"
#include "document/core/highlighter.h"

#include <array>

namespace ordalvex {

namespace {

// The highlighter's colour table, by index; 0 is the default colour.
constexpr std::array<std::uint32_t, 17> kColours = {
    0x000000, 0xFF0000, 0x0000FF, 0x000080, 0x008000, 0x000000, 0x800000, 0x808000, 0x800080,
    0x008080, 0x808080, 0xC0C0C0, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x1480C8,
};

struct Utf8Table {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<std::uint8_t, 256> length{};
    Utf8Table() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray utf8 = QString(QChar(cp1250::toUnicode(static_cast<unsigned char>(b)))).toUtf8();
            length[b] = static_cast<std::uint8_t>(utf8.size());
            for (qsizetype i = 0; i < utf8.size(); ++i)
                bytes[b][static_cast<std::size_t>(i)] = utf8[i];
        }
    }
};

const Utf8Table& utf8Table() {
    static const Utf8Table table;
    return table;
}

// What a token class's style string sets: colour index, weight, slant (-1: unchanged).
struct ClassStyle {
    int colour = -1;
    int bold = -1;
    int italic = -1;
};

// Reads a style string such as "\\cf4\\b0\\i0 ".
ClassStyle parseStyle(std::string_view rtf) {
    ClassStyle style;
    std::size_t i = 0;
    while (i < rtf.size()) {
        if (rtf[i] != '\\') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < rtf.size() && rtf[j] >= 'a' && rtf[j] <= 'z')
            ++j;
        const std::string_view word = rtf.substr(i + 1, j - i - 1);
        int value = -1;
        std::size_t k = j;
        while (k < rtf.size() && rtf[k] >= '0' && rtf[k] <= '9')
            value = (value < 0 ? 0 : value * 10) + (rtf[k++] - '0');
        if (word == "cf")
            style.colour = value < 0 ? 0 : value;
        else if (word == "b")
            style.bold = value == 0 ? 0 : 1;
        else if (word == "i")
            style.italic = value == 0 ? 0 : 1;
        i = k;
    }
    return style;
}

// Builds the text byte by byte, keeping each format once.
class StyledTextWriter {
public:
    explicit StyledTextWriter(std::size_t sizeHint) : m_table(utf8Table()) {
        m_out.utf8.reserve(sizeHint + sizeHint / 16);
        m_out.styles.reserve(sizeHint + sizeHint / 16);
        m_style = styleIndex(TextFormat{});
    }

    void setFormat(const TextFormat& format) { m_style = styleIndex(format); }
    // The index of the format in force, and the format of an index.
    unsigned char style() const { return static_cast<unsigned char>(m_style); }
    void setStyle(unsigned char style) { m_style = static_cast<char>(style); }
    const TextFormat& formatOf(unsigned char style) const { return m_out.formats[style]; }

    void appendByte(unsigned char byte) {
        appendBytes(std::string_view(reinterpret_cast<const char*>(&byte), 1), false);
    }

    // Appends a run of bytes in the format in force, upper-cased as ASCII when asked.
    void appendBytes(std::string_view bytes, bool upperCase) {
        std::string& utf8 = m_out.utf8;
        const std::size_t before = utf8.size();
        for (char ch : bytes) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                utf8.push_back(static_cast<char>(upperCase ? CncTokenizer::upper(c) : c));
            } else {
                utf8.append(m_table.bytes[c].data(), m_table.length[c]);
                m_out.ascii = false;
            }
        }
        m_out.styles.append(utf8.size() - before, m_style);
    }

    void appendLineEnd() {
        m_out.utf8 += "\r\n";
        m_out.styles.append(2, m_style);
    }

    void appendUtf8(std::string_view utf8) {
        for (char c : utf8)
            if (static_cast<unsigned char>(c) > 127)
                m_out.ascii = false;
        m_out.utf8 += utf8;
        m_out.styles.append(utf8.size(), m_style);
    }

    StyledText take() { return std::move(m_out); }

    char styleIndex(const TextFormat& format) {
        for (std::size_t i = 0; i < m_out.formats.size(); ++i)
            if (m_out.formats[i] == format)
                return static_cast<char>(i);
        // More formats than a byte holds: the rest share the last one (an RTF file could ask for
        // that many; the editor shows at most as many styles anyway).
        if (m_out.formats.size() == 255)
            return static_cast<char>(254);
        m_out.formats.push_back(format);
        return static_cast<char>(m_out.formats.size() - 1);
    }

private:
    const Utf8Table& m_table;
    StyledText m_out;
    char m_style = 0;
};

} // namespace

StyledText colouredProgram(std::string_view bytes, std::string_view (*styleFor)(TokenClass)) {
    std::array<ClassStyle, 16> styles{};
    for (std::size_t c = 0; c < styles.size(); ++c)
        styles[c] = parseStyle(styleFor(static_cast<TokenClass>(c)));
    StyledTextWriter out(bytes.size());
    // The format after a word depends only on its class and the format before it: each pair is
    // worked out once.
    std::array<std::array<short, 256>, 16> after;
    for (auto& row : after)
        row.fill(-1);
    CncTokenizer tokenizer(bytes);
    Token token;
    while (tokenizer.next(token)) {
        const std::string_view piece = bytes.substr(token.offset, token.length);
        switch (token.cls) {
        case TokenClass::LineEnd:
            out.appendLineEnd();
            break;
        case TokenClass::Space:
        case TokenClass::Other:
            out.appendByte(static_cast<unsigned char>(piece.front()));
            break;
        default: {
            short& next = after[static_cast<std::size_t>(token.cls)][out.style()];
            if (next < 0) {
                const ClassStyle& style = styles[static_cast<std::size_t>(token.cls)];
                TextFormat format = out.formatOf(out.style());
                if (style.colour >= 0)
                    format.rgb =
                        style.colour < int(kColours.size()) ? kColours[std::size_t(style.colour)] : 0;
                if (style.bold >= 0)
                    format.bold = style.bold == 1;
                if (style.italic >= 0)
                    format.italic = style.italic == 1;
                next = static_cast<unsigned char>(out.styleIndex(format));
            }
            out.setStyle(static_cast<unsigned char>(next));
            out.appendBytes(piece, true);
            break;
        }
        }
    }
    return out.take();
}

StyledText plainProgram(std::string_view bytes) {
    StyledTextWriter out(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", i);
        const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
        out.appendBytes(bytes.substr(i, stop - i), false);
        if (stop == bytes.size())
            break;
        out.appendLineEnd();
        i = stop + (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? 2 : 1);
    }
    return out.take();
}

StyledText styledFromRtf(const RtfDocument& rtf) {
    StyledTextWriter out(static_cast<std::size_t>(rtf.text.size()));
    for (const RtfRun& run : rtf.runs) {
        const RtfCharFormat& f = rtf.formats[run.format];
        TextFormat format;
        if (f.colour > 0 && static_cast<std::size_t>(f.colour) < rtf.colours.size() &&
            !rtf.colours[static_cast<std::size_t>(f.colour)].isAuto) {
            const RtfColour& c = rtf.colours[static_cast<std::size_t>(f.colour)];
            format.rgb = (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue;
        }
        format.bold = f.bold;
        format.italic = f.italic;
        out.setFormat(format);
        const QStringView text = QStringView(rtf.text).mid(run.start, run.length);
        qsizetype from = 0;
        while (from <= text.size()) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), from);
            if (end < 0)
                end = text.size();
            if (end > from)
                out.appendUtf8(text.mid(from, end - from).toUtf8().toStdString());
            if (end == text.size())
                break;
            out.appendLineEnd();
            from = end + 1;
        }
    }
    return out.take();
}

} // namespace ordalvex
