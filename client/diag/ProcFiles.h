#pragma once
// Reading the kernel's /proc texts without allocating, for the crash
// handler: a line reader over a file descriptor, the maps line, and the
// "Key: value" lines of /proc/meminfo and /proc/self/status. The parsers
// are pure and shared with the system information dialog.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaly {

// One line of /proc/PID/maps: "start-end perms offset dev inode   path".
struct MapsEntry {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool readable = false;
    bool writable = false;
    bool executable = false;
    std::uint64_t offset = 0;
    std::uint64_t inode = 0;
    std::string_view path{};   // empty for an anonymous mapping; "[stack]" and the like
};

std::optional<MapsEntry> parseMapsLine(std::string_view line);

// The number after "key:" on its own line of a "Key: value" text
// (/proc/meminfo gives kB, /proc/self/status plain numbers); nullopt when
// the key is missing or has no number.
std::optional<std::uint64_t> keyedNumber(std::string_view text, std::string_view key);

// Parses the leading unsigned number of text in the base (10 or 16); stops
// at the first other character. Sets *used to the digits read.
std::uint64_t leadingNumber(std::string_view text, unsigned base, std::size_t* used = nullptr);

// Reads a file line by line into its own fixed buffer; a longer line is
// cut. For the crash handler: open, read and close only.
class LineReader {
public:
    explicit LineReader(const char* path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // The next line without its "\n"; false at the end of the file.
    bool next(std::string_view& line);

private:
    static constexpr std::size_t kSize = 4096;
    int fd_;
    char buffer_[kSize];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
};

// Reads up to capacity bytes of a whole (small) file; the count read, 0 when
// it cannot be opened.
std::size_t readSmallFile(const char* path, char* buffer, std::size_t capacity);

} // namespace tessaly
