#include "client/app/UnsentReportOffer.h"

#include "client/diag/CrashReportFiles.h"
#include "platform/sys/Process.h"

namespace tessaly {

UnsentReportOffer::UnsentReportOffer(std::filesystem::path programDirectory, std::string programPath,
                                     ProcessLauncher& launcher)
    : directory_(std::move(programDirectory)), programPath_(std::move(programPath)), launcher_(launcher)
{
}

bool UnsentReportOffer::offerIfWaiting()
{
    if (!unsentReportWaiting(directory_))
        return false;
    return launcher_.start((directory_ / kCrashSenderFile).string(), {"--kept", programPath_});
}

} // namespace tessaly
