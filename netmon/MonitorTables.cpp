#include "netmon/MonitorTables.h"

#include "netmon/MonitorTexts.h"

namespace tessaly::netmon {

ServerRow openingServerRow(const ReferenceServer& server)
{
    ServerRow row;
    row[kServerName] = server.shownName();
    row[kServerIp] = server.resolved ? dottedAddress(server.address) : kNotFoundText;
    return row;
}

MonitorTables::MonitorTables(const std::vector<ReferenceServer>& servers)
{
    for (const ReferenceServer& server : servers)
        servers_.push_back(openingServerRow(server));
}

void MonitorTables::startTrace(std::uint64_t trace)
{
    const std::lock_guard lock(mutex_);
    trace_ = trace;
    route_.clear();
    verdict_.clear();
}

void MonitorTables::setServerCell(int row, int column, const std::string& text)
{
    const std::lock_guard lock(mutex_);
    if (row >= 0 && static_cast<std::size_t>(row) < servers_.size() && column >= 0 && column < kServerColumns)
        servers_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

void MonitorTables::appendRouteRow(std::uint64_t trace, int row, const std::string& hops, const std::string& address)
{
    const std::lock_guard lock(mutex_);
    if (trace != trace_ || static_cast<std::size_t>(row) != route_.size())
        return;
    RouteRow added;
    added[kHops] = hops;
    added[kHopAddress] = address;
    route_.push_back(added);
}

void MonitorTables::setRouteCell(std::uint64_t trace, int row, int column, const std::string& text)
{
    const std::lock_guard lock(mutex_);
    if (trace != trace_ || row < 0 || static_cast<std::size_t>(row) >= route_.size() || column < 0 ||
        column >= kRouteColumns)
        return;
    route_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

void MonitorTables::setRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts)
{
    for (int c = 0; c < kFigureColumns; ++c)
        setRouteCell(trace, row, kHopSent + c, texts[static_cast<std::size_t>(c)]);
}

void MonitorTables::removeRouteRows(std::uint64_t trace, int row)
{
    const std::lock_guard lock(mutex_);
    if (trace == trace_ && row >= 0 && static_cast<std::size_t>(row) < route_.size())
        route_.resize(static_cast<std::size_t>(row));
}

void MonitorTables::setRouteVerdict(std::uint64_t trace, const std::string& text)
{
    const std::lock_guard lock(mutex_);
    if (trace == trace_)
        verdict_ = text;
}

std::string MonitorTables::routeVerdict() const
{
    const std::lock_guard lock(mutex_);
    return verdict_;
}

std::vector<ServerRow> MonitorTables::servers() const
{
    const std::lock_guard lock(mutex_);
    return servers_;
}

std::vector<RouteRow> MonitorTables::route() const
{
    const std::lock_guard lock(mutex_);
    return route_;
}

} // namespace tessaly::netmon
