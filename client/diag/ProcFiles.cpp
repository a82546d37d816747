#include "client/diag/ProcFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessaly {
namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Cuts the next field off text at blanks; empty when none is left.
std::string_view nextField(std::string_view& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ')
        ++j;
    const std::string_view field = text.substr(i, j - i);
    text.remove_prefix(j);
    return field;
}

bool fullNumber(std::string_view text, unsigned base, std::uint64_t& value)
{
    std::size_t used = 0;
    value = leadingNumber(text, base, &used);
    return used > 0 && used == text.size();
}

} // namespace

std::uint64_t leadingNumber(std::string_view text, unsigned base, std::size_t* used)
{
    std::uint64_t value = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i]);
        if (d >= static_cast<int>(base))
            break;
        value = value * base + static_cast<std::uint64_t>(d);
    }
    if (used)
        *used = i;
    return value;
}

std::optional<MapsEntry> parseMapsLine(std::string_view line)
{
    MapsEntry entry;
    std::string_view range = nextField(line);
    const std::size_t dash = range.find('-');
    if (dash == std::string_view::npos || !fullNumber(range.substr(0, dash), 16, entry.start)
        || !fullNumber(range.substr(dash + 1), 16, entry.end) || entry.end < entry.start)
        return std::nullopt;
    const std::string_view perms = nextField(line);
    if (perms.size() < 3)
        return std::nullopt;
    entry.readable = perms[0] == 'r';
    entry.writable = perms[1] == 'w';
    entry.executable = perms[2] == 'x';
    if (!fullNumber(nextField(line), 16, entry.offset))
        return std::nullopt;
    if (nextField(line).empty())   // device
        return std::nullopt;
    if (!fullNumber(nextField(line), 10, entry.inode))
        return std::nullopt;
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    entry.path = line;
    return entry;
}

std::optional<std::uint64_t> keyedNumber(std::string_view text, std::string_view key)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t eol = text.find('\n', at);
        if (eol == std::string_view::npos)
            eol = text.size();
        std::string_view line = text.substr(at, eol - at);
        at = eol + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':')
            continue;
        line.remove_prefix(key.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        std::size_t used = 0;
        const std::uint64_t value = leadingNumber(line, 10, &used);
        if (used == 0)
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

LineReader::LineReader(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {}

LineReader::~LineReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool LineReader::next(std::string_view& line)
{
    if (fd_ < 0)
        return false;
    for (;;) {
        const void* found = std::memchr(buffer_ + begin_, '\n', end_ - begin_);
        if (found) {
            const std::size_t eol = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_);
            line = std::string_view(buffer_ + begin_, eol - begin_);
            begin_ = eol + 1;
            return true;
        }
        if (eof_) {
            if (begin_ == end_)
                return false;
            line = std::string_view(buffer_ + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        if (begin_ > 0) {
            std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == kSize) {
            // A line longer than the buffer: hand out what fits and drop the rest of it.
            line = std::string_view(buffer_, end_);
            begin_ = end_ = 0;
            char c = 0;
            ssize_t n;
            while ((n = ::read(fd_, &c, 1)) == 1 && c != '\n') {
            }
            eof_ = n <= 0;
            return true;
        }
        const ssize_t n = ::read(fd_, buffer_ + end_, kSize - end_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            eof_ = true;
        else
            end_ += static_cast<std::size_t>(n);
    }
}

std::size_t readSmallFile(const char* path, char* buffer, std::size_t capacity)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t total = 0;
    while (total < capacity) {
        const ssize_t n = ::read(fd, buffer + total, capacity - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return total;
}

} // namespace tessaly
