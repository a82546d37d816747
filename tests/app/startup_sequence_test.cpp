#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "client/app/StartupSequence.h"
#include "client/app/VersionFileReader.h"
#include "client/net/RefusedUpdate.h"
#include "platform/web/HttpClient.h"
#include "tests/app/LocalHttpServer.h"
#include "tests/support/FakeIcmpNetwork.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {
namespace {

using testing::FakeIcmpNetwork;
using testing::FakeProbeClock;
using testing::IcmpScript;
using testing::LocalHttpServer;
using tessaly::ScriptedMessageBoxes;
using testing::RecordingExit;
using testing::RecordingLauncher;

const std::string kMaintenance =
    "Warning: Cannot check for latest version of game. The update\nserver appears to be undergoing maintenance.";

class Startup : public ::testing::Test {
protected:
    StartupSequence sequence(const std::string& webUrl)
    {
        ClientConfig config;
        config.webUrl = webUrl;
        config.probeHost = "192.0.2.7";
        return StartupSequence(config, "/opt/tessaly/Tessaly", StartupPorts{http, boxes, launcher, exit, probe});
    }

    void serve(const char* version, const char* upgrade)
    {
        server.route("/upgrades/version.txt", {200, version});
        server.route("/upgrades/upgrade.txt", {200, upgrade});
    }

    LocalHttpServer server;
    CurlHttpClient http;
    ScriptedMessageBoxes boxes;
    RecordingLauncher launcher;
    RecordingExit exit;
    IcmpScript icmp;
    FakeIcmpNetwork network{icmp};
    FakeProbeClock clock;
    LatencyProbe probe{network, clock};
};

TEST_F(Startup, VersionFilesDecideTheUpdaterLaunch)
{
    struct Case {
        const char* what;
        const char* version;
        const char* upgrade;
        const char* word;   // nullptr: no launch
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"incremental", "6.8\r", "6.9\r", "INCREMENTAL", {}},
        {"full", "7.0\r", "7.1\r", "FULL", {}},
        {"base", "7.0\r", "7.0\r", "BASE", {}},
        {"older upgrade", "6.5\r", "6.5\r", nullptr, {}},
        {"upgrade equal to the client", "6.7\r", "6.7\r", nullptr, {}},
        {"zero line then CR", "6.8\r", "0\r6.9\r", "INCREMENTAL", {}},
        {"zero line then LF", "6.8\r", "0\n6.9\n", nullptr, {kMaintenance}},
        {"no numbers at all", "none\r", "none\r", nullptr, {kMaintenance, kMaintenance}},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        launcher.started.clear();
        exit.codes.clear();
        serve(c.version, c.upgrade);
        StartupSequence s = sequence(server.url());
        s.readVersionFiles();
        const bool ended = s.runVersionDecision();
        EXPECT_EQ(boxes.texts(), c.boxes) << c.what;
        if (c.word == nullptr) {
            EXPECT_FALSE(ended) << c.what;
            EXPECT_TRUE(launcher.started.empty()) << c.what;
            EXPECT_TRUE(exit.codes.empty()) << c.what;
            continue;
        }
        EXPECT_TRUE(ended) << c.what;
        ASSERT_EQ(launcher.started.size(), 1u) << c.what;
        EXPECT_EQ(launcher.started[0].program, "/opt/tessaly/Loomrise") << c.what;
        EXPECT_EQ(launcher.started[0].arguments.front(), c.word) << c.what;
        EXPECT_EQ(exit.codes, std::vector<int>{1}) << c.what;
    }
}

