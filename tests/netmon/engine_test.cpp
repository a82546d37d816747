#include <gtest/gtest.h>

#include <QDateTime>
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
#include "netmon/EchoStatistics.h"
#include "netmon/RouteVerdict.h"
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
    return EchoResult{ipstatus::kSuccess, 0, ms * 1000};
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
        {"1 lost of 10", oneLost, {"", "Good (90%)", "", "10", "1", "20", "20", "20"}},
        {"6 lost of 10", sixLost, {"", "Very Poor (40%)", "", "10", "6", "20", "20", "20"}},
        // The average is over the answered echoes only: (40 + 60) / 2.
        {"1 lost of 3", {answered(40), lost(), answered(60)}, {"", "Poor (67%)", "", "3", "1", "40", "50", "60"}},
        // The first answered echo sets minimum and maximum, even after a loss.
        {"first echo lost", {lost(), answered(30), answered(50), answered(40)},
         {"", "Poor (75%)", "", "4", "1", "30", "40", "50"}},
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
        return EchoResult{ipstatus::kSuccess, address, 300000};
    });
    MonitorTables tables(servers);
    PingWorker(servers, port, clock, tables, [](const std::string&) {}).run({}, 3);

    const auto requests = port.requests();
    ASSERT_EQ(requests.size(), 6u);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].address, i % 2 == 0 ? servers[0].address : servers[2].address);
        EXPECT_EQ(requests[i].ttl, 128);
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

// Records every call for the route's own columns in order, and keeps the
// list like the window.
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
    void setRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts) override
    {
        tables.setRouteFigures(trace, row, texts);
    }
    void removeRouteRows(std::uint64_t trace, int row) override
    {
        calls.push_back("remove from " + std::to_string(row));
        tables.removeRouteRows(trace, row);
    }
    void setRouteVerdict(std::uint64_t trace, const std::string& text) override { tables.setRouteVerdict(trace, text); }
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
    std::vector<int> ttls() const
    {
        std::vector<int> sent;
        for (const auto& request : port.requests())
            sent.push_back(request.ttl);
        return sent;
    }

    const std::uint32_t destination = ipv4(10, 0, 3, 2);
    const std::uint32_t r1 = ipv4(10, 0, 1, 1);
    const std::uint32_t r2 = ipv4(10, 0, 2, 1);
    JumpingClock clock;
    ScriptedEchoPort port{{}, &clock};
    FixedNames names;
    RouteLog log;
    std::string debug;
    std::optional<TraceWorker> worker_;
};

TEST_F(Trace, OneHopIsMarkedMeasuredThreeTimesLookedUpOnceAndUnmarked)
{
    port.setRule(routeRule({r1}));
    ASSERT_FALSE(worker().runHop({}));
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "append 0 1 > | Tracing data route...",
                             "cell 0.1 10.0.1.1",
                             "cell 0.2 Searching for address...",
                             "cell 0.2 host-10.0.1.1",
                             "cell 0.3 5 ms",
                             "cell 0.3 5 ms",
                             "cell 0.3 5 ms",
                             "cell 0.0 1",
                         }));
    EXPECT_EQ(ttls(), (std::vector<int>(kEchoesPerHop, 1)));
    const RouteRow row = rows().at(0);
    EXPECT_EQ(std::vector<std::string>(row.begin() + kHopSent, row.end() - 1),
              (std::vector<std::string>{"3", "0", "0.0%", "5.0", "5.0", "5.0", "5.0", "0.0"}));
    EXPECT_EQ(clock.now, 1000 + kHopPeriodMs);
}

