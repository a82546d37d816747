#pragma once
// Reads one version file from the web server and tells the user when it
// cannot: the number, or 0 after a warning box.

#include <string>

#include "platform/MessageBoxes.h"
#include "platform/web/HttpClient.h"

namespace tessaly {

inline constexpr const char* kVersionMaintenanceMessage =
    "Warning: Cannot check for latest version of game. The update\nserver appears to be undergoing maintenance.";
inline constexpr const char* kVersionErrorPrefix = "Cannot check for latest version: \n";
inline constexpr std::size_t kVersionErrorMaxChars = 1024;
inline constexpr const char* kVersionCheckCaption = "Tessaly";
// A silent server costs start-up at most 3 s per file.
inline constexpr long kVersionFileConnectTimeoutMs = 2000;
inline constexpr long kVersionFileTimeoutMs = 3000;

// The two boxes, owned by the desktop: a file without a number, and a
// transfer error with the error's text.
BoxRequest versionMaintenanceBox();
BoxRequest versionErrorBox(const std::string& error);

class VersionFileReader {
public:
    VersionFileReader(HttpClient& http, MessageBoxes& boxes, std::string webUrl);

    // GET webUrl + path, at most 2,048 bytes, scanned for its number.
    double read(const std::string& path);

private:
    HttpClient& http_;
    MessageBoxes& boxes_;
    std::string webUrl_;
};

} // namespace tessaly
