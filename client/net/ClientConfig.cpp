#include "client/net/ClientConfig.h"

#include <cstdlib>

namespace tessaly {
namespace {

std::string withoutTrailingSlashes(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

} // namespace

ClientConfig clientConfigFrom(const std::function<const char*(const char*)>& lookup)
{
    ClientConfig config;
    const auto take = [&](const char* name, std::string& value) {
        const char* set = lookup(name);
        if (set != nullptr && *set != '\0')
            value = set;
    };
    take("TESSALY_WEB_URL", config.webUrl);
    take("TESSALY_SECURE_WEB_URL", config.secureWebUrl);
    take("TESSALY_PROBE_HOST", config.probeHost);
    config.webUrl = withoutTrailingSlashes(config.webUrl);
    config.secureWebUrl = withoutTrailingSlashes(config.secureWebUrl);
    return config;
}

ClientConfig clientConfigFromEnvironment()
{
    return clientConfigFrom([](const char* name) { return std::getenv(name); });
}

} // namespace tessaly
