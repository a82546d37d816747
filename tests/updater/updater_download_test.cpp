// The updater's downloads and package steps against a local HTTP server,
// with generated packages, recorded boxes and a recorded client start.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include <QDeadlineTimer>

#include "tests/app/LocalHttpServer.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/updater/InstallFolder.h"
#include "tests/updater/TestArchive.h"
#include "updater/HttpDownloader.h"
#include "updater/UpgradeRun.h"

namespace tessaly::updater {
namespace {

using ::testing::ElementsAre;
using testing::InstallFolder;
using testing::LocalHttpServer;
using testing::makeArchive;
using testing::readFile;

TEST(CurlHttpStream, ReportsTheStagesInOrderAndHandsOverSmallPieces)
{
    LocalHttpServer server;
    server.route("/p", {200, std::string(20000, 'p')});
    CurlHttpStream http;
    std::vector<HttpStage> stages;
    std::size_t largest = 0;
    std::size_t total = 0;
    HttpStreamRequest request;
    request.url = server.url() + "/p";
    request.readSize = 4095;
    request.onStage = [&](const HttpStageInfo& info) { stages.push_back(info.stage); };
    request.onData = [&](std::string_view piece) {
        largest = std::max(largest, piece.size());
        total += piece.size();
        return true;
    };
    const HttpStreamReply reply = http.get(request);

    ASSERT_TRUE(reply.ok) << reply.error;
    EXPECT_EQ(total, 20000u);
    EXPECT_LE(largest, 4095u);
    EXPECT_EQ(reply.contentLength(), 20000u);
    const std::vector<HttpStage> order{HttpStage::HandleCreated,      HttpStage::ResolvingName,
                                       HttpStage::NameResolved,       HttpStage::ConnectingToServer,
                                       HttpStage::ConnectedToServer,  HttpStage::SendingRequest,
                                       HttpStage::RequestSent,        HttpStage::ReceivingResponse,
                                       HttpStage::ResponseReceived,   HttpStage::RequestComplete,
                                       HttpStage::HandleClosing};
    auto at = stages.begin();
    for (const HttpStage stage : order) {
        at = std::find(at, stages.end(), stage);
        ASSERT_NE(at, stages.end()) << "stage " << static_cast<int>(stage) << " missing or out of order";
    }
}

// The web site of one test: a local server, an install folder, and the
// ports of a run.
struct Site {
    LocalHttpServer server;
    InstallFolder folder;
    ProgressRecord progress;
    CurlHttpStream http;
    std::atomic<std::int64_t> seconds{1000};
    HttpDownloader downloader{http, progress, [this] { return seconds.load(); }};
    ScriptedMessageBoxes boxes;
    testing::RecordingLauncher launcher;

