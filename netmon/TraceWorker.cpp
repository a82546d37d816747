#include "netmon/TraceWorker.h"

#include "netmon/MonitorTexts.h"

namespace tessaly::netmon {
namespace {

// The hop's figures as the route list shows them; no round trip is shown
// before one has been measured.
FigureTexts figureTexts(const EchoStatistics& echoes, const std::string& verdict)
{
    const bool measured = echoes.answered() > 0;
    const auto ms = [measured](double value) { return measured ? tenths(value) : std::string(); };
    return {number(echoes.sent()), number(echoes.lost()), tenths(echoes.lossPercent()) + "%",
            ms(echoes.lastMs()),   ms(echoes.averageMs()), ms(echoes.bestMs()),
            ms(echoes.worstMs()),  ms(echoes.stdevMs()),   verdict};
}

} // namespace

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
    if (hop_ > static_cast<int>(rows_.size())) {
        sink_.appendRouteRow(trace_, row, measuring, kTracingText);
        rows_.resize(static_cast<std::size_t>(hop_));
    } else {
        sink_.setRouteCell(trace_, row, kHops, measuring);
    }
    sendEchoes();
    if (!collect(deadline, stop))
        return false;
    if (row < static_cast<int>(rows_.size()))
        sink_.setRouteCell(trace_, row, kHops, number(hop_));
    writeFigures();

    if (row < static_cast<int>(rows_.size()) && rows_[static_cast<std::size_t>(row)].answeredPass == pass_)
        lastAnswered_ = std::max(lastAnswered_, hop_);
    const bool arrived = passEnded_ || (destinationHop_ != 0 && hop_ >= destinationHop_);
    if (arrived || hop_ >= lastAnswered_ + kSilentHopsBeforeRestart || hop_ == 255) {
        hop_ = 1;
        lastAnswered_ = 0;
        ++pass_;
        passEnded_ = false;
        return true;
    }
    ++hop_;
    return false;
}

bool TraceWorker::settle(std::stop_token stop)
{
    std::int64_t last = clock_.nowMs();
    for (const Pending& echo : pending_)
        last = std::max(last, echo.giveUpMs);
    if (!collect(last, stop))
        return false;
    writeFigures();
    return true;
}

std::vector<HopRecord> TraceWorker::hops() const
{
    std::vector<HopRecord> records;
    for (const Row& row : rows_)
        records.push_back(row.record);
    return records;
}

RouteVerdict TraceWorker::verdict() const
{
    std::vector<HopFigures> figures;
    for (const Row& row : rows_) {
        const EchoStatistics& e = row.record.echoes;
        figures.push_back({e.sent(), e.lost(), e.averageMs(), row.record.destination});
    }
    return judgeRoute(figures);
}

void TraceWorker::sendEchoes()
{
    const std::int64_t now = clock_.nowMs();
    for (int i = 0; i < kEchoesPerHop; ++i) {
        const EchoSent sent = port_.send(destination_, static_cast<std::uint8_t>(hop_), data_);
        const Pending echo{sent.sequence, hop_, pass_, now + kHopGiveUpMs};
        if (sent.status == ipstatus::kSuccess)
            pending_.push_back(echo);
        else
            failed(echo, sent.status);
    }
}

bool TraceWorker::collect(std::int64_t until, std::stop_token stop)
{
    for (;;) {
        // Answers that came while the worker was busy (a name lookup) are
        // taken before any echo is given up.
        while (const std::optional<EchoAnswer> waiting = port_.receive(0, stop))
            take(*waiting, stop);
        if (stop.stop_requested())
            return false;
        const std::int64_t now = clock_.nowMs();
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (it->giveUpMs > now) {
                ++it;
                continue;
            }
            const Pending echo = *it;
            it = pending_.erase(it);
            failed(echo, ipstatus::kReqTimedOut);
        }
        if (now >= until)
            return true;
        std::int64_t next = until;
        for (const Pending& echo : pending_)
            next = std::min(next, echo.giveUpMs);
        const std::optional<EchoAnswer> answer = port_.receive(static_cast<std::uint32_t>(next - now), stop);
        if (stop.stop_requested())
            return false;
        if (answer)
            take(*answer, stop);
        // A port that has waited out the time leaves nothing to sleep.
        else if (!clock_.sleepUntil(next, stop))
            return false;
        if (stop.stop_requested())
            return false;
    }
}

