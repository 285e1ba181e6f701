#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include <QString>

namespace ordalvex {

struct RtfColour {
    bool isAuto = true; // the empty entry: the default text colour
    std::uint8_t red = 0, green = 0, blue = 0;
};

// Character format of a run of text. `colour` indexes RtfDocument::colours (0 is usually the
// "auto" entry); `font` indexes RtfDocument::fonts; `halfPoints` is the RTF \fs value.
struct RtfCharFormat {
    int colour = 0;
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
    qsizetype start = 0;
    qsizetype length = 0;
    std::uint32_t format = 0; // index into RtfDocument::formats
};

// Text and formatting read from an RTF document. Paragraphs are separated by '\n'; the
// final paragraph mark of the document is not part of the text (so the RTF of "A" CR LF reads
// back as "A\n"). Runs cover the text in order without gaps; neighbouring runs differ in format.
struct RtfDocument {
    QString text;
    std::vector<RtfRun> runs;
    std::vector<RtfCharFormat> formats;
    std::vector<RtfColour> colours;
    std::vector<QString> fonts; // by font number; missing numbers are empty
};

struct RtfReadResult {
    std::optional<RtfDocument> document;
    QString error; // why the input is not RTF, when there is no document
};

// Reads an RTF document: the font and colour tables, \b \i \cf \f \fs \plain, \par and
// \line as line ends, \tab, \'hh and 8-bit text as Windows-1250, \u with its \uc fallback,
// and escaped "\", "{" and "}". Unknown control words are ignored and unknown destinations
// ({\* ...} groups and the like) skipped. Fails only when the input does not start as RTF.
RtfReadResult readRtf(std::string_view rtf);

} // namespace ordalvex