TEST_F(Startup, ReadsVersionThenUpgradeAndShowsEachBoxFromTheDesktop)
{
    server.route("/upgrades/upgrade.txt", {200, "7.0\r"});   // version.txt answers 404
    StartupSequence s = sequence(server.url());
    s.readVersionFiles();
    EXPECT_EQ(server.requestedPaths(), (std::vector<std::string>{"/upgrades/version.txt", "/upgrades/upgrade.txt"}));
    EXPECT_EQ(s.versionNumber(), 0.0);
    EXPECT_EQ(s.upgradeNumber(), 7.0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    const BoxRequest& box = boxes.shown[0];
    EXPECT_EQ(box.text, "Cannot check for latest version: \nThe server answered with HTTP status 404.");
    EXPECT_EQ(box.caption, "Tessaly");
    EXPECT_EQ(box.icon, BoxIcon::Exclamation);
    EXPECT_EQ(box.owner, nullptr);
    // C's whole part 6 is not below 0, and U > V: incremental.
    ASSERT_TRUE(s.runVersionDecision());
    EXPECT_EQ(launcher.started.at(0).arguments, (std::vector<std::string>{"INCREMENTAL", "0", "7"}));
}

TEST_F(Startup, AnUpdateRefusedForTheSameNumbersIsNotStartedAgain)
{
    char folder[] = "/tmp/tessaly-startup-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string install = folder;
    std::ofstream(install + "/" + kRefusedUpdateFile) << refusedUpdateMarker({6.8, 6.9});
    struct Case {
        const char* upgrade;
        bool updaterStarts;
    };
    for (const Case c : {Case{"6.9\r", false}, Case{"7.0\r", true}}) {
        SCOPED_TRACE(c.upgrade);
        launcher.started.clear();
        exit.codes.clear();
        serve("6.8\r", c.upgrade);
        StartupSequence s(ClientConfig{server.url()}, install + "/Tessaly", StartupPorts{http, boxes, launcher, exit, probe});
        s.readVersionFiles();
        EXPECT_EQ(s.runVersionDecision(), c.updaterStarts);
        EXPECT_EQ(launcher.started.size(), c.updaterStarts ? 1u : 0u);
        EXPECT_EQ(exit.codes.size(), c.updaterStarts ? 1u : 0u);
    }
    EXPECT_TRUE(boxes.shown.empty());
    std::filesystem::remove_all(install);
}

TEST_F(Startup, BothFilesUnreadableShowTwoBoxesAndStartUpGoesOn)
{
    StartupSequence s = sequence(testing::closedPortUrl());
    s.readVersionFiles();
    ASSERT_EQ(boxes.shown.size(), 2u);
    for (const BoxRequest& box : boxes.shown) {
        EXPECT_EQ(box.text.rfind("Cannot check for latest version: \n", 0), 0u) << box.text;
        EXPECT_GT(box.text.size(), std::string("Cannot check for latest version: \n").size());
    }
    EXPECT_FALSE(s.runVersionDecision());
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(exit.codes.empty());
}

TEST_F(Startup, ReadsAtMost2048Bytes)
{
    std::string upgrade;
    for (int i = 0; i < 1024; ++i)
        upgrade += "0\r";
    serve("6.8\r", (upgrade + "6.9\r").c_str());
    StartupSequence s = sequence(server.url());
    s.readVersionFiles();
    EXPECT_EQ(s.upgradeNumber(), 0.0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kMaintenance});
}

TEST_F(Startup, AnUpdaterThatWillNotStartIsReportedAndTheClientEndsAnyway)
{
    serve("6.8\r", "6.9\r");
    launcher.succeeds = false;
    StartupSequence s = sequence(server.url());
    s.readVersionFiles();
    EXPECT_TRUE(s.runVersionDecision());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Unable to start from lobby client!");
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly");
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(exit.codes, std::vector<int>{1});
}

TEST_F(Startup, UpdaterSitsBesideTheClient)
{
    ScriptedMessageBoxes b;
    const auto at = [&](const char* programPath) {
        return StartupSequence(ClientConfig{}, programPath, StartupPorts{http, b, launcher, exit, probe}).updaterPath();
    };
    EXPECT_EQ(at("/opt/tessaly/Tessaly"), "/opt/tessaly/Loomrise");
    EXPECT_EQ(at("Tessaly"), "./Loomrise");
}

TEST_F(Startup, LatencyGateEndsTheClientOnlyAfterASlowValidReply)
{
    struct Case {
        const char* what;
        std::uint64_t roundTripUs;
        bool replies;
        bool ends;
    };
    const Case cases[] = {
        {"exactly 1,000 ms", 1000999, true, false},
        {"1,001 ms", 1001000, true, true},
        {"fast", 3000, true, false},
        {"no reply", 0, false, false},
    };
    QWidget* const lobby = reinterpret_cast<QWidget*>(0x1000);
    for (const Case& c : cases) {
        boxes.shown.clear();
        exit.codes.clear();
        icmp = IcmpScript{};
        icmp.datagram = testing::ipDatagram(0, static_cast<std::uint16_t>(::getpid() & 0xFFFF));
        if (!c.replies)
            icmp.wait = IcmpSocket::Wait::TimedOut;
        clock.steps = {c.roundTripUs};
        StartupSequence s = sequence(server.url());
        EXPECT_EQ(s.runLatencyGate(lobby), c.ends) << c.what;
        EXPECT_EQ(icmp.resolvedHost, "192.0.2.7") << c.what;
        EXPECT_EQ(icmp.waitedMs, 5000u) << c.what;
        EXPECT_EQ(icmp.sent.size(), 44u) << c.what;
        if (!c.ends) {
            EXPECT_TRUE(boxes.shown.empty()) << c.what;
            EXPECT_TRUE(exit.codes.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(boxes.shown.size(), 1u) << c.what;
        EXPECT_EQ(boxes.shown[0].text, kSlowConnectionMessage);
        EXPECT_EQ(boxes.shown[0].caption, "Tessaly Message");
        EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
        EXPECT_EQ(boxes.shown[0].owner, lobby);
        EXPECT_EQ(exit.codes, std::vector<int>{1});
    }
}

TEST(VersionBoxes, ErrorTextIsCutAt1024Characters)
{
    const BoxRequest box = versionErrorBox(std::string(3000, 'e'));
    EXPECT_EQ(box.text, "Cannot check for latest version: \n" + std::string(1024, 'e'));
}

} // namespace
} // namespace tessaly
