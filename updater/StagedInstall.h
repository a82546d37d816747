#pragma once
// The staging folder of one unpack and the all-or-nothing move of its files
// into the install directory.
//
//     StagedInstall install;
//     if (!install.begin("/opt/tessaly", &error)) ...
//     write the entry's data to install.stagedPath("images/a.png") ...
//     install.add({"images/a.png", recordedPermissions, storedTime});
//     if (!install.commit(&error)) ...     // the folder is as it was
//
// The staging folder is removed when the object goes, whatever happened.

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::updater {

// A name prefix that no entry may use: the staging folders live under it.
inline constexpr const char* kStagingPrefix = ".loomrise-staging-";

// Flushes an open file's data to the disk; false (errno set) when it fails.
bool syncFile(int fd);

struct StagedFile {
    std::string path;                           // below the install directory, "/" separated
    std::optional<unsigned> recordedPermissions;
    std::optional<std::time_t> time;            // the last-write time to give it
};

class StagedInstall {
public:
    StagedInstall() = default;
    ~StagedInstall();
    StagedInstall(const StagedInstall&) = delete;
    StagedInstall& operator=(const StagedInstall&) = delete;

    // Makes a fresh staging folder inside the folder.
    bool begin(const std::string& folder, std::string* error);

    // Where the data of the file at `path` is written before commit().
    std::string stagedPath(const std::string& path) const { return staging_ + "/" + path; }

    // A file written at stagedPath(file.path); a later one of the same path wins.
    void add(StagedFile file);

    // Gives every staged file its mode and time, then renames them into
    // place. False when any target is refused or any step fails; the folder
    // is then exactly as before. The staged files' data must be on disk
    // already (syncFile); the staging folders are synced before the renames
    // and the target folders after them, so that a power cut leaves the old
    // install or the new one, never a mixture.
    bool commit(std::string* error);

    // Removes the staging folders that a killed run left in the folder.
    static void clearLeftovers(const std::string& folder);

private:
    struct Done {
        std::string target;
        std::string backup;   // empty: the target did not exist before
    };
    bool checkTargets(std::vector<std::string>& foldersToMake, std::string* error) const;
    bool finishStagedFiles(std::string* error) const;
    bool syncFolders(bool staged, std::string* error) const;
    void rollBack(const std::vector<Done>& done, const std::vector<std::string>& madeFolders) const;

    std::string folder_;
    std::string staging_;
    std::vector<StagedFile> files_;
};

} // namespace tessaly::updater
