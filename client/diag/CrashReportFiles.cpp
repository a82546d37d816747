#include "client/diag/CrashReportFiles.h"

namespace tessaly {

bool unsentReportWaiting(const std::filesystem::path& programDirectory)
{
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it(programDirectory / kUnsentReportsFolder, error), end; !error && it != end;
         it.increment(error))
        if (fs::is_regular_file(it->path() / kCrashReportFile, error))
            return true;
    return false;
}

} // namespace tessaly