    void run(UpgradeMode mode)
    {
        UpgradeRun(server.url(), folder.install(), {downloader, boxes, launcher, progress}).run(mode);
    }
};

const std::string kFullPackage = makeArchive({{"Tessaly", "client 7.0"}, {"common.txt", "from the full package"},
                                               {"images/", ""}, {"images/lobby.png", "lobby"}});
const std::string kIncrementalPackage =
    makeArchive({{"common.txt", "from the incremental package"}, {"marker.txt", "incremental"}});

TEST(UpgradeRun, FullUnpacksBothPackagesInOrderAndStartsTheClient)
{
    Site site;
    site.server.route("/upgrades/Upgrade.zip", {200, kFullPackage});
    site.server.route("/upgrades/Incremental.zip", {200, kIncrementalPackage});
    // A link left where the package is saved must not be written through.
    testing::writeFile(site.folder.outside() + "/victim.txt", "victim");
    std::filesystem::create_symlink(site.folder.outside() + "/victim.txt", site.folder.at("value.zip"));

    site.run(UpgradeMode::Full);

    EXPECT_TRUE(site.boxes.shown.empty()) << site.boxes.texts().front();
    EXPECT_THAT(site.server.requestedPaths(),
                ElementsAre("/upgrades/Upgrade.zip", "/upgrades/Upgrade.zip", "/upgrades/Incremental.zip",
                            "/upgrades/Incremental.zip"));
    EXPECT_EQ(readFile(site.folder.at("Tessaly")), "client 7.0");
    EXPECT_EQ(readFile(site.folder.at("images/lobby.png")), "lobby");
    EXPECT_EQ(readFile(site.folder.at("common.txt")), "from the incremental package");
    EXPECT_EQ(readFile(site.folder.at("marker.txt")), "incremental");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(site.folder.at("value.zip"))));
    EXPECT_EQ(readFile(site.folder.outside() + "/victim.txt"), "victim");
    ASSERT_EQ(site.launcher.started.size(), 1u);
    EXPECT_EQ(site.launcher.started[0].program, site.folder.at("Tessaly"));
    EXPECT_TRUE(site.launcher.started[0].arguments.empty());
    EXPECT_EQ(site.progress.installPhase, kPhaseFinished);
    EXPECT_EQ(site.progress.packageSize, kIncrementalPackage.size());
    EXPECT_EQ(site.progress.bytesRead, static_cast<std::int32_t>(kIncrementalPackage.size()));
    EXPECT_EQ(site.downloader.lastStatusCode(), 200);
}

