#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <chrono>
#include <latch>
#include <sstream>
#include <thread>

#include "netmon/MonitorTables.h"
#include "netmon/MonitorTexts.h"
#include "netmon/NameService.h"
#include "netmon/PingWorker.h"
#include "netmon/Report.h"
#include "netmon/TraceWorker.h"
#include "tests/support/ScriptedMonitor.h"

namespace tessaly::netmon {
namespace {

using testing::FixedNames;
using testing::ipv4;
using testing::JumpingClock;
using testing::routeRule;
using testing::ScriptedEchoPort;

constexpr EchoResult answered(std::uint32_t ms)
{
    return EchoResult{ipstatus::kSuccess, 0, ms};
}
constexpr EchoResult lost(int status = ipstatus::kReqTimedOut)
{
    return EchoResult{status, 0, 0};
}

TEST(MonitorTexts, RatesTheShareOfAnsweredEchoes)
{
    struct Case {
        int sent, lost;
        const char* rating;
    };
    const Case cases[] = {
        {10, 0, "Excellent (100%)"}, {10, 1, "Good (90%)"},   {100, 1, "Good (99%)"},
        {10, 5, "Poor (50%)"},       {3, 1, "Poor (67%)"},     {10, 6, "Very Poor (40%)"},
        {7, 7, "Very Poor (0%)"},    {20, 11, "Very Poor (45%)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ratingText(connectionQuality(c.sent, c.lost)), c.rating) << c.sent << "/" << c.lost;
}

TEST(MonitorTexts, NamesStatusCodesAndFailures)
{
    struct Case {
        int status;
        const char* debugLine;
        const char* failure;
    };
    const Case cases[] = {
        {11000, "IP_STATUS_BASE (11000)\n", "Network error"},
        {11002, "IP_DEST_NET_UNREACHABLE (11002)\n", "Net unreachable"},
        {11003, "IP_DEST_HOST_UNREACHABLE (11003)\n", "Host unreachable"},
        {11010, "IP_REQ_TIMED_OUT (11010)\n", "Timed out"},
        {11013, "IP_TTL_EXPIRED_TRANSIT (11013)\n", "Network error"},
        {11022, "IP_UNLOAD (11022)\n", "Network error"},
        {11050, "Error 11050\n", "Network error"},
        {10999, "Error 10999\n", "Network error"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(echoFailureLine(c.status), c.debugLine);
        EXPECT_EQ(failureText(c.status), c.failure) << c.status;
    }
}

TEST(MonitorTexts, AddressesAndWebHosts)
{
    EXPECT_EQ(dottedAddress(ipv4(192, 168, 0, 255)), "192.168.0.255");
    EXPECT_EQ(hostOfUrl("http://127.0.0.1:8580"), "127.0.0.1");
    EXPECT_EQ(hostOfUrl("https://user:pw@www.example.com/index.php?x=1"), "www.example.com");
    EXPECT_EQ(hostOfUrl("example.org"), "example.org");
    EXPECT_EQ(hostOfUrl("http://[::1]:80/"), "::1");
}

TEST(MonitorHosts, BuildDefaultsAndOverrides)
{
    const auto hostsWith = [](std::map<std::string, std::string> env) {
        return monitorHosts([env](const char* name) -> const char* {
            static thread_local std::string value;
            const auto found = env.find(name);
            if (found == env.end())
                return nullptr;
            value = found->second;
            return value.c_str();
        });
    };
    const auto defaults = hostsWith({});
    EXPECT_EQ(defaults[0], "127.0.0.1");   // the client's web site
    for (const std::string& host : defaults)
        EXPECT_FALSE(host.empty());
    EXPECT_EQ(hostsWith({{"TESSALY_WEB_URL", "http://web.example:81/"}})[0], "web.example");

    const auto overridden = hostsWith({{"TESSALY_MONITOR_HOSTS", "a, ,c,,,,g,ignored"}});
    EXPECT_EQ(overridden[0], "a");
    EXPECT_EQ(overridden[1], defaults[1]);   // an empty entry keeps the default
    EXPECT_EQ(overridden[2], "c");
    EXPECT_EQ(overridden[5], defaults[5]);
    EXPECT_EQ(overridden[6], "g");

    const auto servers = referenceServers(overridden);
    ASSERT_EQ(servers.size(), 7u);
    EXPECT_EQ(servers[0].displayName, "Tessaly Gaming Servers");
    EXPECT_EQ(servers[6].displayName, "Alcoa");
    EXPECT_FALSE(servers[3].resolved);
}

// One server pinged through a sequence of outcomes; its row as shown after.
TEST(PingWorker, StatisticsAndRatings)
{
    struct Case {
        const char* what;
        std::vector<EchoResult> echoes;
        ServerRow row;   // columns 1 and 3 to 7
    };
    const std::vector<EchoResult> tenAnswered(10, answered(20));
    auto oneLost = tenAnswered;
    oneLost[4] = lost();
    std::vector<EchoResult> sixLost(6, lost());
    sixLost.insert(sixLost.end(), 4, answered(20));
    const Case cases[] = {
        {"all answered", tenAnswered, {"", "Excellent (100%)", "", "10", "0", "20", "20", "20"}},
        {"1 lost of 10", oneLost, {"", "Good (90%)", "", "10", "1", "20", "18", "20"}},
        {"6 lost of 10", sixLost, {"", "Very Poor (40%)", "", "10", "6", "20", "8", "20"}},
        // Lost echoes count in the average's divisor: 100 / 3.
        {"1 lost of 3", {answered(40), lost(), answered(60)}, {"", "Poor (67%)", "", "3", "1", "40", "33", "60"}},
        // The first answered echo sets minimum and maximum, even after a loss.
        {"first echo lost", {lost(), answered(30), answered(50), answered(40)},
         {"", "Poor (75%)", "", "4", "1", "30", "30", "50"}},
        {"every echo lost", {lost(), lost()}, {"", "Very Poor (0%)", "", "2", "2", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        std::vector<ReferenceServer> servers(1);
        servers[0].resolved = true;
        servers[0].address = ipv4(10, 0, 0, 1);
        std::size_t next = 0;
        ScriptedEchoPort port([&](std::uint32_t, std::uint8_t) { return c.echoes[next++]; });
        JumpingClock clock;
        MonitorTables tables(servers);
        PingWorker worker(servers, port, clock, tables, [](const std::string&) {});
        worker.run({}, static_cast<int>(c.echoes.size()));
        const ServerRow row = tables.servers()[0];
        for (int column : {1, 3, 4, 5, 6, 7})
            EXPECT_EQ(row[column], c.row[column]) << c.what << ", column " << column;
    }
}

TEST(PingWorker, EchoesEveryResolvedServerOncePerCycleAndSleepsToTheDeadline)
{
    std::vector<ReferenceServer> servers(3);
    servers[0].resolved = servers[2].resolved = true;
    servers[0].address = ipv4(10, 0, 0, 1);
    servers[2].address = ipv4(10, 0, 0, 3);
    JumpingClock clock;
    ScriptedEchoPort port([&](std::uint32_t address, std::uint8_t) {
        clock.now += 300;   // each echo takes 300 ms
        return EchoResult{ipstatus::kSuccess, address, 300};
    });
    MonitorTables tables(servers);
    PingWorker(servers, port, clock, tables, [](const std::string&) {}).run({}, 3);

    const auto requests = port.requests();
    ASSERT_EQ(requests.size(), 6u);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].address, i % 2 == 0 ? servers[0].address : servers[2].address);
        EXPECT_EQ(requests[i].ttl, 128);
        EXPECT_EQ(requests[i].timeoutMs, 2000u);
        ASSERT_EQ(requests[i].data.size(), 32u);
        EXPECT_EQ(requests[i].data.front(), ' ');
        EXPECT_EQ(requests[i].data.back(), '?');
    }
    // One sleep per cycle to two seconds after its start; the last cycle of
    // a counted run does not wait. The clock is read once per cycle, never
    // polled.
    EXPECT_EQ(clock.deadlines, (std::vector<std::int64_t>{3000, 5000}));
    EXPECT_EQ(clock.reads, 3);
    EXPECT_EQ(tables.servers()[1][kSent], "");   // unresolved: never pinged
    EXPECT_EQ(tables.servers()[1][kServerIp], kNotFoundText);
}

TEST(PingWorker, WritesTheDebugLineOfEachFailedEcho)
{
    std::vector<ReferenceServer> servers(1);
    servers[0].resolved = true;
    const std::vector<EchoResult> echoes = {lost(ipstatus::kTtlExpiredTransit), answered(1),
                                            lost(ipstatus::kGeneralFailure)};
    std::size_t next = 0;
    ScriptedEchoPort port([&](std::uint32_t, std::uint8_t) { return echoes[next++]; });
    JumpingClock clock;
    MonitorTables tables(servers);
    std::string debug;
    PingWorker(servers, port, clock, tables, [&](const std::string& line) { debug += line; }).run({}, 3);
    EXPECT_EQ(debug, "IP_TTL_EXPIRED_TRANSIT (11013)\nError 11050\n");
}

// Records every route call in order, and keeps the list like the window.
class RouteLog final : public MonitorSink {
public:
    RouteLog() : tables(std::vector<ReferenceServer>{}) { tables.startTrace(1); }
    void setServerCell(int, int, const std::string&) override {}
    void appendRouteRow(std::uint64_t trace, int row, const std::string& hops, const std::string& address) override
    {
        calls.push_back("append " + std::to_string(row) + " " + hops + " | " + address);
        tables.appendRouteRow(trace, row, hops, address);
    }
    void setRouteCell(std::uint64_t trace, int row, int column, const std::string& text) override
    {
        calls.push_back("cell " + std::to_string(row) + "." + std::to_string(column) + " " + text);
        tables.setRouteCell(trace, row, column, text);
    }
    MonitorTables tables;
    std::vector<std::string> calls;
};

class Trace : public ::testing::Test {
protected:
    TraceWorker& worker()
    {
        if (!worker_)
            worker_.emplace(1, destination, port, clock, names, log, [&](const std::string& l) { debug += l; });
        return *worker_;
    }
    std::vector<RouteRow> rows() const { return log.tables.route(); }

    const std::uint32_t destination = ipv4(10, 0, 3, 2);
    const std::uint32_t r1 = ipv4(10, 0, 1, 1);
    const std::uint32_t r2 = ipv4(10, 0, 2, 1);
    ScriptedEchoPort port;
    JumpingClock clock;
    FixedNames names;
    RouteLog log;
    std::string debug;
    std::optional<TraceWorker> worker_;
};

TEST_F(Trace, OneHopIsMarkedMeasuredLookedUpAndUnmarked)
{
    port.setRule(routeRule({r1}));
    ASSERT_FALSE(worker().runHop({}));
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "append 0 1 > | Tracing data route...",
                             "cell 0.1 10.0.1.1",
                             "cell 0.2 Searching for address...",
                             "cell 0.2 host-10.0.1.1",
                             "cell 0.3 5 ms",
                             "cell 0.0 1",
                         }));
    EXPECT_EQ(clock.deadlines, (std::vector<std::int64_t>{1500}));
    EXPECT_EQ(port.requests().at(0).ttl, 1);
    EXPECT_EQ(port.requests().at(0).timeoutMs, 2000u);
}

TEST_F(Trace, StartsOverAtTheDestinationAndKeepsLongerRowsOfAnEarlierPath)
{
    names.nameless = {r2};
    port.setRule(routeRule({r1, r2, ipv4(10, 0, 4, 1), ipv4(10, 0, 5, 1)}));   // destination at hop 5
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_EQ(rows().size(), 5u);

    port.setRule(routeRule({r1, r2}));   // now at hop 3
    ASSERT_TRUE(worker().runPass({}));
    EXPECT_EQ(port.requests().size(), 8u);
    EXPECT_EQ(worker().nextHop(), 1);
    const std::vector<RouteRow> expected = {
        {"1", "10.0.1.1", "host-10.0.1.1", "5 ms"},
        {"2", "10.0.2.1", "", "10 ms"},   // no name: the address column stays empty
        {"3", "10.0.3.2", "host-10.0.3.2", "15 ms"},
        {"4", "10.0.5.1", "host-10.0.5.1", "20 ms"},   // from the earlier, longer path
        {"5", "10.0.3.2", "host-10.0.3.2", "25 ms"},
    };
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(debug, "");
}

TEST_F(Trace, ASilentDestinationFillsFiveHopsAndRepeats)
{
    port.setRule([](std::uint32_t, std::uint8_t) { return lost(); });
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().runPass({}));
    const auto r = rows();
    ASSERT_EQ(r.size(), 5u);
    for (int hop = 1; hop <= 5; ++hop)
        EXPECT_EQ(r[hop - 1u], (RouteRow{std::to_string(hop), "", "Timed out", ""}));
    std::vector<int> ttls;
    for (const auto& request : port.requests())
        ttls.push_back(request.ttl);
    EXPECT_EQ(ttls, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
    EXPECT_EQ(clock.deadlines.size(), 10u);   // one sleep per hop
}

TEST_F(Trace, StartsOverFiveSilentHopsBeyondTheLastAnswerAndKeepsOldCellsOfFailedHops)
{
    port.setRule(routeRule({r1, r2}));
    ASSERT_TRUE(worker().runPass({}));
    // The path breaks behind r1: hop 2 now fails, hops 3 to 6 stay silent.
    port.setRule([&](std::uint32_t, std::uint8_t ttl) {
        if (ttl == 1)
            return EchoResult{ipstatus::kTtlExpiredTransit, r1, 7};
        return lost(ttl == 2 ? ipstatus::kDestHostUnreachable : ipstatus::kReqTimedOut);
    });
    ASSERT_TRUE(worker().runPass({}));
    EXPECT_EQ(port.requests().size(), 3u + 6u);
    const auto r = rows();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[1], (RouteRow{"2", "10.0.2.1", "Host unreachable", "10 ms"}));
    EXPECT_EQ(r[5], (RouteRow{"6", "", "Timed out", ""}));
    EXPECT_EQ(debug.substr(0, 33), "IP_DEST_HOST_UNREACHABLE (11003)\n");
}

