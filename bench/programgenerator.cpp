#include "programgenerator.h"

#include "common/core/codepage.h"

#include <array>
#include <cstdio>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef ORDALVEX_CORPUS_DEFAULT
#define ORDALVEX_CORPUS_DEFAULT ""
#endif

namespace ordalvex::bench {

namespace {

// A small, fast, repeatable generator (xorshift32); the quality is ample for test data.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    // 0 to n - 1.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state;
};

// Comments as CAM systems and programmers write them; the \x escapes are Windows-1250
// Polish letters (Ó, Ł, Ś, Ż, ą, ę, ó, ł, ś, ż, ń, ć).
constexpr std::array kComments{
    "(OBR\xD3"
    "BKA ZGRUBNA KIESZENI)",
    "(FREZ TRZPIENIOWY FI 10 Z4)",
    "(PLANOWANIE G\xD3RNEJ POWIERZCHNI)",
    "(wiercenie otwor\xF3w fi 8.5)",
    "(WYKA\xA3"
    "CZANIE KONTURU)",
    "(GWINTOWANIE M10)",
    "(obr\xF3"
    "bka wyka\xF1"
    "czaj\xB9"
    "ca \x9C"
    "cian)",
    "(NARZ\xCA"
    "DZIE: FREZ KULISTY R3)",
    "(FAZOWANIE KRAW\xCA"
    "DZI 0.5X45)",
    "(p\xB3yta czo\xB3owa - strona B)",
};

void appendInt(std::string& out, long value) {
    char buffer[24];
    const int n = std::snprintf(buffer, sizeof buffer, "%ld", value);
    out.append(buffer, static_cast<std::size_t>(n));
}

// A coordinate in thousandths written as CAM output does: "12.5", "-3.125", "40." (trailing
// zeros dropped, a whole number keeps its point).
void appendCoordinate(std::string& out, char address, long thousandths) {
    out += address;
    if (thousandths < 0) {
        out += '-';
        thousandths = -thousandths;
    }
    appendInt(out, thousandths / 1000);
    out += '.';
    long fraction = thousandths % 1000;
    if (fraction == 0)
        return;
    int digits = 3;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%0*ld", digits, fraction);
    out += buffer;
}

struct Writer {
    std::string& out;
    std::size_t written = 0;
    long blockNumber = 10;

    void block() {
        out += 'N';
        appendInt(out, blockNumber);
        blockNumber += 10;
        out += ' ';
    }
    void end() {
        out += "\r\n";
        ++written;
    }
};

} // namespace

