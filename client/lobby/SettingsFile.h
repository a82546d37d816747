#pragma once
// "settings.txt" in the program's directory: one word, "show" (smileys are
// drawn in chat) or "hide", written without a line end. Any first word but
// "show" means hide.
//
// Both operations return the smiley switch's new value. Where the file can
// be neither read nor created, or a toggle cannot be saved (a read-only
// program directory), the switch keeps the value it had; nothing is shown.

#include <filesystem>
#include <optional>
#include <string>

namespace tessaly {

inline constexpr const char* kSettingsFileName = "settings.txt";

class SettingsFile {
public:
    explicit SettingsFile(const std::filesystem::path& programDirectory);

    // Start-up: a missing file is created with "show". "show" turns smileys
    // on; any other word turns them off and rewrites the file to "hide".
    bool readAtStartup(bool current) const;

    // The menu toggle decides from the file, not from memory: a missing
    // file is created with "hide"; "show" becomes "hide" (off), anything
    // else becomes "show" (on).
    bool toggleSmileys(bool current) const;

    const std::filesystem::path& path() const { return path_; }

private:
    // The first word (at most 127 characters), creating the file with
    // `missing` when it cannot be opened; nullopt when it still cannot be.
    std::optional<std::string> firstWord(const char* missing) const;
    bool writeWord(const char* word) const;

    std::filesystem::path path_;
};

} // namespace tessaly