TEST_F(Trace, AStoppedTraceWritesNothingMore)
{
    std::stop_source stop;
    port.onEcho = [&] { stop.request_stop(); };
    port.setRule(routeRule({r1}));
    EXPECT_FALSE(worker().runPass(stop.get_token()));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"append 0 1 > | Tracing data route..."}));
}

TEST(MonitorTables, DropsTheWritesOfOtherTraces)
{
    MonitorTables tables(std::vector<ReferenceServer>(1));
    tables.startTrace(1);
    tables.appendRouteRow(1, 0, "1 >", kTracingText);
    tables.startTrace(2);
    tables.appendRouteRow(1, 1, "2 >", kTracingText);
    tables.setRouteCell(1, 0, kHops, "1");
    EXPECT_TRUE(tables.route().empty());
    tables.appendRouteRow(2, 1, "2 >", kTracingText);   // not the next row
    tables.appendRouteRow(2, 0, "1 >", kTracingText);
    EXPECT_EQ(tables.route().size(), 1u);
}

TEST(WorkerClock, AStopEndsTheSleepAtOnce)
{
    SteadyWorkerClock clock;
    EXPECT_TRUE(clock.sleepUntil(clock.nowMs() + 20, {}));
    std::stop_source stop;
    std::atomic<bool> result{true};
    std::jthread sleeper([&] { result = clock.sleepUntil(clock.nowMs() + 600000, stop.get_token()); });
    stop.request_stop();
    sleeper.join();   // would take ten minutes if the stop went unheard
    EXPECT_FALSE(result);
}

