#include "client/app/ProgramDirectory.h"

#include <unistd.h>

namespace tessaly {

std::optional<std::string> programDirectoryOf(const std::string& programPath)
{
    const std::size_t cut = programPath.find_last_of("/\\");
    if (cut == std::string::npos)
        return std::nullopt;
    if (cut == 0)
        return std::string(1, programPath[0]);
    return programPath.substr(0, cut);
}

bool enterProgramDirectory(const std::string& programPath)
{
    const std::optional<std::string> directory = programDirectoryOf(programPath);
    if (!directory)
        return true;
    return ::chdir(directory->c_str()) == 0;
}

} // namespace tessaly
