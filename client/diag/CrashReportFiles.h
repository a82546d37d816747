#pragma once
// Where a crash report lives. The crash guard writes the report and the
// dump beside the program and starts the sender from there. A report the
// user chose to send lives on in a folder of its own under "unsent-reports"
// until it has been sent (the sender moves it there), and the client offers
// it again at its next start.

#include <filesystem>

namespace tessaly {

inline constexpr const char* kCrashReportFile = "ERRORLOG.TXT";
inline constexpr const char* kCrashDumpFile = "CRASH.DMP";
inline constexpr const char* kCrashSenderFile = "Bugrelay";
inline constexpr const char* kUnsentReportsFolder = "unsent-reports";
// In a kept report's folder: what the user wrote about the crash.
inline constexpr const char* kCrashCommentsFile = "COMMENTS.TXT";

// True when a report waits to be sent: a folder under "unsent-reports"
// of the program's directory that holds a report.
bool unsentReportWaiting(const std::filesystem::path& programDirectory);

} // namespace tessaly
