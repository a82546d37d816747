#pragma once
// What the client and Loomrise agree on about an update: the client starts
// Loomrise with the kind of upgrade and the two numbers its version check
// read ("INCREMENTAL 6.8 6.9"); when Loomrise refuses that update it leaves
// a marker naming the same two numbers in the install directory, and the
// client does not start it again for them. Numbers are written in their
// shortest decimal form, whatever the locale.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

inline constexpr const char* kRefusedUpdateFile = "update-refused.txt";

struct AnnouncedVersions {
    double version = 0.0;   // version.txt: the full package's version
    double upgrade = 0.0;   // upgrade.txt: the incremental package's version
};

std::string versionNumberText(double number);

// The marker's text for these numbers.
std::string refusedUpdateMarker(const AnnouncedVersions& versions);

// The two numbers after the kind's word on Loomrise's command line; nullopt
// when they are not there (Loomrise started by hand).
std::optional<AnnouncedVersions> announcedVersionsFrom(std::string_view commandLine);

} // namespace tessaly
