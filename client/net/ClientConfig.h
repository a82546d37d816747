#pragma once
// Where the client finds the room's web sites and the probe's reference host:
// build defaults, each overridden by an environment variable.
//
//   TESSALY_WEB_URL         web site and version-file server   http://127.0.0.1:8580
//   TESSALY_SECURE_WEB_URL  secure web site (account pages)    http://127.0.0.1:8580
//   TESSALY_PROBE_HOST      reference host of the latency gate 127.0.0.1
//
// The secure site defaults to the house server too, which serves plain HTTP
// only. The game server's host and port are GameServerAddress's.

#include <functional>
#include <string>

namespace tessaly {

inline constexpr const char* kDefaultWebUrl = "http://127.0.0.1:8580";
inline constexpr const char* kDefaultSecureWebUrl = "http://127.0.0.1:8580";
inline constexpr const char* kDefaultProbeHost = "127.0.0.1";

struct ClientConfig {
    std::string webUrl = kDefaultWebUrl;              // no trailing "/"
    std::string secureWebUrl = kDefaultSecureWebUrl;  // no trailing "/"
    std::string probeHost = kDefaultProbeHost;
};

// Looks each variable up with `lookup` (nullptr: not set); an empty value
// counts as not set. Trailing "/" of the addresses are dropped so that paths
// can be appended.
ClientConfig clientConfigFrom(const std::function<const char*(const char*)>& lookup);

ClientConfig clientConfigFromEnvironment();

} // namespace tessaly
