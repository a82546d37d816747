#include "updater/StagedInstall.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>

#include "platform/sys/Trace.h"
#include "updater/EntryRules.h"

namespace tessaly::updater {
namespace {

std::string failure(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

std::optional<struct stat> linkStatus(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

bool syncPath(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = syncFile(fd);
    ::close(fd);
    return synced;
}

} // namespace

bool syncFile(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

void StagedInstall::clearLeftovers(const std::string& folder)
{
    std::error_code error;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().starts_with(kStagingPrefix))
            left.push_back(entry.path());
    }
    for (const std::filesystem::path& path : left) {
        trace("removing %s, left by an unpack that did not finish", path.c_str());
        std::filesystem::remove_all(path, error);
    }
}

StagedInstall::~StagedInstall()
{
    if (!staging_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(staging_, ignored);
    }
}

bool StagedInstall::begin(const std::string& folder, std::string* error)
{
    folder_ = folder;
    while (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
    std::string pattern = folder_ + "/" + kStagingPrefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        *error = failure("cannot make the staging folder in", folder_);
        return false;
    }
    staging_ = pattern;
    return true;
}

void StagedInstall::add(StagedFile file)
{
    const auto same = std::find_if(files_.begin(), files_.end(),
                                   [&](const StagedFile& f) { return f.path == file.path; });
    if (same != files_.end())
        *same = std::move(file);
    else
        files_.push_back(std::move(file));
}

bool StagedInstall::checkTargets(std::vector<std::string>& foldersToMake, std::string* error) const
{
    std::set<std::string> planned;
    for (const StagedFile& file : files_) {
        // Every folder on the way must be a real folder, or not exist yet:
        // a symbolic link there could lead outside the install directory.
        std::string folder = folder_;
        std::string_view rest(file.path);
        for (std::size_t slash = rest.find('/'); slash != std::string_view::npos; slash = rest.find('/')) {
            folder += "/" + std::string(rest.substr(0, slash));
            rest.remove_prefix(slash + 1);
            const std::optional<struct stat> st = linkStatus(folder);
            if (!st) {
                if (planned.insert(folder).second)
                    foldersToMake.push_back(folder);
            } else if (!S_ISDIR(st->st_mode)) {
                *error = "refused: not a real folder: " + folder;
                return false;
            }
        }
        const std::string target = folder_ + "/" + file.path;
        if (const std::optional<struct stat> st = linkStatus(target); st && S_ISDIR(st->st_mode)) {
            *error = "refused: a folder stands where the file goes: " + target;
            return false;
        }
    }
    return true;
}

bool StagedInstall::finishStagedFiles(std::string* error) const
{
    for (const StagedFile& file : files_) {
        const std::string target = folder_ + "/" + file.path;
        std::optional<unsigned> replaced;
        if (const std::optional<struct stat> st = linkStatus(target); st && S_ISREG(st->st_mode))
            replaced = st->st_mode;
        const std::string staged = stagedPath(file.path);
        if (::chmod(staged.c_str(), fileModeFor(file.path, file.recordedPermissions, replaced)) != 0) {
            *error = failure("cannot set the mode of", staged);
            return false;
        }
        if (file.time) {
            const timespec times[2] = {{0, UTIME_OMIT}, {*file.time, 0}};
            if (::utimensat(AT_FDCWD, staged.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
                *error = failure("cannot set the time of", staged);
                return false;
            }
        }
    }
    return true;
}

bool StagedInstall::syncFolders(bool staged, std::string* error) const
{
    // The folders that hold the files, each once, deepest first; then the
    // top one, which holds the new folders' names.
    std::set<std::string, std::greater<>> folders;
    const std::string& top = staged ? staging_ : folder_;
    for (const StagedFile& file : files_) {
        for (std::size_t slash = file.path.rfind('/'); slash != std::string::npos && slash > 0;
             slash = file.path.rfind('/', slash - 1))
            folders.insert(top + "/" + file.path.substr(0, slash));
    }
    folders.insert(top);
    for (const std::string& folder : folders) {
        if (!syncPath(folder)) {
            *error = failure("cannot write to disk", folder);
            return false;
        }
    }
    return true;
}

bool StagedInstall::commit(std::string* error)
{
    std::vector<std::string> foldersToMake;
    if (!checkTargets(foldersToMake, error) || !finishStagedFiles(error) || !syncFolders(true, error))
        return false;

    std::vector<std::string> madeFolders;
    std::vector<Done> done;
    const auto fail = [&](const std::string& what, const std::string& path) {
        *error = failure(what, path);
        rollBack(done, madeFolders);
        return false;
    };
    for (const std::string& folder : foldersToMake) {
        if (::mkdir(folder.c_str(), 0755) != 0)
            return fail("cannot make the folder", folder);
        madeFolders.push_back(folder);
    }
    const std::string backups = staging_ + "/" + kStagingPrefix + "backup";
    if (::mkdir(backups.c_str(), 0700) != 0)
        return fail("cannot make the folder", backups);
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const std::string target = folder_ + "/" + files_[i].path;
        Done step{target, {}};
        if (linkStatus(target)) {
            step.backup = backups + "/" + std::to_string(i);
            // A second name for the old file keeps it for a roll-back while
            // the target is never missing; a file system without hard links
            // moves it aside instead.
            if (::link(target.c_str(), step.backup.c_str()) != 0 &&
                ::rename(target.c_str(), step.backup.c_str()) != 0)
                return fail("cannot keep the old file", target);
        }
        if (::rename(stagedPath(files_[i].path).c_str(), target.c_str()) != 0) {
            const int cause = errno;
            if (!step.backup.empty())
                ::rename(step.backup.c_str(), target.c_str());
            errno = cause;
            return fail("cannot move into place", target);
        }
        done.push_back(std::move(step));
    }
    // The new install is in place: a folder that cannot be synced now only
    // leaves its names to the file system's own flush.
    std::string unsynced;
    if (!syncFolders(false, &unsynced))
        trace("%s", unsynced.c_str());
    return true;
}

void StagedInstall::rollBack(const std::vector<Done>& done, const std::vector<std::string>& madeFolders) const
{
    for (auto step = done.rbegin(); step != done.rend(); ++step) {
        if (step->backup.empty())
            ::unlink(step->target.c_str());
        else
            ::rename(step->backup.c_str(), step->target.c_str());
    }
    for (auto folder = madeFolders.rbegin(); folder != madeFolders.rend(); ++folder)
        ::rmdir(folder->c_str());
}

} // namespace tessaly::updater