// Each lookup waits until all seven have started: one after the other they
// would never all start, and each would give up.
TEST(ResolveAll, LooksEveryHostUpAtTheSameTime)
{
    class Gathering final : public NameService {
    public:
        std::optional<std::uint32_t> resolve(const std::string& host) override
        {
            arrived.count_down();
            if (!arrived.try_wait()) {
                const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                while (!arrived.try_wait() && std::chrono::steady_clock::now() < limit)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                if (!arrived.try_wait())
                    return std::nullopt;
            }
            if (host == "missing")
                return std::nullopt;
            return ipv4(10, 0, 0, static_cast<int>(host.size()));
        }
        std::string reverse(std::uint32_t) override { return {}; }
        std::latch arrived{7};
    } names;
    auto servers = referenceServers({"a", "bb", "missing", "dddd", "eeeee", "ffffff", "ggggggg"});
    resolveAll(servers, names);
    for (std::size_t row = 0; row < servers.size(); ++row) {
        EXPECT_EQ(servers[row].resolved, row != 2) << row;
        if (row != 2) {
            EXPECT_EQ(servers[row].address, ipv4(10, 0, 0, static_cast<int>(row + 1))) << row;
        }
    }
}

TEST(ReportArguments, ParsesTheReportModeOnly)
{
    struct Case {
        std::vector<std::string> args;
        bool report;
        int cycles;
        bool json;
        bool error;
    };
    const Case cases[] = {
        {{}, false, 10, false, false},
        {{"--report"}, true, 10, false, false},
        {{"--report", "--cycles", "3", "--json"}, true, 3, true, false},
        {{"--json", "--report"}, true, 10, true, false},
        {{"--cycles", "3"}, false, 10, false, true},
        {{"--report", "--cycles", "0"}, false, 10, false, true},
        {{"--report", "--cycles", "x"}, false, 10, false, true},
        {{"--report", "--cycles"}, false, 10, false, true},
        {{"--verbose"}, false, 10, false, true},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = parseReportArguments(c.args, error);
        EXPECT_EQ(options.has_value(), c.report) << ::testing::PrintToString(c.args);
        EXPECT_EQ(!error.empty(), c.error) << ::testing::PrintToString(c.args);
        if (options) {
            EXPECT_EQ(options->cycles, c.cycles);
            EXPECT_EQ(options->json, c.json);
        }
    }
}

