#include "netmon/MonitorServices.h"

#include <cstdlib>
#include <string_view>

#include "platform/sys/Trace.h"

namespace tessaly::netmon {

DebugOutput traceDebugOutput()
{
    return [](const std::string& line) { trace("%s", line.c_str()); };
}

SystemMonitorServices::SystemMonitorServices()
{
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
        clock, names, traceDebugOutput()};
}

} // namespace tessaly::netmon