TEST(UpgradeRun, EveryFailureGivesItsBoxAndItsPhase)
{
    const std::string unsafe = makeArchive({{"good.txt", "good"}, {"../escape.txt", "bad"}});
    struct Case {
        const char* what;
        UpgradeMode mode;
        std::map<std::string, LocalHttpServer::Answer> routes;
        bool clientStarts;
        std::vector<std::string> boxes;
        std::int32_t phase;
        std::optional<std::size_t> savedPackage;   // the size of value.zip, if one is left
        std::vector<std::string> clientStarted;    // programs started
    };
    const LocalHttpServer::Answer cutShort{200, kIncrementalPackage.substr(0, 40), false,
                                           kIncrementalPackage.size()};
    const Case cases[] = {
        {"error page", UpgradeMode::Incremental, {}, true,
         {"problem in get file", "Not a valid zip file"}, kPhaseInstalling, 0u, {}},
        {"body cut short, incremental", UpgradeMode::Incremental, {{"/upgrades/Incremental.zip", cutShort}}, true,
         {"Could not get file info. ERROR"}, kPhaseDownloading, std::nullopt, {}},
        {"body cut short, base", UpgradeMode::Base, {{"/upgrades/Upgrade.zip", cutShort}}, true,
         {}, kPhaseDownloading, std::nullopt, {}},
        {"nothing listening", UpgradeMode::Base, {}, true, {"problem in get file"}, kPhaseDownloading, std::nullopt,
         {}},
        {"unsafe entry", UpgradeMode::Base, {{"/upgrades/Upgrade.zip", {200, unsafe}}}, true,
         {"Unable to unzip file"}, kPhaseInstalling, unsafe.size(), {}},
        {"second package of full missing", UpgradeMode::Full, {{"/upgrades/Upgrade.zip", {200, kFullPackage}}}, true,
         {"problem in get file", "Not a valid zip file"}, kPhaseFinished, 0u, {}},
        {"client cannot start", UpgradeMode::Incremental,
         {{"/upgrades/Incremental.zip", {200, kIncrementalPackage}}}, false,
         {"Unable to start game directory problem?"}, kPhaseFinished, std::nullopt, {"Tessaly"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Site site;
        std::string url = site.server.url();
        if (std::string(c.what) == "nothing listening")
            url = testing::closedPortUrl();
        for (const auto& [path, answer] : c.routes)
            site.server.route(path, answer);
        site.launcher.succeeds = c.clientStarts;

        UpgradeRun(url, site.folder.install(), {site.downloader, site.boxes, site.launcher, site.progress})
            .run(c.mode);

        EXPECT_EQ(site.boxes.texts(), c.boxes);
        EXPECT_EQ(site.progress.installPhase, c.phase);
        const std::string saved = site.folder.at("value.zip");
        EXPECT_EQ(std::filesystem::exists(saved), c.savedPackage.has_value());
        if (c.savedPackage && std::filesystem::exists(saved)) {
            EXPECT_EQ(std::filesystem::file_size(saved), *c.savedPackage);
        }
        std::vector<std::string> started;
        for (const auto& start : site.launcher.started)
            started.push_back(std::filesystem::path(start.program).filename().string());
        EXPECT_EQ(started, c.clientStarted);
        EXPECT_FALSE(std::filesystem::exists(site.folder.root() + "/escape.txt"));
        EXPECT_FALSE(std::filesystem::exists(site.folder.at("good.txt"))) << "nothing of a refused package";
    }
}

TEST(HttpDownloader, ASlowBodyMovesTheProgressAndShowsTheRate)
{
    Site site;
    const std::string package(64 * 1024, 's');
    std::mutex mutex;
    std::vector<std::pair<std::int32_t, double>> seen;   // bytes read and rate before each piece
    LocalHttpServer::Answer slow{200, package};
    slow.pieceSize = 8 * 1024;
    slow.beforePiece = [&](std::size_t sentSoFar) {
        // The next piece goes once the downloader has taken the ones before it.
        QDeadlineTimer deadline(5000);
        while (site.progress.bytesRead < static_cast<std::int32_t>(sentSoFar) && !deadline.hasExpired())
            std::this_thread::yield();
        std::lock_guard lock(mutex);
        seen.emplace_back(site.progress.bytesRead.load(), site.progress.rate.load());
        // Each piece comes a second after the one before it.
        site.seconds += 1;
    };
    site.server.route("/upgrades/Incremental.zip", slow);

    PackageBuffer body;
    ASSERT_TRUE(site.downloader.download(site.server.url() + "/upgrades/Incremental.zip", body))
        << site.downloader.lastError();

    EXPECT_EQ(body.view(), package);
    std::lock_guard lock(mutex);
    ASSERT_EQ(seen.size(), 8u);
    for (std::size_t piece = 0; piece < seen.size(); ++piece) {
        // Before piece k: k pieces of 8 KiB in k seconds.
        EXPECT_EQ(seen[piece].first, static_cast<std::int32_t>(piece * 8 * 1024)) << piece;
        EXPECT_DOUBLE_EQ(seen[piece].second, piece == 0 ? 0.0 : 8.0) << piece;
    }
    // The whole package in the 8 seconds of its 8 pieces.
    EXPECT_DOUBLE_EQ(site.downloader.rate(), 64.0 / 8.0);
    EXPECT_EQ(site.progress.bytesRead, static_cast<std::int32_t>(package.size()));
    EXPECT_EQ(site.downloader.session().latestText(), "");
}

TEST(HttpDownloader, TheInfoQueryReadsTheSizeAndFailsOnAnErrorPage)
{
    Site site;
    site.server.route("/upgrades/Upgrade.zip", {200, kFullPackage});
    const PackageInfo found = site.downloader.queryInfo(site.server.url() + "/upgrades/Upgrade.zip");
    EXPECT_TRUE(found.ok);
    EXPECT_TRUE(found.sizeKnown);
    EXPECT_EQ(found.size, kFullPackage.size());

    const PackageInfo missing = site.downloader.queryInfo(site.server.url() + "/upgrades/none.zip");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.size, 0u);

    const PackageInfo unreachable = site.downloader.queryInfo(testing::closedPortUrl() + "/x.zip");
    EXPECT_FALSE(unreachable.ok);
    EXPECT_FALSE(site.downloader.session().latestText().empty()) << "the error text is the status text";
}

} // namespace
} // namespace tessaly::updater
