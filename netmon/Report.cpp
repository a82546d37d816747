#include "netmon/Report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <ostream>
#include <thread>

#include "netmon/MonitorTexts.h"
#include "netmon/PingWorker.h"
#include "netmon/TraceWorker.h"
#include "platform/sys/QtText.h"

namespace tessaly::netmon {
namespace {

constexpr std::uint64_t kReportTrace = 1;

constexpr const char* kServerHeadings[kServerColumns] = {"Server", "Connection", "IP", "N", "Lost", "Min", "Avg", "Max"};
constexpr const char* kRouteHeadings[kRouteColumns] = {"Hops", "IP", "Address", "Ping"};

template <std::size_t N>
void printTable(std::string& out, const char* const (&headings)[N], const std::vector<std::array<std::string, N>>& rows)
{
    std::array<std::size_t, N> widths{};
    for (std::size_t c = 0; c < N; ++c) {
        widths[c] = std::string(headings[c]).size();
        for (const auto& row : rows)
            widths[c] = std::max(widths[c], row[c].size());
    }
    const auto line = [&](const auto& cells) {
        std::string text;
        for (std::size_t c = 0; c < N; ++c) {
            std::string cell = cells[c];
            if (c + 1 < N)
                cell.resize(widths[c] + 2, ' ');
            text += cell;
        }
        out += text.substr(0, text.find_last_not_of(' ') + 1) + "\n";
    };
    line(headings);
    for (const auto& row : rows)
        line(row);
}

bool parseCount(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && value >= 1;
}

QString q(const std::string& text)
{
    return toQString(text);
}

} // namespace

std::optional<ReportOptions> parseReportArguments(const std::vector<std::string>& arguments, std::string& error)
{
    error.clear();
    if (arguments.empty())
        return std::nullopt;
    ReportOptions options;
    bool report = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--report") {
            report = true;
        } else if (a == "--json") {
            options.json = true;
        } else if (a == "--cycles" && i + 1 < arguments.size() && parseCount(arguments[i + 1], options.cycles)) {
            ++i;
        } else {
            error = "unknown or incomplete argument: " + a;
            return std::nullopt;
        }
    }
    if (!report) {
        error = "--cycles and --json go with --report";
        return std::nullopt;
    }
    return options;
}

std::string reportText(const ReportData& data)
{
    std::string out = "Tessaly Network Monitor\n\n";
    if (!data.problem.empty())
        out += data.problem + "\n\n";
    printTable(out, kServerHeadings, data.serverRows);
    out += "\nNetwork data routing for " + (data.servers.empty() ? std::string() : data.servers[0].shownName()) +
           ":\n";
    printTable(out, kRouteHeadings, data.route);
    return out;
}

std::string reportJson(const ReportData& data)
{
    QJsonArray servers;
    for (std::size_t row = 0; row < data.servers.size(); ++row) {
        const ReferenceServer& s = data.servers[row];
        QJsonObject server{{"name", q(s.shownName())}, {"host", q(s.hostName)}, {"resolved", s.resolved}};
        if (s.resolved)
            server.insert("ip", q(dottedAddress(s.address)));
        if (s.sent > 0) {
            server.insert("connection", q(data.serverRows[row][kConnection]));
            server.insert("quality", s.quality());
            server.insert("sent", s.sent);
            server.insert("lost", s.lost);
            server.insert("min", s.minimum);
            server.insert("avg", s.average());
            server.insert("max", s.maximum);
        }
        servers.append(server);
    }
    QJsonArray hops;
    for (const RouteRow& r : data.route)
        hops.append(QJsonObject{{"hop", q(r[kHops])}, {"ip", q(r[kHopIp])}, {"address", q(r[kHopAddress])},
                                {"ping", q(r[kPing])}});
    QJsonObject document{{"servers", servers},
                         {"route", QJsonObject{{"server", data.servers.empty() ? QString() : q(data.servers[0].shownName())},
                                               {"hops", hops}}}};
    if (!data.problem.empty())
        document.insert("problem", q(data.problem));
    return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

int runReport(std::vector<ReferenceServer>& servers, MonitorServices& services, const ReportOptions& options,
              std::ostream& out)
{
    MonitorTables tables(servers);
    tables.startTrace(kReportTrace);
    int error = 0;
    std::unique_ptr<EchoPort> pingPort = services.openPort(error);
    std::unique_ptr<EchoPort> tracePort = pingPort ? services.openPort(error) : nullptr;
    ReportData data{servers, {}, {}, {}};
    if (pingPort && tracePort) {
        std::jthread trace;
        if (!servers.empty() && servers[0].resolved) {
            trace = std::jthread([&](std::stop_token stop) {
                TraceWorker(kReportTrace, servers[0].address, *tracePort, services.clock, services.names, tables,
                            services.debug)
                    .runPass(stop);
            });
        }
        PingWorker(servers, *pingPort, services.clock, tables, services.debug).run({}, options.cycles);
        if (trace.joinable())
            trace.join();
    } else {
        data.problem = kIcmpRefusedText;
    }
    data.serverRows = tables.servers();
    data.route = tables.route();
    out << (options.json ? reportJson(data) : reportText(data));
    out.flush();
    return data.problem.empty() ? 0 : 1;
}

} // namespace tessaly::netmon
