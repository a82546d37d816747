#pragma once
// The kind of upgrade the client asked for, and the packages it fetches:
// FULL the full package, then the incremental one; INCREMENTAL the
// incremental one; BASE the full one.

#include <string_view>

namespace tessaly::updater {

enum class UpgradeMode : int { None = -1, Full = 100, Incremental = 200, Base = 300 };

inline constexpr const char* kFullPackagePath = "/upgrades/Upgrade.zip";
inline constexpr const char* kIncrementalPackagePath = "/upgrades/Incremental.zip";

// The command line (the text after the program name) is searched,
// case-sensitively, for "FULL", "INCREMENTAL" and "BASE" in that order; each
// one found sets its mode, so " FULL BASE" is BASE and "full" is None.
UpgradeMode upgradeModeFrom(std::string_view commandLine);

} // namespace tessaly::updater
