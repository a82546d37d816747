#pragma once
// Writes every byte to a file descriptor, through short writes and
// interrupted calls; false when the system refuses (a full disk, a size
// limit), with errno set.

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tessaly {

inline bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace tessaly