TEST(Report, JsonHoldsTheServersAndTheRoute)
{
    auto servers = referenceServers({"room", "b", "c", "d", "e", "f", "gone"});
    FixedNames names;
    for (const char* host : {"room", "b", "c", "d", "e", "f"})
        names.addresses[host] = ipv4(10, 0, 3, 2);
    resolveAll(servers, names);
    JumpingClock clock;
    MonitorServices services{[&](int&) -> std::unique_ptr<EchoPort> {
                                 return std::make_unique<ScriptedEchoPort>(routeRule({ipv4(10, 0, 1, 1)}));
                             },
                             clock, names, [](const std::string&) {}};
    std::ostringstream out;
    ASSERT_EQ(runReport(servers, services, ReportOptions{2, true}, out), 0);
    const QJsonObject report = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    const QJsonArray rows = report["servers"].toArray();
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0].toObject()["name"].toString(), "Tessaly Gaming Servers");
    EXPECT_EQ(rows[0].toObject()["sent"].toInt(), 2);
    EXPECT_EQ(rows[0].toObject()["connection"].toString(), "Excellent (100%)");
    EXPECT_EQ(rows[6].toObject()["resolved"].toBool(), false);
    EXPECT_FALSE(rows[6].toObject().contains("sent"));
    const QJsonArray hops = report["route"].toObject()["hops"].toArray();
    ASSERT_EQ(hops.size(), 2);
    EXPECT_EQ(hops[0].toObject()["ip"].toString(), "10.0.1.1");
    EXPECT_EQ(hops[1].toObject()["ip"].toString(), "10.0.3.2");
    EXPECT_EQ(hops[1].toObject()["hop"].toString(), "2");
}

TEST(Report, SaysSoWhenNoIcmpSocketIsAllowed)
{
    auto servers = referenceServers({"room", "", "", "", "", "", ""});
    FixedNames names;
    names.addresses["room"] = ipv4(127, 0, 0, 1);
    resolveAll(servers, names);
    JumpingClock clock;
    MonitorServices services{[](int& error) -> std::unique_ptr<EchoPort> {
                                 error = EPERM;
                                 return nullptr;
                             },
                             clock, names, [](const std::string&) {}};
    std::ostringstream out;
    EXPECT_EQ(runReport(servers, services, ReportOptions{}, out), 1);
    EXPECT_NE(out.str().find(kIcmpRefusedText), std::string::npos);
    EXPECT_NE(out.str().find("127.0.0.1"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Excellent"), std::string::npos) << out.str();
}

} // namespace
} // namespace tessaly::netmon
