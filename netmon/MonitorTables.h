#pragma once
// The two lists of the monitor as texts in memory, written through the
// MonitorSink calls from any thread: what the report prints, and what the
// engine's tests read back.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "netmon/MonitorSink.h"
#include "netmon/ReferenceServer.h"

namespace tessaly::netmon {

using ServerRow = std::array<std::string, kServerColumns>;
using RouteRow = std::array<std::string, kRouteColumns>;

inline constexpr const char* kNotFoundText = "Not found";

// What a server row shows when the window opens: its name, and its address
// or "Not found".
ServerRow openingServerRow(const ReferenceServer& server);

class MonitorTables final : public MonitorSink {
public:
    explicit MonitorTables(const std::vector<ReferenceServer>& servers);

    // Empties the route list for the trace numbered `trace`; the writes of
    // every other trace are dropped from now on.
    void startTrace(std::uint64_t trace);

    void setServerCell(int row, int column, const std::string& text) override;
    void appendRouteRow(std::uint64_t trace, int row, const std::string& hops, const std::string& address) override;
    void setRouteCell(std::uint64_t trace, int row, int column, const std::string& text) override;
    void setRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts) override;
    void removeRouteRows(std::uint64_t trace, int row) override;
    void setRouteVerdict(std::uint64_t trace, const std::string& text) override;

    std::vector<ServerRow> servers() const;
    std::vector<RouteRow> route() const;
    std::string routeVerdict() const;

private:
    mutable std::mutex mutex_;
    std::vector<ServerRow> servers_;
    std::vector<RouteRow> route_;
    std::string verdict_;
    std::uint64_t trace_ = 0;
};

} // namespace tessaly::netmon
