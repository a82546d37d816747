#pragma once
// `Linkscope --report [--cycles N] [--json | --csv]`: N ping cycles (10
// unless told) and, for as long, the trace to row 0 without a window,
// printed as text, as one JSON document or as CSV with one line per hop,
// for a support request.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "netmon/MonitorServices.h"
#include "netmon/MonitorTables.h"
#include "netmon/ReferenceServer.h"
#include "netmon/RouteVerdict.h"
#include "netmon/TraceWorker.h"

namespace tessaly::netmon {

enum class ReportFormat { Text, Json, Csv };

struct ReportOptions {
    int cycles = 10;
    ReportFormat format = ReportFormat::Text;
};

// The report's options when the arguments ask for it; nullopt without
// arguments (the window). A bad argument sets `error`.
std::optional<ReportOptions> parseReportArguments(const std::vector<std::string>& arguments, std::string& error);

struct ReportData {
    const std::vector<ReferenceServer>& servers;
    std::vector<ServerRow> serverRows;
    std::vector<RouteRow> route;
    std::vector<HopRecord> hops;
    RouteVerdict verdict;
    std::string started;   // UTC, ISO 8601
    long long startedSeconds = 0;   // the same, seconds since 1970
    std::vector<std::string> problem;   // the ICMP lines, when no socket was allowed
};

std::string reportText(const ReportData& data);
std::string reportJson(const ReportData& data);
std::string reportCsv(const ReportData& data);

// Runs the cycles and the trace and prints; 0, or 1 when no ICMP socket
// may be opened (the report then says so and shows the addresses only).
int runReport(std::vector<ReferenceServer>& servers, MonitorServices& services, const ReportOptions& options,
              std::ostream& out);

} // namespace tessaly::netmon
