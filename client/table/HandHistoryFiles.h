#pragma once
// Where the hand histories go and how a hand is added:
// $XDG_DATA_HOME/Tessaly/hand-histories/<table>/<yyyy-mm-dd>.phhs (without
// XDG_DATA_HOME, ~/.local/share). Each hand is appended whole in one write
// and flushed to the disk before the next, so a crash loses at most the hand
// being played.

#include <filesystem>
#include <string>
#include <string_view>

#include "client/table/HandHistory.h"

namespace tessaly {

// The folder of every table's histories, from the environment's values.
std::filesystem::path handHistoryFolder(const char* xdgDataHome, const char* home);
// The process's own.
std::filesystem::path handHistoryFolder();

// A table's name as a folder name: no separators, no leading dot, not empty.
std::string tableFolderName(std::string_view tableName);

class HandHistoryFiles {
public:
    explicit HandHistoryFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Appends the hand to its table's file of the stamp's day; false when
    // the file cannot be written.
    bool append(const HandRecord& hand, const HandStamp& when) const;
    std::filesystem::path fileOf(std::string_view tableName, const HandStamp& when) const;
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

// The local time now as a stamp.
HandStamp localStampNow();

} // namespace tessaly
