#pragma once
// The rules for one archive entry that decide, before anything is written,
// where it may go and with which file mode and time.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly::updater {

// The entry's name as a path below the install directory: "\" becomes "/",
// "." and empty components are dropped. nullopt for a name that could leave
// the directory or names nothing: an absolute path, a drive letter ("C:"),
// a ".." component, a NUL byte, no component at all.
std::optional<std::string> safeEntryPath(std::string_view name);

// A folder entry: its name ends with "/" or "\".
bool isFolderEntry(std::string_view name);

// What the archive records about an entry's origin and attributes.
struct EntryAttributes {
    std::uint32_t versionMadeBy = 0;        // high byte: the system that made it (3 = Unix)
    std::uint32_t externalAttributes = 0;   // on Unix: st_mode in the high 16 bits
};

bool isSymbolicLink(const EntryAttributes& attributes);

// The permission bits an entry made on Unix records (setuid, setgid and
// sticky bits dropped); nullopt when it records none.
std::optional<unsigned> recordedPermissions(const EntryAttributes& attributes);

// The suite's programs, which must stay executable: "Tessaly", "Loomrise",
// "Linkscope", "Bugrelay" at the top of the install directory.
bool isSuiteProgram(std::string_view path);

// The mode of the file written for an entry: the recorded permissions, else
// the mode of the file it replaces, else 0644. A suite program gets the
// execute bit wherever it has the read bit, whatever the source, so an
// update never leaves the client unable to run.
unsigned fileModeFor(std::string_view path, std::optional<unsigned> recorded, std::optional<unsigned> replaced);

// An entry's stored date and time (taken as local time, as the archive
// keeps it) as a point in time; nullopt when it names no valid time.
struct EntryTime {
    int year = 1980;   // four digits
    int month = 0;     // 0..11
    int day = 1;       // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
std::optional<std::time_t> entryTimeToUnix(const EntryTime& time);

} // namespace tessaly::updater
