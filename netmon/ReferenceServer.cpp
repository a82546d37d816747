#include "netmon/ReferenceServer.h"

#include "client/net/ClientConfig.h"
#include "netmon/MonitorTexts.h"

namespace tessaly::netmon {
namespace {

std::vector<std::string> splitCommas(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto first = part.find_first_not_of(" \t");
        const auto last = part.find_last_not_of(" \t");
        parts.push_back(first == std::string::npos ? std::string() : part.substr(first, last - first + 1));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

void overlay(std::array<std::string, kServerCount>& hosts, const std::string& list)
{
    const std::vector<std::string> entries = splitCommas(list);
    for (std::size_t row = 0; row < hosts.size() && row < entries.size(); ++row)
        if (!entries[row].empty())
            hosts[row] = entries[row];
}

} // namespace

int ReferenceServer::quality() const
{
    return connectionQuality(echoes.sent(), echoes.lost());
}

std::array<std::string, kServerCount> monitorHosts(const std::function<const char*(const char*)>& lookup)
{
    const auto value = [&](const char* name) {
        const char* v = lookup(name);
        return std::string(v == nullptr ? "" : v);
    };
    std::array<std::string, kServerCount> hosts;
    const std::string web = value("TESSALY_WEB_URL");
    hosts[0] = hostOfUrl(web.empty() ? kDefaultWebUrl : web);
    overlay(hosts, TESSALY_MONITOR_HOSTS_DEFAULT);
    overlay(hosts, value("TESSALY_MONITOR_HOSTS"));
    return hosts;
}

std::vector<ReferenceServer> referenceServers(const std::array<std::string, kServerCount>& hosts)
{
    std::vector<ReferenceServer> servers(kServerCount);
    for (std::size_t row = 0; row < servers.size(); ++row) {
        servers[row].displayName = kDisplayNames[row];
        servers[row].hostName = hosts[row];
    }
    return servers;
}

} // namespace tessaly::netmon
