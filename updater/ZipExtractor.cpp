#include "updater/ZipExtractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "updater/EntryRules.h"
#include "updater/PackageBuffer.h"
#include "updater/StagedInstall.h"
#include "updater/WriteAll.h"

namespace tessaly::updater {
namespace {

// Longer names are refused rather than cut.
constexpr std::size_t kMaxEntryName = 4096;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool makeFolders(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

// Reads the current entry of the archive into `target`; false on any read,
// write or checksum error.
bool copyEntryData(unzFile archive, const std::string& target, PackageBuffer& buffer, std::string* error)
{
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0) {
        *error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    if (unzOpenCurrentFile(archive) != UNZ_OK) {
        *error = "cannot open the entry's data for " + target;
        return false;
    }
    int read = 0;
    bool written = true;
    while ((read = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
        if (!writeAll(file.get(), std::string_view(buffer.data(), static_cast<std::size_t>(read)))) {
            *error = "cannot write " + target + ": " + std::strerror(errno);
            written = false;
            break;
        }
    }
    // Closing the entry after its last byte checks the checksum.
    const int closed = unzCloseCurrentFile(archive);
    if (!written)
        return false;
    if (read < 0 || closed != UNZ_OK) {
        *error = "the entry's data is damaged: " + target;
        return false;
    }
    if (!syncFile(file.get()) || !file.close()) {
        *error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

ZipExtractor::~ZipExtractor()
{
    close();
}

bool ZipExtractor::open(const std::string& path)
{
    close();
    archive_ = unzOpen64(path.c_str());
    if (archive_ == nullptr)
        error_ = "not a zip archive: " + path;
    return archive_ != nullptr;
}

void ZipExtractor::close()
{
    if (archive_ != nullptr)
        unzClose(static_cast<unzFile>(archive_));
    archive_ = nullptr;
}

bool ZipExtractor::extractAll(const std::string& folder, const std::atomic<bool>* stop)
{
    const auto fail = [this](std::string why) {
        error_ = std::move(why);
        return false;
    };
    auto* archive = static_cast<unzFile>(archive_);
    if (archive == nullptr || folder.empty())
        return fail("no archive is open, or no folder is named");
    if (!makeFolders(folder))
        return fail("cannot make the folder " + folder);
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK || global.number_entry == 0)
        return fail("the archive has no entries");
    if (unzGoToFirstFile(archive) != UNZ_OK)
        return fail("cannot read the archive's first entry");

    StagedInstall install;
    if (!install.begin(folder, &error_))
        return false;
    PackageBuffer buffer;
    if (!buffer.resize(kBufferSize))
        return fail("no memory for the unpacking buffer");
    std::vector<char> name(kMaxEntryName + 1);
    int next = UNZ_OK;
    for (; next == UNZ_OK; next = unzGoToNextFile(archive)) {
        if (stop != nullptr && *stop)
            return fail("stopped");
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(archive, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK ||
            info.size_filename > kMaxEntryName)
            return fail("cannot read an entry's record");
        const std::string_view entryName(name.data(), info.size_filename);
        if (isFolderEntry(entryName))
            continue;
        const EntryAttributes attributes{static_cast<std::uint32_t>(info.version),
                                         static_cast<std::uint32_t>(info.external_fa)};
        const std::optional<std::string> path = safeEntryPath(entryName);
        if (!path || path->starts_with(kStagingPrefix) || isSymbolicLink(attributes))
            return fail("refused entry: " + std::string(entryName));
        const std::string staged = install.stagedPath(*path);
        if (!makeFolders(std::filesystem::path(staged).parent_path()))
            return fail("cannot make the folder for " + staged);
        if (!copyEntryData(archive, staged, buffer, &error_))
            return false;
        const tm_unz& t = info.tmu_date;
        install.add({*path, recordedPermissions(attributes),
                     entryTimeToUnix({static_cast<int>(t.tm_year), static_cast<int>(t.tm_mon),
                                      static_cast<int>(t.tm_mday), static_cast<int>(t.tm_hour),
                                      static_cast<int>(t.tm_min), static_cast<int>(t.tm_sec)})});
    }
    if (next != UNZ_END_OF_LIST_OF_FILE)
        return fail("cannot read the archive's next entry");
    return install.commit(&error_);
}

} // namespace tessaly::updater