TEST_F(Trace, StartsOverAtTheDestinationRemovesRowsBeyondItAndLooksEachAddressUpOnce)
{
    names.nameless = {r2};
    port.setRule(routeRule({r1, r2, ipv4(10, 0, 4, 1), ipv4(10, 0, 5, 1)}));   // destination at hop 5
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_EQ(rows().size(), 5u);

    port.setRule(routeRule({r1, r2}));   // now at hop 3
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().runPass({}));
    EXPECT_EQ(worker().nextHop(), 1);
    const std::vector<std::string> expected[] = {
        {"1", "10.0.1.1", "host-10.0.1.1", "5 ms"},
        {"2", "10.0.2.1", "", "10 ms"},   // no name: the address column stays empty
        {"3", "10.0.3.2", "host-10.0.3.2", "15 ms"},
    };
    const auto r = rows();
    ASSERT_EQ(r.size(), 3u);
    for (std::size_t h = 0; h < r.size(); ++h)
        EXPECT_EQ(std::vector<std::string>(r[h].begin(), r[h].begin() + kHopSent), expected[h]) << h;
    EXPECT_EQ(r[0][kHopSent], "9");
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "remove from 3"), 1);
    EXPECT_EQ(names.lookups, 5);   // the five addresses of the first path, once each
    EXPECT_EQ(debug, "");
    EXPECT_EQ(log.tables.routeVerdict(), kRouteCleanText);
}

TEST_F(Trace, ASilentHopTakesOnePeriodAndItsEchoesAreGivenUpAfterOneSecond)
{
    port.setRule([](std::uint32_t, std::uint8_t) { return lost(); });
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().settle({}));
    std::vector<std::int64_t> starts;
    for (const auto& request : port.requests())
        if (starts.empty() || starts.back() != request.sentMs)
            starts.push_back(request.sentMs);
    ASSERT_EQ(starts.size(), 10u);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_EQ(starts[i] - starts[i - 1], kHopPeriodMs) << i;
    EXPECT_EQ(clock.now, starts.back() + kHopGiveUpMs);
    EXPECT_EQ(ttls().size(), 10u * kEchoesPerHop);
    const auto r = rows();
    ASSERT_EQ(r.size(), 5u);
    for (int hop = 1; hop <= 5; ++hop) {
        const RouteRow& row = r[hop - 1u];
        EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + kHopLoss + 1),
                  (std::vector<std::string>{std::to_string(hop), "", "Timed out", "", "6", "6", "100.0%"}));
        EXPECT_EQ(row[kHopAverage], "");   // no round trip measured: none shown
    }
    EXPECT_EQ(log.tables.routeVerdict(), lossFromText(1));
}

TEST_F(Trace, AFailedHopKeepsItsOldCellsAndASilentDestinationEndsThePassWhereItWas)
{
    const std::uint32_t r3 = ipv4(10, 0, 4, 1);
    port.setRule(routeRule({r1, r2, r3}));   // destination at hop 4
    ASSERT_TRUE(worker().runPass({}));
    // The path breaks behind r1: hop 2 now fails, the rest stays silent.
    port.setRule([&](std::uint32_t, std::uint8_t ttl) {
        if (ttl == 1)
            return EchoResult{ipstatus::kTtlExpiredTransit, r1, 7000};
        return lost(ttl == 2 ? ipstatus::kDestHostUnreachable : ipstatus::kReqTimedOut);
    });
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().settle({}));
    EXPECT_EQ(ttls().size(), 8u * kEchoesPerHop);
    const auto r = rows();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(r[1].begin(), r[1].begin() + kHopSent),
              (std::vector<std::string>{"2", "10.0.2.1", "Host unreachable", "10 ms"}));
    EXPECT_EQ(r[3][kHopAddress], "Timed out");
    EXPECT_EQ(r[1][kHopLoss], "50.0%");
    EXPECT_EQ(debug.substr(0, 33), "IP_DEST_HOST_UNREACHABLE (11003)\n");
}

