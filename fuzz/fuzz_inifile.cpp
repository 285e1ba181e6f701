// The INI reader and writer: any file text reads, is written back, and reads again to the same
// sections, keys and values; keys written through writeString read back as written.

#include "common/core/codepage.h"
#include "common/core/inifile.h"
#include "fuzzsupport.h"

#include <vector>

using namespace ordalvex;
using namespace ordalvex::fuzzing;

namespace {

bool hasLineEnd(const QString& s) {
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

// Names and values that a "Key=Value" line under a "[Section]" line can hold at all.
bool representable(const QString& section, const QString& key, const QString& value) {
    return !section.isEmpty() && section == section.trimmed() && !section.contains(QLatin1Char(']')) &&
           !hasLineEnd(section) && !key.isEmpty() && key == key.trimmed() &&
           !key.contains(QLatin1Char('=')) && !key.startsWith(QLatin1Char(';')) &&
           !key.startsWith(QLatin1Char('[')) && !hasLineEnd(key) && value == value.trimmed() &&
           !hasLineEnd(value);
}

QString decode(std::string_view bytes) {
    return cp1250::decode(bytes);
}

void checkSameContents(const IniFile& a, const IniFile& b) {
    FUZZ_CHECK(a.sections() == b.sections(), "the same sections read back");
    for (const QString& section : a.sections()) {
        const QStringList keys = a.keys(section);
        FUZZ_CHECK(keys == b.keys(section), "the same keys read back");
        for (const QString& key : keys)
            FUZZ_CHECK(a.readString(section, key) == b.readString(section, key), "the same values read back");
    }
}

struct Write {
    QString section, key, value;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::vector<Write> writes;
    const int writeCount = input.byte() % 6;
    for (int i = 0; i < writeCount; ++i) {
        Write w{decode(input.piece(8)), decode(input.piece(8)), decode(input.piece(12))};
        if (representable(w.section, w.key, w.value))
            writes.push_back(std::move(w));
    }
    const QString text = decode(input.rest());

    IniFile original(QString{});
    original.fromText(text);
    const QString written = original.toText();
    IniFile reread(QString{});
    reread.fromText(written);
    checkSameContents(original, reread);
    FUZZ_CHECK(reread.toText() == written, "writing what was read gives the same text again");

    for (const Write& w : writes)
        original.writeString(w.section, w.key, w.value);
    IniFile afterWrites(QString{});
    afterWrites.fromText(original.toText());
    checkSameContents(original, afterWrites);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        // The last write to the same section and key (compared without case) wins.
        QString expected = writes[i].value;
        for (std::size_t j = i + 1; j < writes.size(); ++j)
            if (writes[j].section.compare(writes[i].section, Qt::CaseInsensitive) == 0 &&
                writes[j].key.compare(writes[i].key, Qt::CaseInsensitive) == 0)
                expected = writes[j].value;
        FUZZ_CHECK(original.readString(writes[i].section, writes[i].key) == expected,
                   "a written key reads back");
        FUZZ_CHECK(afterWrites.readString(writes[i].section, writes[i].key) == expected,
                   "a written key reads back from the written text");
    }
    return 0;
}
