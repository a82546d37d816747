#pragma once
// Zip archives made in the tests with minizip's zip interface: entries with
// a stored time, made on Unix with a mode or on another system without one,
// stored or deflated.

#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::testing {

struct ArchiveEntry {
    std::string name;
    std::string content{};
    std::optional<unsigned> unixMode{};   // st_mode (type and permissions); none: made on another system
    tm_zip time{0, 0, 12, 1, 0, 2024};    // 1 January 2024, noon
    bool stored = false;                  // no compression: its bytes appear as they are in the archive
};

inline std::string makeArchive(const std::vector<ArchiveEntry>& entries)
{
    char name[] = "/tmp/tessaly-updater-test-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0)
        return {};
    ::close(fd);
    zipFile zip = zipOpen64(name, APPEND_STATUS_CREATE);
    for (const ArchiveEntry& e : entries) {
        zip_fileinfo info{};
        info.tmz_date = e.time;
        // The high byte of "version made by" names the system: 3 is Unix,
        // 0 is the FAT file system of the archivers without modes.
        uLong madeBy = 20;
        if (e.unixMode) {
            madeBy |= 3u << 8;
            info.external_fa = static_cast<uLong>(*e.unixMode) << 16;
        }
        const bool folder = !e.name.empty() && e.name.back() == '/';
        zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                folder || e.stored ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, madeBy, 0, 0);
        if (!e.content.empty())
            zipWriteInFileInZip(zip, e.content.data(), static_cast<unsigned>(e.content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    std::ifstream in(name, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(name);
    return bytes;
}

inline void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace tessaly::testing
