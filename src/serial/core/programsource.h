#pragma once

#include <cstdint>
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

} // namespace ordalvex
