#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace ordalvex {

// An INI file ("[Section]" lines and "Key=Value" lines) as the settings and port settings
// files use it. Section and key names are compared without regard to case; sections, keys,
// comments and unknown lines of the file are kept in their order when it is written back.
// The file is Windows-1250 with CR LF line ends on disk.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // Reads the file. A missing file reads as empty and is not an error; false when the file
    // exists but cannot be read (the contents are then empty, so every read gives its default).
    bool load();
    // Writes the whole file; false when it cannot be written. The old file is replaced only
    // once the new contents are completely written.
    bool save() const;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // The value as a whole decimal integer (optional sign, surrounding blanks allowed), or the
    // default when the key is missing or its value is not such a number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer other than 0 is true; missing or non-integer values give the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Line ends in the value are stored as spaces, so a value never adds lines to the file.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value); // "1" or "0"
    void eraseSection(const QString& section);
    void deleteKey(const QString& section, const QString& key);

    // Text of the file as it would be written (lines joined by CR LF), for tests and tools.
    QString toText() const;
    void fromText(const QString& text);

private:
    struct Entry {
        QString key; // empty for a comment or blank line kept as it is
        QString value;
        QString raw;
    };
    struct Section {
        QString name; // empty for the lines before the first section header
        std::vector<Entry> entries;
    };

    const Section* findSection(const QString& name) const;
    Section& sectionFor(const QString& name);

    QString m_path;
    std::vector<Section> m_sections;
};

// What `read` (called with the file) takes from the INI file at `path`. An unreadable file
// reads as empty, so every key takes its default.
template <class Read> auto readIniFile(const QString& path, Read read) {
    IniFile file(path);
    file.load();
    return read(static_cast<const IniFile&>(file));
}

// Loads the INI file at `path`, lets `write` change it and saves it; true when saved. A file
// that exists but cannot be read is left alone (false): writing it without having read it
// would throw away its other sections and keys.
template <class Write> bool rewriteIniFile(const QString& path, Write write) {
    IniFile file(path);
    if (!file.load())
        return false;
    write(file);
    return file.save();
}

} // namespace ordalvex
