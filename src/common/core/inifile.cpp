#include "common/core/inifile.h"

#include "common/core/codepage.h"
#include "common/core/filebytes.h"

#include <QFile>

namespace ordalvex {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {
}

bool IniFile::load() {
    m_sections.clear();
    if (!QFile::exists(m_path))
        return true;
    const std::optional<QByteArray> bytes = readWholeFile(m_path);
    if (!bytes)
        return false;
    fromText(cp1250::decode(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size()))));
    return true;
}

void IniFile::fromText(const QString& text) {
    m_sections.clear();
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = normalised.split(QLatin1Char('\n'));
    m_sections.push_back(Section{});
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the final line end does not start another line
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'))) {
            m_sections.push_back(
                Section{trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed(), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';'))) {
            const QString key = line.left(eq).trimmed();
            if (!key.isEmpty()) {
                m_sections.back().entries.push_back(Entry{key, line.mid(eq + 1).trimmed(), line});
                continue;
            }
        }
        m_sections.back().entries.push_back(Entry{{}, {}, line});
    }
}

QString IniFile::toText() const {
    QString out;
    for (const Section& section : m_sections) {
        if (!section.name.isEmpty() || &section != &m_sections.front())
            out += QLatin1Char('[') + section.name + QLatin1String("]\r\n");
        for (const Entry& entry : section.entries) {
            if (entry.key.isEmpty())
                out += entry.raw;
            else
                out += entry.key + QLatin1Char('=') + entry.value;
            out += QLatin1String("\r\n");
        }
    }
    return out;
}

bool IniFile::save() const {
    const auto encoded = cp1250::encode(toText());
    return encoded.ok() && writeFileSafely(m_path, encoded.bytes).ok();
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    for (const Section& section : m_sections)
        if (!section.name.isEmpty() && sameName(section.name, name))
            return &section;
    return nullptr;
}

IniFile::Section& IniFile::sectionFor(const QString& name) {
    if (const Section* found = findSection(name))
        return const_cast<Section&>(*found);
    if (m_sections.empty())
        m_sections.push_back(Section{});
    m_sections.push_back(Section{name, {}});
    return m_sections.back();
}

bool IniFile::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty() && sameName(e.key, key))
                return true;
    return false;
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Section& section : m_sections)
        if (!section.name.isEmpty())
            names.append(section.name);
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList names;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty())
                names.append(e.key);
    return names;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.isEmpty() && sameName(e.key, key))
                return e.value;
    return defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    if (!hasKey(section, key))
        return defaultValue;
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& rawValue) {
    // A line end in a value (a file name may hold one) would start a line of its own in the
    // file and could forge keys or sections; it is stored as a space.
    QString value = rawValue;
    value.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section& s = sectionFor(section);
    for (Entry& e : s.entries) {
        if (!e.key.isEmpty() && sameName(e.key, key)) {
            e.value = value;
            return;
        }
    }
    // New keys go after the section's last key, before any blank lines that end it.
    auto at = s.entries.end();
    while (at != s.entries.begin() && std::prev(at)->key.isEmpty() && std::prev(at)->raw.trimmed().isEmpty())
        --at;
    s.entries.insert(at, Entry{key, value, {}});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString& section) {
    std::erase_if(m_sections,
                  [&](const Section& s) { return !s.name.isEmpty() && sameName(s.name, section); });
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    if (const Section* found = findSection(section)) {
        auto& entries = const_cast<Section*>(found)->entries;
        std::erase_if(entries, [&](const Entry& e) { return !e.key.isEmpty() && sameName(e.key, key); });
    }
}

} // namespace ordalvex
