#pragma once

#include "document/core/formatsettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QDate>
#include <QString>

namespace ordalvex {

// A program as a file, apart from the window that shows it: its file name, its format
// settings, the check of its program number against the file name and saving it with a
// backup copy and today's date in the dates of its comments. It holds no text: the window
// hands over the program's bytes (Windows-1250, CR LF).
class TextDocument {
public:
    // Full path of the file; empty for a new document.
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& path) { m_fileName = path; }
    bool isNew() const { return m_fileName.isEmpty(); }

    // The settings the document is shown with (the face the editor uses, see editorFaceInUse).
    const FormatSettings& format() const { return m_format; }
    void setFormat(const FormatSettings& format) { m_format = format; }

    // The program number of `bytes` and the file's name without extension, when the two
    // differ and the user has not agreed to the file name yet.
    struct NameMismatch {
        QString fileBaseName;
        QString programNumber;
    };
    std::optional<NameMismatch> nameMismatch(std::string_view bytes) const;
    // The user's answer to the mismatch: agreed, the name is not asked about again.
    void setNameAgreed(bool agreed) { m_nameAgreed = agreed; }
    bool nameAgreed() const { return m_nameAgreed; }

    struct SaveOutcome {
        bool saved = false;
        QString error;   // why the file could not be written (a write error); empty when saved
        QString warning; // saved, but written in place without a backup copy to go back to
        // Where dates of comments were replaced by `today` in the text written (see
        // dateStampPositions); also when the write failed.
        std::vector<std::size_t> stampedDates;
        QString today;
    };
    // Saves `bytes` to fileName(): keeps the previous file as ".bak", replaces every whole date
    // in a comment by `today` and writes the text with every line ended by CR LF (safely, or
    // in place where the folder takes no new files).
    SaveOutcome save(std::string bytes, const QDate& today) const;
    // Writes `bytes` as they are, every line ended, to `path` (a copy; the document keeps its
    // file name). Returns the error text, empty when written.
    static QString saveCopy(const QString& path, std::string bytes);

private:
    QString m_fileName;
    FormatSettings m_format;
    bool m_nameAgreed = false;
};

} // namespace ordalvex
