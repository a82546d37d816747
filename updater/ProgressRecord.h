#pragma once
// What the worker thread tells the progress window. Each value has one
// writer (the worker) and is read whole by the window's timer, without a
// lock: a tick that sees a stale value only shows it for 250 ms.

#include <atomic>
#include <cstdint>

namespace tessaly::updater {

inline constexpr std::int32_t kPhaseDownloading = 0;
inline constexpr std::int32_t kPhaseInstalling = 200;   // a package is saved and being installed
inline constexpr std::int32_t kPhaseFinished = 300;     // the window closes at its next tick

struct ProgressRecord {
    std::atomic<std::int32_t> bytesRead{0};      // of the package now downloading
    std::atomic<std::uint32_t> packageSize{0};   // its Content-Length; 0 when unknown
    std::atomic<double> rate{0.0};               // kilobytes (1024 bytes) per second
    std::atomic<std::int32_t> installPhase{kPhaseDownloading};
};

} // namespace tessaly::updater
