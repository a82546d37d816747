#pragma once
// `Linkscope --report [--cycles N] [--json]`: N ping cycles (10 unless told)
// and one trace to row 0 without a window, printed as text or as one JSON
// document for a support request.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "netmon/MonitorServices.h"
#include "netmon/MonitorTables.h"
#include "netmon/ReferenceServer.h"

namespace tessaly::netmon {

struct ReportOptions {
    int cycles = 10;
    bool json = false;
};

// The report's options when the arguments ask for it; nullopt without
// arguments (the window). A bad argument sets `error`.
std::optional<ReportOptions> parseReportArguments(const std::vector<std::string>& arguments, std::string& error);

struct ReportData {
    const std::vector<ReferenceServer>& servers;
    std::vector<ServerRow> serverRows;
    std::vector<RouteRow> route;
    std::string problem;   // the ICMP line, when no socket was allowed
};

std::string reportText(const ReportData& data);
std::string reportJson(const ReportData& data);

// Runs the cycles and the trace and prints; 0, or 1 when no ICMP socket
// may be opened (the report then says so and shows the addresses only).
int runReport(std::vector<ReferenceServer>& servers, MonitorServices& services, const ReportOptions& options,
              std::ostream& out);

} // namespace tessaly::netmon