std::string generateProgram(std::size_t lines, std::uint32_t seed, int programNumber) {
    if (lines < 4)
        lines = 4;
    std::string out;
    out.reserve(lines * 40);
    Random random(seed);
    Writer w{out};

    out += '%';
    w.end();
    char header[48];
    std::snprintf(header, sizeof header, "O%04d ", programNumber % 10000);
    out += header;
    out += kComments[static_cast<std::size_t>(random.below(int(kComments.size())))];
    w.end();
    w.block();
    out += "G90 G54 G17 G40 G49 G80";
    w.end();

    long x = 0, y = 0, z = 5000;
    int tool = 1;
    // Leave room for the closing blocks: M5 M9, M30 and "%".
    while (w.written + 3 < lines) {
        const int kind = random.below(1000);
        if (kind < 4 && w.written + 8 < lines) {
            // Tool change: comment, T/M6, spindle, coolant, approach.
            out += kComments[static_cast<std::size_t>(random.below(int(kComments.size())))];
            w.end();
            w.block();
            tool = tool % 24 + 1;
            out += 'T';
            appendInt(out, tool);
            out += " M6";
            w.end();
            w.block();
            out += 'S';
            appendInt(out, 800 + 100 * random.below(40));
            out += " M3";
            w.end();
            w.block();
            out += "G0 ";
            appendCoordinate(out, 'X', x);
            out += ' ';
            appendCoordinate(out, 'Y', y);
            out += " M8";
            w.end();
            w.block();
            out += "G43 H";
            appendInt(out, tool);
            out += ' ';
            appendCoordinate(out, 'Z', z = 25000);
            w.end();
        } else if (kind < 8 && w.written + 6 < lines) {
            // A macro block as hand-edited programs carry them.
            w.block();
            out += "#1=";
            appendInt(out, random.below(3) + 1);
            w.end();
            w.block();
            out += "IF[#1EQ2]GOTO10";
            w.end();
            w.block();
            out += "WHILE[#2LT";
            appendInt(out, 3 + random.below(5));
            out += "]DO1";
            w.end();
            w.block();
            out += "#2=#2+1";
            w.end();
            w.block();
            out += "END1";
            w.end();
        } else if (kind < 12) {
            out += kComments[static_cast<std::size_t>(random.below(int(kComments.size())))];
            w.end();
        } else if (kind < 40) {
            // Rapid to a new start, then plunge at feed.
            x = (random.below(8000) - 4000) * 25;
            y = (random.below(8000) - 4000) * 25;
            w.block();
            out += "G0 ";
            appendCoordinate(out, 'X', x);
            out += ' ';
            appendCoordinate(out, 'Y', y);
            w.end();
            if (w.written + 3 < lines) {
                z = -(random.below(200) + 1) * 25;
                w.block();
                out += "G1 ";
                appendCoordinate(out, 'Z', z);
                out += " F";
                appendInt(out, 60 + 20 * random.below(10));
                out += '.';
                w.end();
            }
        } else if (kind < 200) {
            // Arc, centre as I/J or as radius.
            const long nx = x + (random.below(4001) - 2000);
            const long ny = y + (random.below(4001) - 2000);
            w.block();
            out += random.below(2) ? "G2 " : "G3 ";
            appendCoordinate(out, 'X', nx);
            out += ' ';
            appendCoordinate(out, 'Y', ny);
            out += ' ';
            if (random.below(3) == 0) {
                appendCoordinate(out, 'R', 1000 + random.below(20000));
            } else {
                appendCoordinate(out, 'I', (nx - x) / 2 + random.below(501) - 250);
                out += ' ';
                appendCoordinate(out, 'J', (ny - y) / 2 + random.below(501) - 250);
            }
            x = nx;
            y = ny;
            w.end();
        } else {
            // Linear feed move; CAM output leaves out the G1 and F when they are modal.
            x += random.below(4001) - 2000;
            y += random.below(4001) - 2000;
            w.block();
            if (random.below(4) == 0)
                out += "G1 ";
            appendCoordinate(out, 'X', x);
            out += ' ';
            appendCoordinate(out, 'Y', y);
            if (random.below(5) == 0) {
                out += ' ';
                appendCoordinate(out, 'Z', z + random.below(201) - 100);
            }
            if (random.below(6) == 0) {
                out += " F";
                appendInt(out, 200 + 50 * random.below(30));
                out += '.';
            }
            w.end();
        }
    }
    w.block();
    out += "M5 M9";
    w.end();
    w.block();
    out += "M30";
    w.end();
    out += '%';
    w.end();
    return out;
}

QString corpusDir() {
    QString dir = qEnvironmentVariable("ORDALVEX_CORPUS");
    if (dir.isEmpty())
        dir = QStringLiteral(ORDALVEX_CORPUS_DEFAULT);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return {};
    return dir;
}

std::size_t countLines(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++n;
    }
    return n;
}

std::string corpusProgram(std::size_t minLines) {
    const QString dir = corpusDir();
    if (dir.isEmpty())
        return {};
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (name == QLatin1String("MANIFEST.tsv") || name.startsWith(QLatin1String("README")) ||
            name.startsWith(QLatin1String("LICENSE")) || name.startsWith(QLatin1String("COPYING")))
            continue;
        files.append(path);
    }
    files.sort();
    std::string joined;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        joined.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!joined.empty() && joined.back() != '\n' && joined.back() != '\r')
            joined += "\r\n";
    }
    const std::size_t once = countLines(joined);
    if (once == 0)
        return {};
    std::string out;
    const std::size_t copies = (minLines + once - 1) / once;
    out.reserve(joined.size() * copies);
    for (std::size_t i = 0; i < copies; ++i)
        out += joined;
    return out;
}

std::string upperCaseCopy(std::string_view text) {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = cp1250::toUpper(static_cast<unsigned char>(b));
        return t;
    }();
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    return out;
}

bool writeBytes(const QString& path, std::string_view bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok =
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

long peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    // A /proc file reports no size: read it whole rather than line by line up to atEnd().
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace ordalvex::bench
