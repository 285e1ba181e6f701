#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace ordalvex {

// A program handed to ProgramSender one line at a time, as Windows-1250 bytes, so that a
// program of millions of lines is never copied whole.
class ProgramSource {
public:
    virtual ~ProgramSource() = default;
    // Lines in all (for progress), or -1 when not known in advance.
    virtual std::int64_t lineCount() const = 0;
    enum class Next { Line, End, Failed };
    // Appends the next line's bytes, without its line end, to out. End after the last line;
    // Failed with a message in Polish in error when the line cannot be given.
    virtual Next next(std::string& out, QString& error) = 0;
};

// Lines of bytes held elsewhere (a mapped file, a test's buffer); the bytes must outlive the
// source. Lines end at CR LF, LF or a lone CR; a last line without a line end is a line, and
// nothing after the last line end is not.
class ByteProgramSource : public ProgramSource {
public:
    explicit ByteProgramSource(std::string_view bytes) : m_bytes(bytes) {}
    std::int64_t lineCount() const override;
    Next next(std::string& out, QString& error) override;

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
    mutable std::int64_t m_lineCount = -2; // counted on first request
};

// Lines of a text held as Unicode (an editor's document), each encoded to Windows-1250 as it
// is sent. lineAt gives line i (0-based) or nothing when the text has gone (its window
// closed); the text must not change while it is sent.
class TextProgramSource : public ProgramSource {
public:
    using LineAt = std::function<std::optional<QString>(int index)>;
    TextProgramSource(int lineCount, LineAt lineAt) : m_lineCount(lineCount), m_lineAt(std::move(lineAt)) {}
    std::int64_t lineCount() const override { return m_lineCount; }
    // Failed for a character without a Windows-1250 byte (named with its column) and for a
    // text that has gone.
    Next next(std::string& out, QString& error) override;

private:
    int m_lineCount;
    LineAt m_lineAt;
    int m_next = 0;
};

} // namespace ordalvex
