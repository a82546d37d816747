#pragma once
// Name lookups of the monitor: a host name to its first IPv4 address when
// the window opens, and an address back to its name for each hop.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "netmon/ReferenceServer.h"

namespace tessaly::netmon {

class NameService {
public:
    virtual ~NameService() = default;
    // Thread-safe: the lookups of all servers run at once.
    virtual std::optional<std::uint32_t> resolve(const std::string& host) = 0;
    // The name of an address, or "" when it has none.
    virtual std::string reverse(std::uint32_t address) = 0;
};

class SystemNameService final : public NameService {
public:
    std::optional<std::uint32_t> resolve(const std::string& host) override;
    std::string reverse(std::uint32_t address) override;
};

// Looks every server's host up at the same time and waits for all: the
// slowest lookup, not their sum, decides how long it takes.
void resolveAll(std::vector<ReferenceServer>& servers, NameService& names);

} // namespace tessaly::netmon
