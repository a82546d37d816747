#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <thread>

#include "netmon/MonitorWindow.h"
#include "netmon/TraceWorker.h"
#include "tests/support/ScriptedMonitor.h"
#include "tests/support/WaitUntil.h"

namespace tessaly::netmon {
namespace {

using testing::FixedNames;
using testing::ipv4;
using testing::ManualClock;
using testing::ScriptedEchoPort;

// Every worker's socket asks one scripted port for its outcomes and keeps
// its own answers; the count of open ones tells whether the workers are gone.
class ForwardingPort final : public EchoPort {
public:
    ForwardingPort(ScriptedEchoPort& target, std::atomic<int>& open)
        : own_([&target](std::uint32_t address, std::uint8_t ttl) { return target.outcome(address, ttl, {}); }),
          open_(open)
    {
        ++open_;
    }
    ~ForwardingPort() override { --open_; }
    EchoSent send(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data) override
    {
        return own_.send(address, ttl, data);
    }
    std::optional<EchoAnswer> receive(std::uint32_t timeoutMs, std::stop_token stop) override
    {
        return own_.receive(timeoutMs, stop);
    }

private:
    ScriptedEchoPort own_;
    std::atomic<int>& open_;
};

// Waits without running Qt events, so the workers' writes stay queued.
template <class Condition>
bool waitFor(Condition condition)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// For a look at the window: TESSALY_SCREENSHOT_DIR=/tmp.
void saveScreenshot(QWidget& window, const char* name)
{
    if (const QByteArray dir = qgetenv("TESSALY_SCREENSHOT_DIR"); !dir.isEmpty())
        window.grab().save(QString::fromUtf8(dir) + "/" + name);
}

QStringList headings(const QTreeWidget& list)
{
    QStringList texts;
    for (int c = 0; c < list.columnCount(); ++c)
        texts << list.headerItem()->text(c);
    return texts;
}

QStringList row(const QTreeWidget& list, int index)
{
    QStringList texts;
    if (const QTreeWidgetItem* item = list.topLevelItem(index))
        for (int c = 0; c < list.columnCount(); ++c)
            texts << item->text(c);
    return texts;
}

class MonitorWindow : public ::testing::Test {
protected:
    // Rows whose entry is 0 do not resolve.
    std::unique_ptr<dlgMonitor> open(const std::vector<int>& lastBytes, bool icmpAllowed = true)
    {
        std::vector<ReferenceServer> servers = referenceServers({"a", "b", "c", "d", "e", "f", "g"});
        for (std::size_t r = 0; r < servers.size(); ++r) {
            servers[r].resolved = lastBytes[r] != 0;
            servers[r].address = servers[r].resolved ? ipv4(10, 0, 0, lastBytes[r]) : 0;
        }
        MonitorServices services{[this, icmpAllowed](int& error) -> std::unique_ptr<EchoPort> {
                                     if (!icmpAllowed) {
                                         error = EPERM;
                                         return nullptr;
                                     }
                                     return std::make_unique<ForwardingPort>(port, openPorts);
                                 },
                                 clock, names, [](const std::string&) {}};
        auto window = std::make_unique<dlgMonitor>(std::move(servers), services, ScreenScale{1, 1});
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    ScriptedEchoPort port;
    std::atomic<int> openPorts{0};
    ManualClock clock;
    FixedNames names;
};

TEST_F(MonitorWindow, ListsTheServersWithTheirColumnsAndRatings)
{
    auto window = open({1, 2, 0, 4, 5, 6, 7});
    EXPECT_EQ(window->windowTitle(), "Tessaly Network Monitor");
    QTreeWidget& servers = *window->serverList();
    QTreeWidget& route = *window->routeList();
    EXPECT_EQ(servers.accessibleName(), "Servers");
    EXPECT_EQ(route.accessibleName(), "Route");
    EXPECT_EQ(headings(servers), QStringList({"Server", "Connection", "IP", "N", "Lost", "Min", "Avg", "Max"}));
    EXPECT_EQ(headings(route), QStringList({"Hops", "IP", "Address", "Ping", "Snt", "Lost", "Loss%", "Last", "Avg",
                                            "Best", "Wrst", "StDev", "Verdict"}));
    // Width numbers times the 8-pixel dialog base unit, over 10.
    const std::vector<int> serverWidths = {152, 100, 100, 40, 40, 40, 40, 40};
    const std::vector<int> routeWidths = {60, 120, 220, 120};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(servers.header()->sectionSize(c), serverWidths[static_cast<std::size_t>(c)]) << c;
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(route.header()->sectionSize(c), routeWidths[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(row(servers, 2), QStringList({"Oracle Corporation", "", "Not found", "", "", "", "", ""}));

    ASSERT_TRUE(waitUntil([&] { return servers.topLevelItem(6)->text(kSent) == "1"; }));
    EXPECT_EQ(row(servers, 0), QStringList({"Tessaly Gaming Servers", "Excellent (100%)", "10.0.0.1", "1", "0", "10",
                                            "10", "10"}));
    ASSERT_TRUE(waitUntil([&] { return route.topLevelItemCount() == 1 && route.topLevelItem(0)->text(kPing) != ""; }));
    EXPECT_EQ(row(route, 0).mid(0, kHopSent), QStringList({"1 >", "10.0.0.1", "host-10.0.0.1", "10 ms"}));

    // The next cycle starts two seconds after the first, not before.
    ASSERT_TRUE(clock.waitForSleepers(2));
    EXPECT_EQ(port.requests().size(), 6u + kEchoesPerHop);   // six resolved servers, the first hop
    clock.advance(2000);
    ASSERT_TRUE(waitUntil([&] { return servers.topLevelItem(6)->text(kSent) == "2"; }));
    EXPECT_EQ(servers.topLevelItem(0)->text(kSent), "2");

    // At the end of the hop its figures and the route's verdict show.
    ASSERT_TRUE(waitUntil([&] { return !window->routeVerdict()->text().isEmpty(); }));
    EXPECT_EQ(window->routeVerdict()->text(), QString("Verdict: ") + kRouteCleanText);
    EXPECT_EQ(route.topLevelItem(0)->text(kHopAverage), "10.0");
    EXPECT_EQ(route.topLevelItem(0)->text(kHopLoss), "0.0%");

    // The lists grow with the window; OK keeps to the bottom.
    const QRect list = route.geometry();
    const QRect ok = window->button(1)->geometry();
    window->resize(window->size() + QSize(200, 100));
    EXPECT_TRUE(waitUntil([&] { return route.geometry().size() == list.size() + QSize(200, 100); }));
    EXPECT_EQ(window->button(1)->geometry().topLeft(), ok.topLeft() + QPoint(100, 100));

    saveScreenshot(*window, "linkscope-window.png");
}

TEST_F(MonitorWindow, UnresolvedServersShowNotFoundAndAreNeverPinged)
{
    auto window = open({0, 0, 0, 0, 0, 0, 0});
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(window->serverList()->topLevelItem(r)->text(kServerIp), "Not found") << r;
    ASSERT_TRUE(clock.waitForSleepers(1));   // the ping worker, between empty cycles
    clock.advance(2000);
    ASSERT_TRUE(clock.waitForSleepers(1));
    QTest::qWait(0);
    EXPECT_TRUE(port.requests().empty());
    EXPECT_EQ(window->routeList()->topLevelItemCount(), 0);
    EXPECT_EQ(window->serverList()->topLevelItem(0)->text(kConnection), "");
}

TEST_F(MonitorWindow, AClickEmptiesTheRouteAtOnceAndTracesTheNewServerFromHopOne)
{
    auto window = open({1, 2, 3, 4, 5, 6, 7});
    QTreeWidget& servers = *window->serverList();
    QTreeWidget& route = *window->routeList();
    ASSERT_TRUE(waitUntil([&] { return route.topLevelItemCount() == 1; }));

    // Let the first trace measure its next hop without letting its writes
    // reach the window yet: they are still queued when the click comes.
    ASSERT_TRUE(clock.waitForSleepers(2));
    const std::size_t measured = port.requests().size();
    clock.advance(500);
    ASSERT_TRUE(waitFor([&] { return port.requests().size() > measured; }));
    ASSERT_TRUE(clock.waitForSleepers(2));
    const std::size_t before = port.requests().size();
    QTreeWidgetItem* fourth = servers.topLevelItem(3);
    QTest::mouseClick(servers.viewport(), Qt::LeftButton, {}, servers.visualItemRect(fourth).center());
    EXPECT_EQ(route.topLevelItemCount(), 0);

    ASSERT_TRUE(waitUntil([&] { return route.topLevelItemCount() == 1 && route.topLevelItem(0)->text(kPing) != ""; }));
    QTest::qWait(0);
    EXPECT_EQ(route.topLevelItemCount(), 1);
    EXPECT_EQ(row(route, 0).mid(0, kHopSent), QStringList({"1 >", "10.0.0.4", "host-10.0.0.4", "10 ms"}));
    const auto requests = port.requests();
    const auto traced = std::find_if(requests.begin() + static_cast<long>(before), requests.end(),
                                     [](const testing::EchoRequest& r) { return r.ttl != 128; });
    ASSERT_NE(traced, requests.end());
    EXPECT_EQ(traced->address, ipv4(10, 0, 0, 4));
    EXPECT_EQ(traced->ttl, 1);

    // The same row again restarts its trace too.
    QTest::mouseClick(servers.viewport(), Qt::LeftButton, {}, servers.visualItemRect(fourth).center());
    EXPECT_EQ(route.topLevelItemCount(), 0);
}

TEST_F(MonitorWindow, ClosingStopsBothWorkers)
{
    auto window = open({1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(clock.waitForSleepers(2));
    EXPECT_EQ(openPorts, 2);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(openPorts, 0);
    EXPECT_EQ(clock.sleepers(), 0);
    const std::size_t sent = port.requests().size();
    clock.advance(10000);
    QTest::qWait(0);
    EXPECT_EQ(port.requests().size(), sent);
}

TEST_F(MonitorWindow, SaysInOneLineWhenNoIcmpSocketIsAllowed)
{
    auto window = open({1, 2, 3, 4, 5, 6, 7}, false);
    EXPECT_EQ(window->routeCaption()->text().toStdString(), kIcmpRefusedText);
    EXPECT_EQ(window->routeVerdict()->text().toStdString(), icmpAllowText("Linkscope"));
    EXPECT_EQ(window->serverList()->topLevelItem(0)->text(kServerIp), "10.0.0.1");
    QTest::qWait(0);
    EXPECT_EQ(window->routeList()->topLevelItemCount(), 0);
    EXPECT_TRUE(port.requests().empty());
    saveScreenshot(*window, "linkscope-refused.png");
}

} // namespace
} // namespace tessaly::netmon
