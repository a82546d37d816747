#pragma once
// The crash reports the sender works on: the one the last crash left
// beside the program ("fresh"), and those kept under "unsent-reports"
// because the user chose to send them and they have not gone out yet
// (offline, a server error, the hourly limit). Each kept report has a
// folder of its own, named by the time it was kept, with the report, the
// dump and the user's comments. A sender locks the kept report it works on
// (flock, released when it ends, however it ends), so that two senders
// never offer or send the same one.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

// The lock of one kept report's folder, taken without waiting.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

struct PendingReport {
    std::filesystem::path folder;      // the program's directory, or the kept report's folder
    bool kept = false;
    std::string text;                  // "ERRORLOG.TXT"
    std::optional<std::string> dump;   // "CRASH.DMP"; none when missing or too large
    std::string comments;              // a kept report's: what the user wrote
    std::shared_ptr<FolderLock> lock;  // a kept report's, while this sender has it
};

// A longer report is cut; a larger dump is left out.
inline constexpr std::size_t kReportReadMax = 1024 * 1024;
inline constexpr std::size_t kDumpReadMax = 16 * 1024 * 1024;
inline constexpr std::size_t kCommentsMax = 2000;
// Beyond this many kept reports the oldest go.
inline constexpr std::size_t kKeptReportsMax = 5;

class ReportStore {
public:
    explicit ReportStore(std::filesystem::path programDirectory);

    // The report beside the program; none when there is no report file.
    std::optional<PendingReport> fresh() const;
    // The oldest kept report that no other sender holds, now held by this one.
    std::optional<PendingReport> takeOldestKept() const;

    // Keeps a report until it is sent: a fresh one moves into a new folder
    // (named by now, UTC), a kept one stays where it is; either way the
    // comments are written beside it. False when that cannot be written;
    // the report then stays where it was.
    bool keep(PendingReport& report, const std::string& comments, std::int64_t now) const;

    // Deletes a report's files: a kept report's whole folder.
    void remove(const PendingReport& report) const;

private:
    std::filesystem::path directory_;
    std::filesystem::path keptRoot_;
};

} // namespace tessaly
