#pragma once
// The updater's own texts and file names.

namespace tessaly::updater {

inline constexpr const char* kProgramName = "Loomrise";
// The client, started from the install directory (no ".exe" on Linux).
inline constexpr const char* kClientProgram = "Tessaly";
inline constexpr const char* kPackageFile = "value.zip";

inline constexpr const char* kUsageMessage = "To use the loomriser, simply start the client as usual.";
inline constexpr const char* kInfoQueryFailedMessage = "problem in get file";
inline constexpr const char* kDownloadFailedMessage = "Could not get file info. ERROR";
inline constexpr const char* kNotAZipMessage = "Not a valid zip file";
inline constexpr const char* kUnzipFailedMessage = "Unable to unzip file";
inline constexpr const char* kClientStartFailedMessage = "Unable to start game directory problem?";

inline constexpr const char* kInstallingStatus = "Download Completed. Installation.";

} // namespace tessaly::updater
