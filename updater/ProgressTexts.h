#pragma once
// The texts and numbers the updater shows and traces, as pure rules.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/web/HttpStream.h"

namespace tessaly::updater {

// The progress bar's percentage: bytes read over the package size times 100,
// in single precision; nullopt before any byte has arrived or when the size
// is unknown (the bar is then left where it is).
std::optional<float> downloadPercent(std::int32_t bytesRead, std::uint32_t packageSize);

// The bar's position for a percentage: cut to a whole number, within 0..100.
int progressPosition(float percent);

// The status line between ticks: "Download Completed. Installation." while
// a package is installed, else "Downloading rate: (%0.1f Kb/s)".
std::string statusLine(std::int32_t installPhase, double rate);

// The downloader's state after a read: its status text and the rate.
struct DownloadReading {
    std::string status;
    double rate = 0.0;   // kilobytes per second
};

// After `total` bytes in `elapsedSeconds` whole seconds: "Read %d bytes
// (%0.1f Kb/s)". In the first second no whole-second rate exists yet; the
// text is "Read %d bytes" and the rate is counted as if one second had
// passed, so the window shows kilobytes per second from the first read.
DownloadReading downloadReading(std::int64_t total, std::int64_t elapsedSeconds);

// The session's status text for a stage of a transfer; nullopt for the
// stages that record nothing (receiving the response, closing the handle).
std::optional<std::string> stageText(const HttpStageInfo& info);

} // namespace tessaly::updater
