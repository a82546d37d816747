#pragma once
// "Network Status Monitor...": starts `Linkscope` from the current directory
// (the program's, since start-up), without arguments.

#include <string>

#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"

namespace tessaly {

inline constexpr const char* kNetworkMonitorProgram = "Linkscope";
inline constexpr const char* kNetworkMonitorFailedMessage = "Unable to start game directory problem?";

// "./Linkscope": a bare name would be looked up on PATH instead.
std::string networkMonitorPath();

// False, after the box (caption "Tessaly", OK), when it cannot start.
bool startNetworkMonitor(ProcessLauncher& launcher, MessageBoxes& boxes);

} // namespace tessaly
