#include "client/table/HandHistoryFiles.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Every hand ends with a blank line. A file that does not was cut in the
// middle of a hand (the machine went down while writing): that hand goes,
// so the earlier ones still read as one document.
void cutTornHand(int fd)
{
    constexpr off_t kTail = 64 * 1024;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size <= 0)
        return;
    const off_t from = size > kTail ? size - kTail : 0;
    std::string tail(static_cast<std::size_t>(size - from), '\0');
    if (::pread(fd, tail.data(), tail.size(), from) != static_cast<ssize_t>(tail.size()) || tail.ends_with("\n\n"))
        return;
    const std::size_t end = tail.rfind("\n\n");
    const off_t keep = end == std::string::npos ? (from == 0 ? 0 : size) : from + static_cast<off_t>(end) + 2;
    if (keep != size && ::ftruncate(fd, keep) == 0)
        ::fsync(fd);
}

// A new file's name lasts a crash only once its folder is on the disk too.
void syncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::filesystem::path handHistoryFolder(const char* xdgDataHome, const char* home)
{
    std::filesystem::path base;
    if (xdgDataHome != nullptr && *xdgDataHome != '\0')
        base = xdgDataHome;
    else
        base = std::filesystem::path(home != nullptr ? home : "") / ".local" / "share";
    return base / "Tessaly" / "hand-histories";
}

std::filesystem::path handHistoryFolder()
{
    return handHistoryFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string tableFolderName(std::string_view tableName)
{
    std::string name;
    for (const char c : tableName)
        name += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    if (name.empty() || name.front() == '.')
        name.insert(name.begin(), '_');
    return name;
}

std::filesystem::path HandHistoryFiles::fileOf(std::string_view tableName, const HandStamp& when) const
{
    return folder_ / tableFolderName(tableName) / formatC("%04d-%02d-%02d.phhs", when.year, when.month, when.day);
}

bool HandHistoryFiles::append(const HandRecord& hand, const HandStamp& when) const
{
    const std::filesystem::path file = fileOf(hand.tableName, when);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    const bool existed = std::filesystem::exists(file, error);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    cutTornHand(fd);
    const bool written = writeAll(fd, phhSection(hand, when)) && ::fsync(fd) == 0;
    ::close(fd);
    if (!existed)
        syncFolder(file.parent_path());
    return written;
}

HandStamp localStampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

} // namespace tessaly
