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

std::vector<const char*> packagePaths(UpgradeMode mode)
{
    switch (mode) {
    case UpgradeMode::Full:
        return {kFullPackagePath, kIncrementalPackagePath};
    case UpgradeMode::Incremental:
        return {kIncrementalPackagePath};
    case UpgradeMode::Base:
        return {kFullPackagePath};
    case UpgradeMode::None:
        break;
    }
    return {};
}

} // namespace tessaly::updater
