#include "client/lobby/NetworkMonitorStarter.h"

namespace tessaly {

std::string networkMonitorPath()
{
    return std::string("./") + kNetworkMonitorProgram;
}

bool startNetworkMonitor(ProcessLauncher& launcher, MessageBoxes& boxes)
{
    if (launcher.start(networkMonitorPath(), {}))
        return true;
    boxes.show(BoxRequest{kNetworkMonitorFailedMessage, "Tessaly"});
    return false;
}

} // namespace tessaly
