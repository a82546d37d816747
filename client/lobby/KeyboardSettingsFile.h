#pragma once
// "keyboard.txt" in the program's directory, beside "settings.txt": the
// table hotkeys, one "command=key" line each, and "speak=on" or
// "speak=off". A missing or unreadable file gives the default keys, and
// the speech choice of the screen reader.

#include <filesystem>

#include "client/table/Hotkeys.h"

namespace tessaly {

inline constexpr const char* kKeyboardFileName = "keyboard.txt";

class KeyboardSettingsFile {
public:
    explicit KeyboardSettingsFile(const std::filesystem::path& programDirectory);

    // The saved choices; "Speak table events" is `screenReaderRunning`
    // until the user has chosen.
    TablePreferences read(bool screenReaderRunning) const;
    // False when the file cannot be written (the choices still hold for
    // this run).
    bool write(const TablePreferences& preferences) const;

private:
    std::filesystem::path path_;
};

} // namespace tessaly
