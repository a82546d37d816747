#include "client/app/VersionFileReader.h"

#include <optional>

#include "client/app/VersionCheck.h"

namespace tessaly {

BoxRequest versionMaintenanceBox()
{
    return BoxRequest{kVersionMaintenanceMessage, kVersionCheckCaption, BoxIcon::Exclamation};
}

BoxRequest versionErrorBox(const std::string& error)
{
    return BoxRequest{kVersionErrorPrefix + error.substr(0, kVersionErrorMaxChars), kVersionCheckCaption,
                      BoxIcon::Exclamation};
}

VersionFileReader::VersionFileReader(HttpClient& http, MessageBoxes& boxes, std::string webUrl)
    : http_(http), boxes_(boxes), webUrl_(std::move(webUrl))
{
}

double VersionFileReader::read(const std::string& path)
{
    const HttpLimits limits{kVersionFileMaxBytes, kVersionFileConnectTimeoutMs, kVersionFileTimeoutMs};
    const HttpReply reply = http_.get(webUrl_ + path, limits);
    if (!reply.ok) {
        boxes_.show(versionErrorBox(reply.error));
        return 0.0;
    }
    const std::optional<double> number = scanVersionText(reply.body);
    if (!number) {
        boxes_.show(versionMaintenanceBox());
        return 0.0;
    }
    return *number;
}

} // namespace tessaly
