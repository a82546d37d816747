#include "netmon/Report.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
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
constexpr const char* kRouteHeadings[kRouteColumns] = {"Hops", "IP",  "Address", "Ping", "Snt",   "Lost",   "Loss%",
                                                       "Last", "Avg", "Best",    "Wrst", "StDev", "Verdict"};

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

// Milliseconds to the microsecond, as a JSON number; null before any
// answered echo.
QJsonValue ms(const EchoStatistics& echoes, double value)
{
    return echoes.answered() == 0 ? QJsonValue() : QJsonValue(std::round(value * 1000) / 1000);
}

QJsonValue percent(double value)
{
    return std::round(value * 10) / 10;
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string routeServer(const ReportData& data)
{
    return data.servers.empty() ? std::string() : data.servers[0].shownName();
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
        } else if (a == "--json" || a == "--csv") {
            if (options.format != ReportFormat::Text) {
                error = "--json and --csv exclude each other";
                return std::nullopt;
            }
            options.format = a == "--json" ? ReportFormat::Json : ReportFormat::Csv;
        } else if (a == "--cycles" && i + 1 < arguments.size() && parseCount(arguments[i + 1], options.cycles)) {
            ++i;
        } else {
            error = "unknown or incomplete argument: " + a;
            return std::nullopt;
        }
    }
    if (!report) {
        error = "--cycles, --json and --csv go with --report";
        return std::nullopt;
    }
    return options;
}

std::string reportText(const ReportData& data)
{
    std::string out = "Tessaly Network Monitor\nStarted: " + data.started + "\n\n";
    for (const std::string& line : data.problem)
        out += line + "\n";
    if (!data.problem.empty())
        out += "\n";
    printTable(out, kServerHeadings, data.serverRows);
    out += "\nNetwork data routing for " + routeServer(data) + ":\n";
    printTable(out, kRouteHeadings, data.route);
    if (!data.verdict.route.empty())
        out += "Verdict: " + data.verdict.route + "\n";
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
        const EchoStatistics& e = s.echoes;
        if (e.sent() > 0) {
            server.insert("connection", q(data.serverRows[row][kConnection]));
            server.insert("quality", s.quality());
            server.insert("sent", e.sent());
            server.insert("lost", e.lost());
            server.insert("loss", percent(e.lossPercent()));
            server.insert("last", ms(e, e.lastMs()));
            server.insert("min", ms(e, e.bestMs()));
            server.insert("avg", ms(e, e.averageMs()));
            server.insert("max", ms(e, e.worstMs()));
            server.insert("stdev", ms(e, e.stdevMs()));
        }
        servers.append(server);
    }
    QJsonArray hops;
    for (std::size_t h = 0; h < data.hops.size(); ++h) {
        const HopRecord& hop = data.hops[h];
        const EchoStatistics& e = hop.echoes;
        hops.append(QJsonObject{
            {"hop", static_cast<int>(h + 1)},
            {"ip", hop.address == 0 ? QString() : q(dottedAddress(hop.address))},
            {"name", q(hop.name)},
            {"address", h < data.route.size() ? q(data.route[h][kHopAddress]) : QString()},
            {"destination", hop.destination},
            {"sent", e.sent()},
            {"lost", e.lost()},
            {"loss", percent(e.lossPercent())},
            {"last", ms(e, e.lastMs())},
            {"avg", ms(e, e.averageMs())},
            {"best", ms(e, e.bestMs())},
            {"worst", ms(e, e.worstMs())},
            {"stdev", ms(e, e.stdevMs())},
            {"verdict", h < data.verdict.hops.size() ? q(data.verdict.hops[h]) : QString()},
        });
    }
    QJsonObject route{{"server", q(routeServer(data))}, {"hops", hops}, {"verdict", q(data.verdict.route)}};
    if (!data.servers.empty() && data.servers[0].resolved)
        route.insert("ip", q(dottedAddress(data.servers[0].address)));
    QJsonObject document{{"timestamp", q(data.started)}, {"servers", servers}, {"route", route}};
    if (!data.problem.empty()) {
        document.insert("problem", q(data.problem.front()));
        document.insert("allow", q(data.problem.back()));
    }
    return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

std::string reportCsv(const ReportData& data)
{
    std::string out = "Start_Time,Status,Host,Hop,Ip,Name,Loss%,Snt,Lost,Last,Avg,Best,Wrst,StDev,Verdict\n";
    const std::string status = data.problem.empty() ? "OK" : csvField(data.problem.front());
    for (std::size_t h = 0; h < data.hops.size(); ++h) {
        const HopRecord& hop = data.hops[h];
        const EchoStatistics& e = hop.echoes;
        const auto time = [&e](double value) { return e.answered() == 0 ? std::string() : fixedDecimals(value, 3); };
        out += std::to_string(data.startedSeconds) + "," + status + "," + csvField(routeServer(data)) + "," +
               std::to_string(h + 1) + "," + (hop.address == 0 ? std::string() : dottedAddress(hop.address)) + "," +
               csvField(hop.name) + "," + fixedDecimals(e.lossPercent(), 1) + "," + std::to_string(e.sent()) + "," +
               std::to_string(e.lost()) + "," + time(e.lastMs()) + "," + time(e.averageMs()) + "," +
               time(e.bestMs()) + "," + time(e.worstMs()) + "," + time(e.stdevMs()) + "," +
               csvField(h < data.verdict.hops.size() ? data.verdict.hops[h] : std::string()) + "\n";
    }
    return out;
}

int runReport(std::vector<ReferenceServer>& servers, MonitorServices& services, const ReportOptions& options,
              std::ostream& out)
{
    const QDateTime started = QDateTime::currentDateTimeUtc();
    MonitorTables tables(servers);
    tables.startTrace(kReportTrace);
    int error = 0;
    std::unique_ptr<EchoPort> pingPort = services.openPort(error);
    std::unique_ptr<EchoPort> tracePort = pingPort ? services.openPort(error) : nullptr;
    ReportData data{servers, {}, {}, {}, {}, started.toString(Qt::ISODate).toStdString(), started.toSecsSinceEpoch(), {}};
    if (pingPort && tracePort) {
        std::optional<TraceWorker> trace;
        std::jthread tracing;
        std::atomic<bool> pinged{false};
        if (!servers.empty() && servers[0].resolved) {
            trace.emplace(kReportTrace, servers[0].address, *tracePort, services.clock, services.names, tables,
                          services.debug);
            // Whole passes for as long as the pings run, at least one.
            tracing = std::jthread([&](std::stop_token stop) {
                while (trace->runPass(stop) && !pinged) {
                }
                trace->settle(stop);
            });
        }
        PingWorker(servers, *pingPort, services.clock, tables, services.debug).run({}, options.cycles);
        pinged = true;
        if (tracing.joinable())
            tracing.join();
        if (trace) {
            data.hops = trace->hops();
            data.verdict = trace->verdict();
        }
    } else {
        data.problem = {kIcmpRefusedText, icmpAllowText(services.program)};
    }
    data.serverRows = tables.servers();
    data.route = tables.route();
    switch (options.format) {
    case ReportFormat::Text: out << reportText(data); break;
    case ReportFormat::Json: out << reportJson(data); break;
    case ReportFormat::Csv: out << reportCsv(data); break;
    }
    out.flush();
    return data.problem.empty() ? 0 : 1;
}

} // namespace tessaly::netmon
