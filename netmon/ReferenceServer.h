#pragma once
// The monitor's reference servers: one row of the server list each, with the
// running statistics of the echoes sent to it, and the fixed list of seven
// whose host names are configuration of the build.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "netmon/EchoStatistics.h"

namespace tessaly::netmon {

struct ReferenceServer {
    std::string displayName;   // empty: the host name is shown
    std::string hostName;
    std::uint32_t address = 0;   // network byte order
    bool resolved = false;
    // Sent, lost, minimum, average (of the answered echoes) and maximum.
    EchoStatistics echoes;

    int quality() const;
    const std::string& shownName() const { return displayName.empty() ? hostName : displayName; }
};

inline constexpr int kServerCount = 7;

inline constexpr std::array<const char*, kServerCount> kDisplayNames = {
    "Tessaly Gaming Servers", "Associated Press", "Oracle Corporation", "Dell Inc.",
    "BBC",                    "Advanced Micro Devices", "Alcoa",
};

// The host names in row order: each entry of TESSALY_MONITOR_HOSTS (seven
// comma-separated names, an empty one keeps the default), else the build's
// list, whose empty first entry stands for the host of the client's web site
// (TESSALY_WEB_URL, else its build default). `lookup` reads a variable
// (nullptr: not set).
std::array<std::string, kServerCount> monitorHosts(const std::function<const char*(const char*)>& lookup);

// The seven servers with their display names and hosts, not resolved.
std::vector<ReferenceServer> referenceServers(const std::array<std::string, kServerCount>& hosts);

} // namespace tessaly::netmon
