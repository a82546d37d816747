#pragma once
// The kind of upgrade the client asked for, and what each kind fetches.

#include <string_view>
#include <vector>

namespace tessaly::updater {

enum class UpgradeMode : int { None = -1, Full = 100, Incremental = 200, Base = 300 };

inline constexpr const char* kFullPackagePath = "/upgrades/Upgrade.zip";
inline constexpr const char* kIncrementalPackagePath = "/upgrades/Incremental.zip";

// The command line (the text after the program name) is searched,
// case-sensitively, for "FULL", "INCREMENTAL" and "BASE" in that order; each
// one found sets its mode, so " FULL BASE" is BASE and "full" is None.
UpgradeMode upgradeModeFrom(std::string_view commandLine);

// The package paths a mode fetches, in order.
std::vector<const char*> packagePaths(UpgradeMode mode);

} // namespace tessaly::updater
