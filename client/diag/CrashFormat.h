#pragma once
// The crash report's text formatting. Everything here runs inside a fatal
// signal's handler, so it never allocates, takes no lock and ignores the
// locale: a small printf of its own over caller-owned buffers.

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace tessaly {

// One argument of formatText: a number or a NUL-ended text.
struct FormatArg {
    enum class Kind { Signed, Unsigned, Text };
    constexpr FormatArg(int v) : kind(Kind::Signed), number(static_cast<std::uint64_t>(static_cast<std::int64_t>(v))) {}
    constexpr FormatArg(long v) : kind(Kind::Signed), number(static_cast<std::uint64_t>(v)) {}
    constexpr FormatArg(long long v) : kind(Kind::Signed), number(static_cast<std::uint64_t>(v)) {}
    constexpr FormatArg(unsigned v) : kind(Kind::Unsigned), number(v) {}
    constexpr FormatArg(unsigned long v) : kind(Kind::Unsigned), number(v) {}
    constexpr FormatArg(unsigned long long v) : kind(Kind::Unsigned), number(v) {}
    constexpr FormatArg(const char* t) : kind(Kind::Text), text(t) {}

    Kind kind;
    std::uint64_t number = 0;
    const char* text = nullptr;
};

// Formats like the system's wvsprintf: %s, %d, %i, %u, %x, %X, %c and %%, with
// the flags "-" (left-justify) and "0" (zero-pad) and a width. %d prints the
// argument as a signed 64-bit number, %u and %x as unsigned 64-bit numbers; a
// null text prints "(null)". The result is cut to capacity - 1 bytes and
// always NUL-ended; returns its length.
std::size_t formatText(char* out, std::size_t capacity, const char* format,
                       std::initializer_list<FormatArg> args = {});

// The report file's writer: an 8,192-byte buffer with a fill count. Each
// piece is formatted (at most 1,024 bytes, as the system's formatter) and
// appended; when more than 7,168 bytes wait before a piece is added, they
// are written to the file first. finish() writes the rest.
class ReportBuffer {
public:
    static constexpr std::size_t kSize = 8192;
    static constexpr std::size_t kFlushAbove = 7168;
    static constexpr std::size_t kPieceMax = 1024;

    void open(int fd);
    void add(const char* format, std::initializer_list<FormatArg> args = {});
    void finish();
    std::size_t waiting() const { return fill_; }

private:
    void flush();
    char buffer_[kSize + 1];   // room for the formatter's NUL
    std::size_t fill_ = 0;
    int fd_ = -1;
};

// Writes all of data to fd, retrying after interruptions; false on an error.
bool writeAll(int fd, const void* data, std::size_t size);

} // namespace tessaly
