#include "netmon/TraceWorker.h"

#include "netmon/MonitorTexts.h"
#include "netmon/PingWorker.h"

namespace tessaly::netmon {

TraceWorker::TraceWorker(std::uint64_t trace, std::uint32_t destination, EchoPort& port, WorkerClock& clock,
                         NameService& names, MonitorSink& sink, DebugOutput debug)
    : trace_(trace), destination_(destination), port_(port), clock_(clock), names_(names), sink_(sink),
      debug_(std::move(debug)), data_(echoRequestData())
{
}

void TraceWorker::run(std::stop_token stop)
{
    while (!stop.stop_requested())
        runHop(stop);
}

bool TraceWorker::runPass(std::stop_token stop)
{
    while (!stop.stop_requested())
        if (runHop(stop))
            return true;
    return false;
}

bool TraceWorker::runHop(std::stop_token stop)
{
    const std::int64_t deadline = clock_.nowMs() + kHopPeriodMs;
    const int row = hop_ - 1;
    const std::string measuring = number(hop_) + " >";
    if (hop_ > rowsShown_) {
        sink_.appendRouteRow(trace_, row, measuring, kTracingText);
        rowsShown_ = hop_;
    } else {
        sink_.setRouteCell(trace_, row, kHops, measuring);
    }

    EchoResult result;
    const bool answered = measure(row, stop, result);
    if (stop.stop_requested() || !clock_.sleepUntil(deadline, stop))
        return false;
    sink_.setRouteCell(trace_, row, kHops, number(hop_));

    if (answered)
        lastAnswered_ = hop_;
    const bool arrived = answered && result.status == ipstatus::kSuccess && result.from == destination_;
    if (arrived || hop_ == lastAnswered_ + kSilentHopsBeforeRestart) {
        hop_ = 1;
        lastAnswered_ = 0;
        return true;
    }
    ++hop_;
    return false;
}

bool TraceWorker::measure(int row, std::stop_token stop, EchoResult& result)
{
    result = port_.echo(destination_, static_cast<std::uint8_t>(hop_), kEchoTimeoutMs, data_, stop);
    if (stop.stop_requested())
        return false;
    // A router that drops the request at its time to live answers for its
    // hop with its own address, as the destination does with an echo reply.
    if (result.status == ipstatus::kSuccess || result.status == ipstatus::kTtlExpiredTransit) {
        sink_.setRouteCell(trace_, row, kHopIp, dottedAddress(result.from));
        sink_.setRouteCell(trace_, row, kHopAddress, kSearchingText);
        const std::string name = names_.reverse(result.from);
        if (stop.stop_requested())
            return false;
        sink_.setRouteCell(trace_, row, kHopAddress, name);
        sink_.setRouteCell(trace_, row, kPing, milliseconds(result.roundTripMs));
        return true;
    }
    debug_(echoFailureLine(result.status));
    sink_.setRouteCell(trace_, row, kHopAddress, failureText(result.status));
    return false;
}

} // namespace tessaly::netmon
