#include "netmon/PingWorker.h"

#include "netmon/MonitorTexts.h"

namespace tessaly::netmon {

std::array<std::uint8_t, 32> echoRequestData()
{
    std::array<std::uint8_t, 32> data{};
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(32 + i);
    return data;
}

PingWorker::PingWorker(std::vector<ReferenceServer>& servers, EchoPort& port, WorkerClock& clock, MonitorSink& sink,
                       DebugOutput debug)
    : servers_(servers), port_(port), clock_(clock), sink_(sink), debug_(std::move(debug)), data_(echoRequestData())
{
}

void PingWorker::run(std::stop_token stop, std::optional<int> cycles)
{
    for (int done = 0; !cycles || done < *cycles; ++done) {
        const std::int64_t deadline = clock_.nowMs() + kPingCycleMs;
        if (!runCycle(stop))
            return;
        // A cycle that took longer than its period is followed at once by
        // the next; the last of a counted run does not wait.
        if (cycles && done + 1 == *cycles)
            return;
        if (!clock_.sleepUntil(deadline, stop))
            return;
    }
}

bool PingWorker::runCycle(std::stop_token stop)
{
    for (std::size_t row = 0; row < servers_.size(); ++row) {
        ReferenceServer& server = servers_[row];
        if (!server.resolved)
            continue;
        const EchoResult result = port_.echo(server.address, kPingTimeToLive, kEchoTimeoutMs, data_, stop);
        if (stop.stop_requested())
            return false;
        if (result.status == ipstatus::kSuccess) {
            server.echoes.recordAnswered(result.roundTripUs);
        } else {
            debug_(echoFailureLine(result.status));
            server.echoes.recordLost();
        }
        writeRow(static_cast<int>(row));
    }
    return true;
}

void PingWorker::writeRow(int row)
{
    const ReferenceServer& server = servers_[static_cast<std::size_t>(row)];
    sink_.setServerCell(row, kConnection, ratingText(server.quality()));
    const EchoStatistics& echoes = server.echoes;
    sink_.setServerCell(row, kSent, number(echoes.sent()));
    sink_.setServerCell(row, kLost, number(echoes.lost()));
    sink_.setServerCell(row, kMinimum, number(roundedMs(echoes.bestMs())));
    sink_.setServerCell(row, kAverage, number(roundedMs(echoes.averageMs())));
    sink_.setServerCell(row, kMaximum, number(roundedMs(echoes.worstMs())));
}

} // namespace tessaly::netmon