TEST_F(Trace, ADestinationThatAnswersLateLeavesNoPhantomHop)
{
    port.setRule([&](std::uint32_t address, std::uint8_t ttl) {
        if (ttl < 3)
            return routeRule({r1, r2})(address, ttl);
        return EchoResult{ipstatus::kSuccess, address, 600000};   // after its hop's period
    });
    ASSERT_TRUE(worker().runPass({}));
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(rows()[2][kHopIp], "10.0.3.2");
    port.setRule([&](std::uint32_t address, std::uint8_t ttl) {
        return ttl < 3 ? routeRule({r1, r2})(address, ttl) : lost();
    });
    const std::size_t before = ttls().size();
    ASSERT_TRUE(worker().runPass({}));
    ASSERT_TRUE(worker().settle({}));
    const std::vector<int> sent = ttls();
    EXPECT_EQ(std::vector<int>(sent.begin() + static_cast<long>(before), sent.end()),
              (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3}));
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(rows()[2][kHopAddress], "Timed out");
    EXPECT_EQ(rows()[2][kHopAverage], "600.0");
}

TEST_F(Trace, AStoppedTraceWritesNothingMore)
{
    std::stop_source stop;
    port.onEcho = [&] { stop.request_stop(); };
    port.setRule(routeRule({r1}));
    EXPECT_FALSE(worker().runPass(stop.get_token()));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"append 0 1 > | Tracing data route..."}));
}

