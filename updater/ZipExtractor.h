#pragma once
// Unpacks a zip archive over a folder, all or nothing.
//
// Every entry is first written into a staging folder inside the target
// folder (so on the same file system), checked (its name, its kind, its
// data and checksum), given its mode and stored time; only when all of them
// are staged are they renamed into place, each replacing its file in one
// step. A failure at any point - a refused entry, a data error, a full disk,
// a rename that cannot be made - puts back every file already replaced,
// removes the folders made for new files and the staging folder, and leaves
// the target exactly as it was.
//
// Refused: entry names that are absolute, carry a drive letter or a ".."
// component (after "\" becomes "/"), symbolic link entries, and targets
// whose folder inside the target is a symbolic link or a file. Nothing is
// ever written through a symbolic link. Renaming over a file works while
// the file is a running program, so the updater can replace itself.
//
// Folder entries create nothing: a folder comes into being when a file
// inside it is written.

#include <atomic>
#include <string>

namespace tessaly::updater {

class ZipExtractor {
public:
    // One read of decompressed data at most: most entries are written with
    // one read and one write.
    static constexpr std::size_t kBufferSize = 16u * 1024u * 1024u;

    ZipExtractor() = default;
    ~ZipExtractor();
    ZipExtractor(const ZipExtractor&) = delete;
    ZipExtractor& operator=(const ZipExtractor&) = delete;

    // Opens an archive, closing the one that is open; false when the file
    // is no zip archive (an empty file is none).
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return archive_ != nullptr; }

    // Unpacks every entry of the open archive over the folder; false (with
    // lastError()) when no archive is open, the archive has no entries, or
    // anything is refused or fails, as above. `stop`, when it becomes true
    // while entries are still being staged, ends the unpack the same way;
    // the final renames are never interrupted.
    bool extractAll(const std::string& folder, const std::atomic<bool>* stop = nullptr);

    const std::string& lastError() const { return error_; }

private:
    void* archive_ = nullptr;   // minizip's unzFile
    std::string error_;
};

} // namespace tessaly::updater
