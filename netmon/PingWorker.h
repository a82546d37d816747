#pragma once
// The ping side of the monitor: one echo to every resolved reference server
// per cycle of at least two seconds, the statistics, and the server rows.

#include <array>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "netmon/MonitorSink.h"
#include "netmon/ReferenceServer.h"
#include "netmon/WorkerClock.h"
#include "platform/icmp/IcmpEcho.h"

namespace tessaly::netmon {

inline constexpr std::uint32_t kEchoTimeoutMs = 2000;
inline constexpr std::int64_t kPingCycleMs = 2000;
inline constexpr std::uint8_t kPingTimeToLive = 128;

// 32 bytes whose byte i is 32 + i: the blank to "?".
std::array<std::uint8_t, 32> echoRequestData();

class PingWorker {
public:
    // The worker is the only writer of the servers' statistics.
    PingWorker(std::vector<ReferenceServer>& servers, EchoPort& port, WorkerClock& clock, MonitorSink& sink,
               DebugOutput debug);

    // Cycles until stopped, or `cycles` of them when given.
    void run(std::stop_token stop, std::optional<int> cycles = std::nullopt);
    // One echo to each resolved server in row order, each row written after
    // its echo. False when a stop request cut the cycle short.
    bool runCycle(std::stop_token stop);

private:
    void writeRow(int row);

    std::vector<ReferenceServer>& servers_;
    EchoPort& port_;
    WorkerClock& clock_;
    MonitorSink& sink_;
    DebugOutput debug_;
    const std::array<std::uint8_t, 32> data_;
};

} // namespace tessaly::netmon
