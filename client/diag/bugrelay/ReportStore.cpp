#include "client/diag/bugrelay/ReportStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "client/diag/CrashReportFiles.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLockFile = ".lock";

// At most max bytes of a file; none when it cannot be read. cut: whether
// a longer file was cut at max (else it counts as unreadable).
std::optional<std::string> readFile(const fs::path& path, std::size_t max, bool cut)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content(max + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > max) {
        if (!cut)
            return std::nullopt;
        content.resize(max);
    }
    return content;
}

bool writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
}

std::optional<PendingReport> load(const fs::path& folder, bool kept)
{
    std::optional<std::string> text = readFile(folder / kCrashReportFile, kReportReadMax, true);
    if (!text)
        return std::nullopt;
    PendingReport report;
    report.folder = folder;
    report.kept = kept;
    report.text = std::move(*text);
    report.dump = readFile(folder / kCrashDumpFile, kDumpReadMax, false);
    if (kept)
        report.comments = readFile(folder / kCrashCommentsFile, kCommentsMax, true).value_or("");
    return report;
}

// The kept reports' folders, oldest first.
std::vector<fs::path> keptFolders(const fs::path& root)
{
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().front() != '.' && fs::is_regular_file(it->path() / kCrashReportFile, error))
            folders.push_back(it->path());
    std::sort(folders.begin(), folders.end());
    return folders;
}

// "YYYYMMDD-HHMMSS-NNN" (UTC): after every name of that second, so that the
// names sort as the reports were kept.
std::string newFolderName(const fs::path& root, std::int64_t now)
{
    const auto time = static_cast<std::time_t>(now);
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S-", &utc);
    int highest = 0;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == std::strlen(stamp) + 3 && name.starts_with(stamp))
            highest = std::max(highest, std::atoi(name.c_str() + std::strlen(stamp)));
    }
    char name[48];
    std::snprintf(name, sizeof name, "%s%03d", stamp, highest + 1);
    return name;
}

} // namespace

FolderLock::FolderLock(const fs::path& folder)
{
    fd_ = ::open((folder / kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

ReportStore::ReportStore(fs::path programDirectory)
    : directory_(std::move(programDirectory)), keptRoot_(directory_ / kUnsentReportsFolder)
{
}

std::optional<PendingReport> ReportStore::fresh() const
{
    return load(directory_, false);
}

std::optional<PendingReport> ReportStore::takeOldestKept() const
{
    for (const fs::path& folder : keptFolders(keptRoot_)) {
        auto lock = std::make_shared<FolderLock>(folder);
        if (!lock->held())
            continue;
        if (std::optional<PendingReport> report = load(folder, true)) {
            report->lock = std::move(lock);
            return report;
        }
    }
    return std::nullopt;
}

bool ReportStore::keep(PendingReport& report, const std::string& comments, std::int64_t now) const
{
    std::error_code error;
    report.comments = comments;
    if (report.kept)
        return writeFile(report.folder / kCrashCommentsFile, comments);
    fs::create_directories(keptRoot_, error);
    const fs::path folder = keptRoot_ / newFolderName(keptRoot_, now);
    if (!fs::create_directory(folder, error))
        return false;
    auto lock = std::make_shared<FolderLock>(folder);
    const auto moveFile = [&error](const char* name, const fs::path& from, const fs::path& to) {
        if (!fs::exists(from / name, error))
            return true;
        fs::rename(from / name, to / name, error);
        return !error;
    };
    // The report goes last: a folder holds a kept report only once it is there.
    if (!writeFile(folder / kCrashCommentsFile, comments) || !moveFile(kCrashDumpFile, directory_, folder)
        || !moveFile(kCrashReportFile, directory_, folder)) {
        moveFile(kCrashDumpFile, folder, directory_);
        fs::remove_all(folder, error);
        return false;
    }
    report.folder = folder;
    report.kept = true;
    report.lock = std::move(lock);

    // The oldest that no sender holds make room.
    std::vector<fs::path> folders = keptFolders(keptRoot_);
    std::size_t count = folders.size();
    for (const fs::path& old : folders) {
        if (count <= kKeptReportsMax)
            break;
        const FolderLock held(old);
        if (old != folder && held.held()) {
            fs::remove_all(old, error);
            --count;
        }
    }
    return true;
}

void ReportStore::remove(const PendingReport& report) const
{
    std::error_code error;
    if (report.kept) {
        fs::remove_all(report.folder, error);
        return;
    }
    fs::remove(report.folder / kCrashReportFile, error);
    fs::remove(report.folder / kCrashDumpFile, error);
}

} // namespace tessaly
