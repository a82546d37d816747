#include "client/app/VersionCheck.h"

#include <cmath>

#include "platform/sys/CLocale.h"

namespace tessaly {

std::optional<double> scanVersionText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpaceC(text[at]))
            ++at;
        const std::size_t length = decimalNumberLength(text.substr(at));
        if (length > 0) {
            const std::string number(text.substr(at, length));
            const double value = strtodC(number.c_str(), nullptr);
            if (value != 0.0)
                return value;
        }
        const std::size_t cr = text.find('\r', at);
        if (cr == std::string_view::npos)
            break;
        at = cr + 1;
    }
    return std::nullopt;
}

const char* upgradeWord(UpgradeKind kind)
{
    switch (kind) {
    case UpgradeKind::Full:
        return "FULL";
    case UpgradeKind::Incremental:
        return "INCREMENTAL";
    case UpgradeKind::Base:
        return "BASE";
    }
    return "";
}

std::optional<UpgradeKind> decideUpgrade(double clientVersion, double version, double upgrade)
{
    if (!(upgrade > clientVersion))
        return std::nullopt;
    // Whole parts compared as doubles: a huge number in a file must not
    // overflow an integer conversion.
    if (std::trunc(clientVersion) < std::trunc(version))
        return upgrade > version ? UpgradeKind::Full : UpgradeKind::Base;
    if (upgrade > version)
        return UpgradeKind::Incremental;
    return std::nullopt;
}

} // namespace tessaly
