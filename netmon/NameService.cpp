#include "netmon/NameService.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <future>

#include "platform/icmp/IcmpNetwork.h"

namespace tessaly::netmon {

std::optional<std::uint32_t> SystemNameService::resolve(const std::string& host)
{
    SystemIcmpNetwork network;
    std::uint32_t address = 0;
    int error = 0;
    if (host.empty() || !network.resolve(host, address, error))
        return std::nullopt;
    return address;
}

std::string SystemNameService::reverse(std::uint32_t address)
{
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = address;
    char name[NI_MAXHOST] = {};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&from), sizeof from, name, sizeof name, nullptr, 0,
                      NI_NAMEREQD) != 0)
        return {};
    return name;
}

void resolveAll(std::vector<ReferenceServer>& servers, NameService& names)
{
    std::vector<std::future<std::optional<std::uint32_t>>> lookups;
    lookups.reserve(servers.size());
    for (const ReferenceServer& server : servers)
        lookups.push_back(std::async(std::launch::async, [&names, host = server.hostName] { return names.resolve(host); }));
    for (std::size_t row = 0; row < servers.size(); ++row) {
        const std::optional<std::uint32_t> address = lookups[row].get();
        servers[row].resolved = address.has_value();
        servers[row].address = address.value_or(0);
    }
}

} // namespace tessaly::netmon
