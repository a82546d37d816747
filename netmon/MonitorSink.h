#pragma once
// Where the workers write: the cells of the two lists of the monitor window,
// by row and column. The window's implementation hands every call to its
// own thread; the report's keeps the tables in memory.
//
// Route calls carry the number of the trace that makes them, so that the
// writes of a trace that has been stopped, still on their way, are dropped
// by a list that has been emptied for the next one.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tessaly::netmon {

enum ServerColumn { kServerName = 0, kConnection, kServerIp, kSent, kLost, kMinimum, kAverage, kMaximum };
// The route list: the hop's columns, then its figures over every pass of
// the trace and what they say.
enum RouteColumn {
    kHops = 0, kHopIp, kHopAddress, kPing,
    kHopSent, kHopLost, kHopLoss, kHopLast, kHopAverage, kHopBest, kHopWorst, kHopStdev, kHopVerdict
};

inline constexpr int kServerColumns = 8;
inline constexpr int kRouteColumns = 13;
inline constexpr int kFigureColumns = kRouteColumns - kHopSent;

// The texts of the figure columns of one hop, from kHopSent on.
using FigureTexts = std::array<std::string, kFigureColumns>;

class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    virtual void setServerCell(int row, int column, const std::string& text) = 0;
    // Adds row `row` at the end of the route list with its hop and address
    // texts and scrolls it into view.
    virtual void appendRouteRow(std::uint64_t trace, int row, const std::string& hops, const std::string& address) = 0;
    virtual void setRouteCell(std::uint64_t trace, int row, int column, const std::string& text) = 0;
    virtual void setRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts) = 0;
    // Removes the rows from `row` on (hops beyond the destination).
    virtual void removeRouteRows(std::uint64_t trace, int row) = 0;
    // The line under the route list: the verdict on the whole route.
    virtual void setRouteVerdict(std::uint64_t trace, const std::string& text) = 0;
};

// The debugger output: one line per failed echo.
using DebugOutput = std::function<void(const std::string& line)>;
// The program's debug output: the diagnostic trace.
DebugOutput traceDebugOutput();

} // namespace tessaly::netmon