// Series of echoes and their figures: averages and deviations over the
// answered ones only.
TEST(EchoStatistics, FiguresOfASeries)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> roundTripsUs;   // -1: lost
        int sent, lost;
        double loss, last, average, best, worst, stdev;
    };
    const Case cases[] = {
        {"nothing yet", {}, 0, 0, 0, 0, 0, 0, 0, 0},
        {"three answered", {10000, 20000, 30000}, 3, 0, 0, 30, 20, 10, 30, 10},
        {"lost echoes do not pull the average down", {20000, -1, -1, 20600}, 4, 2, 50, 20.6, 20.3, 20, 20.6, 0.424},
        {"one answered", {-1, 80}, 2, 1, 50, 0.08, 0.08, 0.08, 0.08, 0},
        {"every echo lost", {-1, -1, -1}, 3, 3, 100, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EchoStatistics echoes;
        for (const std::int64_t us : c.roundTripsUs) {
            if (us < 0)
                echoes.recordLost();
            else
                echoes.recordAnswered(static_cast<std::uint32_t>(us));
        }
        EXPECT_EQ(echoes.sent(), c.sent) << c.what;
        EXPECT_EQ(echoes.lost(), c.lost) << c.what;
        EXPECT_DOUBLE_EQ(echoes.lossPercent(), c.loss) << c.what;
        EXPECT_DOUBLE_EQ(echoes.lastMs(), c.last) << c.what;
        EXPECT_NEAR(echoes.averageMs(), c.average, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(echoes.bestMs(), c.best) << c.what;
        EXPECT_DOUBLE_EQ(echoes.worstMs(), c.worst) << c.what;
        EXPECT_NEAR(echoes.stdevMs(), c.stdev, 1e-3) << c.what;
    }
}

TEST(MonitorTexts, RoundsTimesNeverCutsThem)
{
    struct Case {
        std::uint32_t roundTripUs;
        const char* whole;
        const char* tenths;
    };
    const Case cases[] = {
        {80, "0 ms", "0.1"}, {40, "0 ms", "0.0"}, {1499, "1 ms", "1.5"}, {1500, "2 ms", "1.5"}, {20960, "21 ms", "21.0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(milliseconds(c.roundTripUs), c.whole) << c.roundTripUs;
        EXPECT_EQ(tenths(c.roundTripUs / 1000.0), c.tenths) << c.roundTripUs;
    }
}

// Recorded figures of routes (sent, lost, average ms; the last answered by
// the destination unless marked) and what they say.
TEST(RouteVerdict, NamesTheHopWhereTheTroubleStarts)
{
    struct Case {
        const char* what;
        std::vector<HopFigures> hops;
        std::vector<std::string> verdicts;
        std::string route;
    };
    const std::string limits = kLimitsRepliesText;
    const Case cases[] = {
        {"clean", {{30, 0, 0.1}, {30, 0, 0.2}, {30, 0, 0.3, true}}, {"", "", ""}, kRouteCleanText},
        {"a middle router answers half",
         {{30, 15, 0.1}, {30, 0, 0.2}, {30, 0, 0.3, true}},
         {limits, "", ""},
         "hop 1: " + limits},
        {"loss on the last link", {{30, 0, 0.1}, {30, 0, 0.2}, {30, 9, 0.3, true}}, {"", "", lossFromText(3)},
         lossFromText(3)},
        {"loss carried on from hop 2", {{30, 0, 0.1}, {30, 9, 0.2}, {30, 12, 0.3, true}},
         {"", lossFromText(2), ""}, lossFromText(2)},
        {"a limiting router before loss on the last link",
         {{30, 24, 0.1}, {30, 0, 0.2}, {30, 6, 0.3, true}},
         {limits, "", lossFromText(3)},
         "hop 1: " + limits + " | " + lossFromText(3)},
        {"delay on the second link", {{30, 0, 0.1}, {30, 0, 40.2}, {30, 0, 40.5, true}},
         {"", delayAddedText(2), ""}, delayAddedText(2)},
        {"a router slow to answer for itself", {{30, 0, 0.1}, {30, 0, 60}, {30, 0, 0.5, true}}, {"", "", ""},
         kRouteCleanText},
        {"delay from the first hop", {{30, 0, 25}, {30, 0, 26, true}}, {delayAddedText(1), ""}, delayAddedText(1)},
        {"loss and delay at the same hop", {{30, 0, 1}, {30, 6, 45, true}},
         {"", lossFromText(2) + "; " + delayAddedText(2)}, lossFromText(2) + " | " + delayAddedText(2)},
        {"never reached: silent from hop 3", {{30, 0, 1}, {30, 0, 2}, {30, 30, 0}, {30, 30, 0}},
         {"", "", lossFromText(3), ""}, lossFromText(3)},
        {"nothing measured yet", {{0, 0, 0}}, {""}, ""},
    };
    for (const Case& c : cases) {
        const RouteVerdict verdict = judgeRoute(c.hops);
        EXPECT_EQ(verdict.hops, c.verdicts) << c.what;
        EXPECT_EQ(verdict.route, c.route) << c.what;
    }
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
        ReportFormat format;
        bool error;
    };
    using enum ReportFormat;
    const Case cases[] = {
        {{}, false, 10, Text, false},
        {{"--report"}, true, 10, Text, false},
        {{"--report", "--cycles", "3", "--json"}, true, 3, Json, false},
        {{"--csv", "--report"}, true, 10, Csv, false},
        {{"--report", "--json", "--csv"}, false, 10, Text, true},
        {{"--cycles", "3"}, false, 10, Text, true},
        {{"--report", "--cycles", "0"}, false, 10, Text, true},
        {{"--report", "--cycles", "x"}, false, 10, Text, true},
        {{"--report", "--cycles"}, false, 10, Text, true},
        {{"--verbose"}, false, 10, Text, true},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = parseReportArguments(c.args, error);
        EXPECT_EQ(options.has_value(), c.report) << ::testing::PrintToString(c.args);
        EXPECT_EQ(!error.empty(), c.error) << ::testing::PrintToString(c.args);
        if (options) {
            EXPECT_EQ(options->cycles, c.cycles);
            EXPECT_EQ(options->format, c.format);
        }
    }
}

class Report : public ::testing::Test {
protected:
    // Row 0 two hops away, behind a router that answers every other echo.
    std::string run(ReportFormat format)
    {
        auto servers = referenceServers({"room", "b", "c", "d", "e", "f", "gone"});
        for (const char* host : {"room", "b", "c", "d", "e", "f"})
            names.addresses[host] = ipv4(10, 0, 3, 2);
        resolveAll(servers, names);
        MonitorServices services{[&](int&) -> std::unique_ptr<EchoPort> {
                                     auto router = std::make_shared<int>(0);
                                     return std::make_unique<ScriptedEchoPort>(
                                         [router](std::uint32_t address, std::uint8_t ttl) {
                                             if (ttl != 1)
                                                 return EchoResult{ipstatus::kSuccess, address, 10000};
                                             if (++*router % 2 == 0)
                                                 return lost();
                                             return EchoResult{ipstatus::kTtlExpiredTransit, ipv4(10, 0, 1, 1), 1000};
                                         },
                                         &clock);
                                 },
                                 clock, names, [](const std::string&) {}};
        std::ostringstream out;
        EXPECT_EQ(runReport(servers, services, ReportOptions{2, format}, out), 0);
        return out.str();
    }
    FixedNames names;
    JumpingClock clock;
};

TEST_F(Report, JsonHoldsNumbersTheVerdictsAndATimestamp)
{
    const std::string out = run(ReportFormat::Json);
    QJsonParseError error{};
    const QJsonObject report = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out;
    EXPECT_TRUE(QDateTime::fromString(report["timestamp"].toString(), Qt::ISODate).isValid()) << out;
    const QJsonArray rows = report["servers"].toArray();
    ASSERT_EQ(rows.size(), 7);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first["name"].toString(), "Tessaly Gaming Servers");
    EXPECT_EQ(first["sent"].toInt(), 2);
    EXPECT_EQ(first["avg"].toDouble(), 10.0);
    EXPECT_EQ(first["connection"].toString(), "Excellent (100%)");
    EXPECT_FALSE(rows[6].toObject().contains("sent"));
    const QJsonObject route = report["route"].toObject();
    const QJsonArray hops = route["hops"].toArray();
    ASSERT_EQ(hops.size(), 2) << out;
    const QJsonObject router = hops[0].toObject();
    const QJsonObject destination = hops[1].toObject();
    EXPECT_EQ(router["ip"].toString(), "10.0.1.1");
    EXPECT_GT(router["lost"].toInt(), 0);
    EXPECT_EQ(router["verdict"].toString(), kLimitsRepliesText);
    EXPECT_EQ(destination["hop"].toInt(), 2);
    EXPECT_TRUE(destination["destination"].toBool());
    EXPECT_EQ(destination["lost"].toInt(), 0);
    EXPECT_EQ(destination["avg"].toDouble(), 10.0);
    EXPECT_EQ(route["verdict"].toString(), QString("hop 1: ") + kLimitsRepliesText);
}

