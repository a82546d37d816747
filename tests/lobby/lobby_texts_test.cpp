#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "client/lobby/BrowserLauncher.h"
#include "client/lobby/LobbyTexts.h"
#include "client/lobby/NetworkMonitorStarter.h"
#include "client/lobby/PageOpener.h"
#include "client/lobby/WebPages.h"
#include "client/net/ClientConfig.h"
#include "client/table/TableTexts.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {
namespace {

TEST(LobbyTexts, FillTheFormats)
{
    EXPECT_EQ(serverStatusLine("10:42", 37, 12), "Server time: 10:42 CT 37 live users on 12 tables.");
    EXPECT_EQ(loggedInCaption("joe12"), " Welcome to Tessaly Lobby Good Luck joe12 !!!");
    EXPECT_STREQ(gameTypeText(1000), "No Limit");
    EXPECT_STREQ(gameTypeText(1001), "Pot Limit");
    EXPECT_STREQ(gameTypeText(1002), "Fixed Limit");
    EXPECT_STREQ(gameTypeText(0), "Fixed Limit");
    EXPECT_EQ(tableWindowCaption("Aurora", "$1/$2", 1000, true, "joe12"), "  Room: Aurora ($1/$2) No Limit - Good Luck joe12!");
    EXPECT_EQ(tableWindowCaption("Aurora", "$1/$2", 1001, false, "joe12"), "  Room: Aurora - ($1/$2) Pot Limit - Good Luck!");
    EXPECT_EQ(tableWindowCaption("100% fun", "%s", 7, false, ""), "  Room: 100% fun - (%s) Fixed Limit - Good Luck!");
}

TEST(LobbyTexts, VersionTextsIgnoreTheLocale)
{
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(clientVersionBoxText(6.7), "Client Version: 6.7\r");
    EXPECT_EQ(aboutVersionText(6.7), "6.70");
    if (comma)
        std::setlocale(LC_ALL, "C");
}

TEST(WebPages, AddressIsTheSitePlusThePath)
{
    ClientConfig config;
    config.webUrl = "http://web.test";
    config.secureWebUrl = "https://secure.test";
    struct Case {
        WebPage page;
        const char* address;
    };
    const Case cases[] = {
        {pages::SecureRoot, "https://secure.test"},
        {pages::WebRoot, "http://web.test"},
        {pages::EmailUs, "http://web.test/index.php?page=contact_us"},
        {pages::ServerStatus, "https://secure.test/serverstatus.php"},
        {pages::ContactUs, "http://web.test/contactus.php"},
        {pages::AboutUs, "http://web.test/aboutus.php"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pageAddress(config, c.page), c.address);
    ASSERT_EQ(std::size(kBannerLinks), 4u);
    EXPECT_EQ(pageAddress(config, kBannerLinks[1].page), "http://web.test/stickers.php");
    EXPECT_STREQ(kBannerLinks[3].text, "Sit & Go + Multi Table Tournaments coming soon !!");
}

class RecordingOpener final : public UrlOpener {
public:
    bool openUrl(const std::string& address) override
    {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

TEST(BrowserLauncher, UsesTheNamedProgramInsteadOfTheDesktop)
{
    RecordingOpener desktop;
    testing::RecordingLauncher launcher;
    EXPECT_TRUE(BrowserLauncher(desktop, launcher, "").open("http://web.test/aboutus.php"));
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"http://web.test/aboutus.php"});
    EXPECT_TRUE(launcher.started.empty());

    desktop.opened.clear();
    EXPECT_TRUE(BrowserLauncher(desktop, launcher, "/usr/bin/my-browser").open("http://web.test/a b"));
    EXPECT_TRUE(desktop.opened.empty());
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, "/usr/bin/my-browser");
    EXPECT_EQ(launcher.started[0].arguments, std::vector<std::string>{"http://web.test/a b"});

    launcher.succeeds = false;
    EXPECT_FALSE(BrowserLauncher(desktop, launcher, "/nowhere").open("http://web.test"));
}

TEST(PageOpener, ServesTheTableWindowsPage)
{
    RecordingOpener desktop;
    testing::RecordingLauncher launcher;
    const PageOpener opener{ClientConfig{"http://web.test", "https://secure.test", "127.0.0.1"}, desktop, launcher, ""};
    const TablePages& tablePages = opener;
    tablePages.openTellAFriend();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"http://web.test/tellafriend.php"});
}

TEST(BrowserLauncher, ARealProgramGetsTheAddressAsItsOneArgument)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("tessaly-browser-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "browser";
    const fs::path out = dir / "opened";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " << out.string() << ".tmp && mv "
                          << out.string() << ".tmp " << out.string() << "\n";
    fs::permissions(script, fs::perms::owner_all);
    RecordingOpener desktop;
    DetachedProcessLauncher launcher;
    ASSERT_TRUE(BrowserLauncher(desktop, launcher, script.string()).open("http://web.test/x?a=1&b=2"));
    for (int i = 0; i < 500 && !fs::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string line;
    std::getline(std::ifstream(out), line);
    EXPECT_EQ(line, "1|http://web.test/x?a=1&b=2");
    fs::remove_all(dir);
}

TEST(NetworkMonitor, StartsFromTheCurrentDirectoryOrSaysWhyNot)
{
    testing::RecordingLauncher launcher;
    ScriptedMessageBoxes boxes;
    EXPECT_TRUE(startNetworkMonitor(launcher, boxes));
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, "./Linkscope");
    EXPECT_TRUE(launcher.started[0].arguments.empty());
    EXPECT_TRUE(boxes.shown.empty());

    launcher.succeeds = false;
    EXPECT_FALSE(startNetworkMonitor(launcher, boxes));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Unable to start game directory problem?"});
}

} // namespace
} // namespace tessaly
