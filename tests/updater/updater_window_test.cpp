// The progress window and the program put together, offscreen: the usage
// box, the timer's texts, the close at the end, a run that ends by starting
// a stand-in client, and a client that cannot be started.

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <filesystem>

#include "platform/gui/GuiThreadMessageBoxes.h"
#include "tests/app/LocalHttpServer.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"
#include "tests/updater/InstallFolder.h"
#include "tests/updater/TestArchive.h"
#include "updater/UpdaterProgram.h"

namespace tessaly::updater {
namespace {

using testing::InstallFolder;
using testing::LocalHttpServer;
using testing::makeArchive;
using testing::readFile;
using testing::writeFile;

struct Program {
    explicit Program(const std::string& commandLine, const std::string& webUrl = "http://127.0.0.1:1",
                     const std::string& installDir = "/nonexistent")
        : program({commandLine, webUrl, installDir}, {boxes, launcher, http})
    {
    }
    ScriptedMessageBoxes recorded;
    GuiThreadMessageBoxes boxes{recorded};
    DetachedProcessLauncher launcher;
    CurlHttpStream http;
    UpdaterProgram program;
};

// Runs the window's ticks (its timer's work) until it closes itself.
bool closesByItsTicks(dlgUpgradeProgress& window)
{
    return waitUntil(
        [&] {
            if (window.isVisible())
                window.tick();
            return !window.isVisible();
        },
        10000);
}

TEST(UpdaterProgram, WithoutAWordShowsTheUsageBoxAndNoWindow)
{
    for (const char* commandLine : {"", "full", " incremental", "UPGRADE"}) {
        Program p(commandLine);
        EXPECT_FALSE(p.program.open()) << commandLine;
        EXPECT_EQ(p.program.window(), nullptr);
        ASSERT_EQ(p.recorded.shown.size(), 1u);
        EXPECT_EQ(p.recorded.shown[0].text, "To use the loomriser, simply start the client as usual.");
        EXPECT_EQ(p.recorded.shown[0].caption, "Loomrise");
        EXPECT_EQ(p.recorded.shown[0].icon, BoxIcon::Exclamation);
    }
}

TEST(UpgradeProgressWindow, ShowsTheSharedProgressOnEachTick)
{
    ProgressRecord progress;
    progress.bytesRead = 77;
    progress.rate = 9.0;
    int workersStarted = 0;
    dlgUpgradeProgress window(progress, [&] { ++workersStarted; });
    window.show();
    QProgressBar* bar = window.progressBar(kProgressBarId);
    QLabel* status = window.staticText(kStatusLineId);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(status, nullptr);

    EXPECT_EQ(workersStarted, 1);
    EXPECT_EQ(window.windowTitle(), "Loomrise");
    EXPECT_EQ(bar->accessibleName(), "Download progress");
    EXPECT_EQ(status->accessibleName(), "Status");
    EXPECT_EQ(progress.bytesRead, 0) << "opening the window clears bytes read";

    window.tick();
    EXPECT_EQ(status->text(), "Downloading rate: (0.0 Kb/s)");
    EXPECT_EQ(bar->value(), 0);

    progress.packageSize = 1000;
    progress.bytesRead = 505;
    progress.rate = 3.26;
    window.tick();
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(status->text(), "Downloading rate: (3.3 Kb/s)");

    progress.packageSize = 0;   // size unknown: the bar stays where it is
    progress.bytesRead = 900;
    window.tick();
    EXPECT_EQ(bar->value(), 50);

    progress.installPhase = kPhaseInstalling;
    window.tick();
    EXPECT_EQ(status->text(), "Download Completed. Installation.");
    EXPECT_TRUE(window.isVisible());

    progress.installPhase = kPhaseFinished;
    window.tick();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), 0);
}

TEST(UpgradeProgressWindow, EscapeClosesIt)
{
    ProgressRecord progress;
    dlgUpgradeProgress window(progress, {});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(UpdaterProgram, ARunEndsByStartingTheClientAgain)
{
    LocalHttpServer server;
    server.route("/upgrades/Incremental.zip", {200, makeArchive({{"marker.txt", "new"}})});
    InstallFolder folder;
    // A stand-in client that records that it ran, where, and with what.
    writeFile(folder.at("Tessaly"), "#!/bin/sh\necho \"ran in $PWD with [$*]\" > \"$(dirname \"$0\")/started.txt\"\n");
    std::filesystem::permissions(folder.at("Tessaly"), std::filesystem::perms(0755));

    Program p(" INCREMENTAL", server.url(), folder.install());
    ASSERT_TRUE(p.program.open());
    EXPECT_EQ(p.program.mode(), UpgradeMode::Incremental);
    ASSERT_TRUE(closesByItsTicks(*p.program.window()));

    EXPECT_TRUE(p.recorded.shown.empty());
    EXPECT_EQ(readFile(folder.at("marker.txt")), "new");
    ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(folder.at("started.txt")); }, 10000));
    ASSERT_TRUE(waitUntil([&] { return readFile(folder.at("started.txt")).ends_with("\n"); }, 5000));
    EXPECT_NE(readFile(folder.at("started.txt")).find("with []"), std::string::npos)
        << readFile(folder.at("started.txt"));
}

TEST(UpdaterProgram, AClientThatCannotStartGivesItsBoxAndTheWindowCloses)
{
    LocalHttpServer server;
    server.route("/upgrades/Upgrade.zip", {200, makeArchive({{"base.txt", "base"}})});
    InstallFolder folder;

    Program p(" BASE", server.url(), folder.install());
    ASSERT_TRUE(p.program.open());
    ASSERT_TRUE(closesByItsTicks(*p.program.window()));

    EXPECT_EQ(p.recorded.texts(), std::vector<std::string>{"Unable to start game directory problem?"});
    EXPECT_EQ(p.recorded.shown[0].caption, "Loomrise");
    EXPECT_EQ(readFile(folder.at("base.txt")), "base");
}

} // namespace
} // namespace tessaly::updater
