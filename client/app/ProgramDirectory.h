#pragma once
// The program's own directory, where the install keeps everything the
// client reads and writes.

#include <optional>
#include <string>

namespace tessaly {

// The path cut at its last "/" or "\": "/opt/tessaly/Tessaly" -> "/opt/tessaly".
// A program at the root gives "/". nullopt when the path has no separator.
std::optional<std::string> programDirectoryOf(const std::string& programPath);

// Makes the program's directory the current directory; nothing changes when
// the path has no separator. False when the directory could not be entered.
bool enterProgramDirectory(const std::string& programPath);

} // namespace tessaly