TEST_F(Report, CsvHasOneRowPerHopUnderItsHeader)
{
    std::istringstream csv(run(ReportFormat::Csv));
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(csv, line);) {
        std::vector<std::string> fields(1);
        for (const char c : line) {
            if (c == ',')
                fields.emplace_back();
            else
                fields.back() += c;
        }
        lines.push_back(fields);
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].front(), "Start_Time");
    for (std::size_t l = 1; l < lines.size(); ++l) {
        EXPECT_EQ(lines[l].size(), lines[0].size()) << l;
        EXPECT_EQ(lines[l][3], std::to_string(l));
    }
    EXPECT_EQ(lines[2][4], "10.0.3.2");
    EXPECT_EQ(lines[2][6], "0.0");       // Loss%
    EXPECT_EQ(lines[2][10], "10.000");   // Avg
}

TEST_F(Report, TextHoldsTheHopFiguresAndTheVerdict)
{
    const std::string out = run(ReportFormat::Text);
    EXPECT_NE(out.find("Loss%"), std::string::npos) << out;
    EXPECT_NE(out.find(std::string("Verdict: hop 1: ") + kLimitsRepliesText), std::string::npos) << out;
}

TEST(ReportProblem, SaysSoWhenNoIcmpSocketIsAllowedAndHowToAllowIt)
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
                             clock, names, [](const std::string&) {}, "/opt/tessaly/Linkscope"};
    std::ostringstream out;
    EXPECT_EQ(runReport(servers, services, ReportOptions{}, out), 1);
    EXPECT_NE(out.str().find(kIcmpRefusedText), std::string::npos);
    EXPECT_NE(out.str().find("setcap cap_net_raw+ep /opt/tessaly/Linkscope\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("127.0.0.1"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Excellent"), std::string::npos) << out.str();
}

} // namespace
} // namespace tessaly::netmon
