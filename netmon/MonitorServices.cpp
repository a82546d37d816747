#include "netmon/MonitorServices.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/sys/Trace.h"

namespace tessaly::netmon {

DebugOutput traceDebugOutput()
{
    return [](const std::string& line) { trace("%s", line.c_str()); };
}

std::string icmpAllowText(const std::string& program)
{
    return "To allow them for Linkscope alone, run as root: setcap cap_net_raw+ep " + program;
}

SystemMonitorServices::SystemMonitorServices()
{
    std::error_code error;
    program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (program.empty())
        program = "Linkscope";
    const char* chosen = std::getenv("TESSALY_MONITOR_ICMP");
    const std::string_view value = chosen == nullptr ? "" : chosen;
    if (value == "raw")
        kind = IcmpSocketKind::Raw;
    else if (value == "datagram")
        kind = IcmpSocketKind::Datagram;
}

MonitorServices SystemMonitorServices::services()
{
    const IcmpSocketKind chosen = kind;
    return MonitorServices{
        [chosen](int& error) -> std::unique_ptr<EchoPort> { return SystemEchoPort::open(chosen, error); },
        clock, names, traceDebugOutput(), program};
}

} // namespace tessaly::netmon
