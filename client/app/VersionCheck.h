#pragma once
// The version check's pure rules: the scan of a version file's text and the
// decision between the client's version and the two numbers read.

#include <optional>
#include <string>
#include <string_view>

#include "client/net/ClientVersion.h"

namespace tessaly {

inline constexpr const char* kVersionFilePath = "/upgrades/version.txt";
inline constexpr const char* kUpgradeFilePath = "/upgrades/upgrade.txt";
inline constexpr std::size_t kVersionFileMaxBytes = 2048;

// The first non-zero number at the start of a line. At each start: white
// space is skipped and a decimal number is read (text that is none reads as
// 0); a 0 sends the scan on after the next carriage return. Only carriage
// returns end lines here: a file with line feeds alone is one line.
// A NUL byte ends the text. nullopt when the text holds no such number.
std::optional<double> scanVersionText(std::string_view text);

enum class UpgradeKind { Full, Incremental, Base };

// The updater's one argument: "FULL", "INCREMENTAL" or "BASE".
const char* upgradeWord(UpgradeKind kind);

// With C the client's version, V and U the numbers of version.txt and
// upgrade.txt (0 when unreadable): nothing unless U > C; then, when C's whole
// part is below V's, FULL if U > V else BASE; otherwise INCREMENTAL if U > V,
// else nothing.
std::optional<UpgradeKind> decideUpgrade(double clientVersion, double version, double upgrade);

} // namespace tessaly
