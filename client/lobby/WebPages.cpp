#include "client/lobby/WebPages.h"

namespace tessaly {

std::string pageAddress(const ClientConfig& config, const WebPage& page)
{
    return (page.site == WebSite::Web ? config.webUrl : config.secureWebUrl) + page.path;
}

} // namespace tessaly