void TraceWorker::take(const EchoAnswer& answer, std::stop_token stop)
{
    const auto found = std::find_if(pending_.begin(), pending_.end(),
                                    [&](const Pending& echo) { return echo.sequence == answer.sequence; });
    if (found == pending_.end())
        return;   // given up already, or for a hop beyond the destination
    const Pending echo = *found;
    pending_.erase(found);
    const int status = answer.result.status;
    // A router that drops the request at its time to live answers for its
    // hop with its own address, as the destination does with an echo reply.
    if (status == ipstatus::kSuccess || status == ipstatus::kTtlExpiredTransit)
        answered(echo, answer.result, stop);
    else
        failed(echo, status);
}

void TraceWorker::answered(const Pending& echo, const EchoResult& result, std::stop_token stop)
{
    const int row = echo.hop - 1;
    Row& shown = rows_[static_cast<std::size_t>(row)];
    shown.record.echoes.recordAnswered(result.roundTripUs);
    shown.record.address = result.from;
    shown.answeredPass = echo.pass;
    if (echo.pass == pass_ && echo.hop < hop_)
        lastAnswered_ = std::max(lastAnswered_, echo.hop);
    if (result.status == ipstatus::kSuccess && result.from == destination_) {
        shown.record.destination = true;
        if (destinationHop_ == 0 || echo.hop < destinationHop_) {
            destinationHop_ = echo.hop;
            cutAfter(echo.hop);
        }
        passEnded_ = passEnded_ || (echo.pass == pass_ && echo.hop < hop_);
    } else if (echo.hop == destinationHop_) {
        // A router where the destination was: the path grew longer.
        destinationHop_ = 0;
        shown.record.destination = false;
    }

    const std::string ip = dottedAddress(result.from);
    if (shown.ip != ip) {
        shown.ip = ip;
        sink_.setRouteCell(trace_, row, kHopIp, ip);
    }
    const std::string name = nameOf(row, result.from);
    if (stop.stop_requested())
        return;
    rows_[static_cast<std::size_t>(row)].record.name = name;
    setAddress(row, name);
    sink_.setRouteCell(trace_, row, kPing, milliseconds(result.roundTripUs));
}

void TraceWorker::failed(const Pending& echo, int status)
{
    debug_(echoFailureLine(status));
    const int row = echo.hop - 1;
    if (row >= static_cast<int>(rows_.size()))
        return;
    Row& shown = rows_[static_cast<std::size_t>(row)];
    shown.record.echoes.recordLost();
    // Columns 1 and 3 keep what an earlier answer wrote there.
    if (shown.answeredPass != echo.pass)
        setAddress(row, failureText(status));
}

void TraceWorker::cutAfter(int hop)
{
    if (static_cast<int>(rows_.size()) <= hop)
        return;
    rows_.resize(static_cast<std::size_t>(hop));
    std::erase_if(pending_, [hop](const Pending& echo) { return echo.hop > hop; });
    sink_.removeRouteRows(trace_, hop);
}

void TraceWorker::setAddress(int row, const std::string& text)
{
    Row& shown = rows_[static_cast<std::size_t>(row)];
    if (shown.address == text)
        return;
    shown.address = text;
    sink_.setRouteCell(trace_, row, kHopAddress, text);
}

std::string TraceWorker::nameOf(int row, std::uint32_t address)
{
    const auto found = namesFound_.find(address);
    if (found != namesFound_.end())
        return found->second;
    setAddress(row, kSearchingText);
    return namesFound_[address] = names_.reverse(address);
}

void TraceWorker::writeFigures()
{
    const RouteVerdict judged = verdict();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const FigureTexts texts = figureTexts(rows_[row].record.echoes, judged.hops[row]);
        if (texts == rows_[row].figures)
            continue;
        rows_[row].figures = texts;
        sink_.setRouteFigures(trace_, static_cast<int>(row), texts);
    }
    if (judged.route != verdictShown_) {
        verdictShown_ = judged.route;
        sink_.setRouteVerdict(trace_, judged.route);
    }
}

} // namespace tessaly::netmon
