#pragma once
// The route side of the monitor: echoes to one server with a time to live
// of 1, 2, 3 ... one hop per 500 ms at most, each hop's row written as it
// goes; the trace starts over when the destination answers or five hops
// beyond the last answering one stayed silent.

#include <array>
#include <cstdint>
#include <stop_token>

#include "netmon/MonitorSink.h"
#include "netmon/NameService.h"
#include "netmon/WorkerClock.h"
#include "platform/icmp/IcmpEcho.h"

namespace tessaly::netmon {

inline constexpr std::int64_t kHopPeriodMs = 500;
inline constexpr int kSilentHopsBeforeRestart = 5;

inline constexpr const char* kTracingText = "Tracing data route...";
inline constexpr const char* kSearchingText = "Searching for address...";

class TraceWorker {
public:
    // `trace` tags every route write; `destination` in network byte order.
    TraceWorker(std::uint64_t trace, std::uint32_t destination, EchoPort& port, WorkerClock& clock,
                NameService& names, MonitorSink& sink, DebugOutput debug);

    // Hops until stopped.
    void run(std::stop_token stop);
    // Traces until the trace starts over once; false when stopped first.
    bool runPass(std::stop_token stop);
    // One hop. True when it ended a pass (the next hop is 1 again).
    bool runHop(std::stop_token stop);

    int nextHop() const { return hop_; }

private:
    // True when a router or the destination answered the hop.
    bool measure(int row, std::stop_token stop, EchoResult& result);

    std::uint64_t trace_;
    std::uint32_t destination_;
    EchoPort& port_;
    WorkerClock& clock_;
    NameService& names_;
    MonitorSink& sink_;
    DebugOutput debug_;
    const std::array<std::uint8_t, 32> data_;
    int hop_ = 1;
    int rowsShown_ = 0;
    int lastAnswered_ = 0;
};

} // namespace tessaly::netmon
