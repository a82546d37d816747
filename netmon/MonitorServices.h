#pragma once
// What the monitor's window and its report run on: a fresh echo socket for
// each worker, the workers' clock, name lookups and the debugger output.
// Tests replace all four.

#include <functional>
#include <memory>
#include <string>

#include "netmon/MonitorSink.h"
#include "netmon/NameService.h"
#include "netmon/WorkerClock.h"
#include "platform/icmp/IcmpEcho.h"

namespace tessaly::netmon {

// Shown in one line where no ICMP socket may be opened.
inline constexpr const char* kIcmpRefusedText =
    "ICMP echoes are not allowed for this user: see net.ipv4.ping_group_range or setcap cap_net_raw+ep";

// The line under it: how to allow them for this program alone, by the
// path of its installed file.
std::string icmpAllowText(const std::string& program);

struct MonitorServices {
    // nullptr (with the errno) when no ICMP socket may be opened.
    std::function<std::unique_ptr<EchoPort>(int& error)> openPort;
    WorkerClock& clock;
    NameService& names;
    DebugOutput debug;
    std::string program = "Linkscope";   // the path that the allowing line names
};

// The system's services: TESSALY_MONITOR_ICMP ("raw" or "datagram") limits
// the sockets tried to that kind; otherwise the raw socket is tried first.
struct SystemMonitorServices {
    SteadyWorkerClock clock;
    SystemNameService names;
    IcmpSocketKind kind = IcmpSocketKind::Any;
    std::string program;   // this program's own file

    SystemMonitorServices();
    MonitorServices services();
};

} // namespace tessaly::netmon
