#pragma once
// The route side of the monitor: echoes to one server with a time to live
// of 1, 2, 3 ... one hop per 500 ms at most, each hop's row written as it
// goes; the trace starts over at the destination, or when five hops beyond
// the last answering one stayed silent.
//
// Each hop gets kEchoesPerHop echoes per pass, and its figures (sent, lost,
// round trips) are kept over every pass. The echoes of a hop stay on their
// way while the next hops are measured: one that is not answered within
// kHopGiveUpMs counts as lost, but a silent hop holds nothing back. Once
// the destination has answered at hop N, no pass goes beyond N and rows
// beyond it are removed. Each address is looked up by name once per trace.

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <stop_token>
#include <string>
#include <vector>

#include "netmon/EchoStatistics.h"
#include "netmon/MonitorSink.h"
#include "netmon/NameService.h"
#include "netmon/PingWorker.h"
#include "netmon/RouteVerdict.h"
#include "netmon/WorkerClock.h"
#include "platform/icmp/IcmpEcho.h"

namespace tessaly::netmon {

inline constexpr std::int64_t kHopPeriodMs = 500;
inline constexpr int kSilentHopsBeforeRestart = 5;
inline constexpr int kEchoesPerHop = 3;
inline constexpr std::int64_t kHopGiveUpMs = std::min<std::int64_t>(kEchoTimeoutMs, 1000);

inline constexpr const char* kTracingText = "Tracing data route...";
inline constexpr const char* kSearchingText = "Searching for address...";

// One hop of the route over the whole trace.
struct HopRecord {
    std::uint32_t address = 0;   // the last that answered; 0 before any
    std::string name;
    bool destination = false;    // answered by the traced server itself
    EchoStatistics echoes;
};

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

    // Waits for the echoes still on their way (kHopGiveUpMs at most) and
    // writes the figures; false when stopped first.
    bool settle(std::stop_token stop);

    int nextHop() const { return hop_; }
    // Read while the worker does not run.
    std::vector<HopRecord> hops() const;
    RouteVerdict verdict() const;

private:
    struct Pending {
        std::uint16_t sequence;
        int hop;
        int pass;
        std::int64_t giveUpMs;
    };
    // A row of the route list: its hop, and the texts last written to it.
    struct Row {
        HopRecord record;
        int answeredPass = -1;
        std::string ip;
        std::string address = kTracingText;
        FigureTexts figures;
    };

    void sendEchoes();
    // Takes answers and gives echoes up until the clock reaches `until`;
    // false when stopped.
    bool collect(std::int64_t until, std::stop_token stop);
    void take(const EchoAnswer& answer, std::stop_token stop);
    void answered(const Pending& echo, const EchoResult& result, std::stop_token stop);
    void failed(const Pending& echo, int status);
    // The destination answered at `hop`: rows beyond it go.
    void cutAfter(int hop);
    void setAddress(int row, const std::string& text);
    // The name of an address, looked up the first time only.
    std::string nameOf(int row, std::uint32_t address);
    void writeFigures();

    std::uint64_t trace_;
    std::uint32_t destination_;
    EchoPort& port_;
    WorkerClock& clock_;
    NameService& names_;
    MonitorSink& sink_;
    DebugOutput debug_;
    const std::array<std::uint8_t, 32> data_;
    int hop_ = 1;
    int lastAnswered_ = 0;
    int pass_ = 0;
    int destinationHop_ = 0;     // 0 until the destination answers
    bool passEnded_ = false;     // the destination answered a hop already passed
    std::vector<Row> rows_;
    std::vector<Pending> pending_;
    std::map<std::uint32_t, std::string> namesFound_;
    std::string verdictShown_;
};

} // namespace tessaly::netmon
