#include "updater/UpgradeMode.h"

namespace tessaly::updater {

UpgradeMode upgradeModeFrom(std::string_view commandLine)
{
    UpgradeMode mode = UpgradeMode::None;
    if (commandLine.find("FULL") != std::string_view::npos)
        mode = UpgradeMode::Full;
    if (commandLine.find("INCREMENTAL") != std::string_view::npos)
        mode = UpgradeMode::Incremental;
    if (commandLine.find("BASE") != std::string_view::npos)
        mode = UpgradeMode::Base;
    return mode;
}

} // namespace tessaly::updater
