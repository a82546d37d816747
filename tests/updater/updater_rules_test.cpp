#include <gtest/gtest.h>

#include <sys/stat.h>

#include "updater/EntryRules.h"
#include "updater/ProgressRecord.h"
#include "updater/ProgressTexts.h"
#include "updater/UpgradeMode.h"

namespace tessaly::updater {
namespace {

TEST(UpgradeMode, IsTheLastOfTheWordsFoundInOrder)
{
    struct Case {
        const char* commandLine;
        UpgradeMode mode;
    };
    const Case cases[] = {
        {" FULL", UpgradeMode::Full},
        {" INCREMENTAL", UpgradeMode::Incremental},
        {" BASE", UpgradeMode::Base},
        {" FULL BASE", UpgradeMode::Base},
        {" BASE FULL", UpgradeMode::Base},          // the order of the search, not of the line
        {"INCREMENTAL FULL", UpgradeMode::Incremental},
        {"FULLY", UpgradeMode::Full},               // a substring is enough
        {"full", UpgradeMode::None},
        {" Base", UpgradeMode::None},
        {"", UpgradeMode::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(upgradeModeFrom(c.commandLine), c.mode) << '"' << c.commandLine << '"';
}

TEST(ProgressTexts, PercentageAndBarPosition)
{
    EXPECT_EQ(downloadPercent(0, 1000), std::nullopt);     // nothing yet: the bar stays
    EXPECT_EQ(downloadPercent(500, 0), std::nullopt);      // size unknown: the bar stays
    EXPECT_FLOAT_EQ(*downloadPercent(1, 3), 100.0f / 3.0f);
    EXPECT_FLOAT_EQ(*downloadPercent(1000, 1000), 100.0f);
    EXPECT_EQ(progressPosition(*downloadPercent(999, 1000)), 99);   // cut, not rounded
    EXPECT_EQ(progressPosition(*downloadPercent(3000, 1000)), 100);
}

TEST(ProgressTexts, StatusLineAndDownloadReadings)
{
    EXPECT_EQ(statusLine(kPhaseDownloading, 0.0), "Downloading rate: (0.0 Kb/s)");
    EXPECT_EQ(statusLine(kPhaseDownloading, 12.345), "Downloading rate: (12.3 Kb/s)");
    EXPECT_EQ(statusLine(kPhaseInstalling, 12.345), "Download Completed. Installation.");

    struct Case {
        std::int64_t total;
        std::int64_t seconds;
        const char* status;
        double rate;
    };
    const Case cases[] = {
        {4095, 0, "Read 4095 bytes", 4095.0 / 1024.0},
        {10240, 2, "Read 10240 bytes (5.0 Kb/s)", 5.0},
        {1536, 1, "Read 1536 bytes (1.5 Kb/s)", 1.5},
        {3000000000LL, 1, "Read 3000000000 bytes (2929687.5 Kb/s)", 2929687.5},
    };
    for (const Case& c : cases) {
        const DownloadReading reading = downloadReading(c.total, c.seconds);
        EXPECT_EQ(reading.status, c.status);
        EXPECT_DOUBLE_EQ(reading.rate, c.rate) << c.status;
    }
}

TEST(ProgressTexts, StageTexts)
{
    struct Case {
        HttpStageInfo info;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {{HttpStage::ResolvingName, "web.example"}, "Resolving name for web.example"},
        {{HttpStage::NameResolved, "web.example"}, "Resolved name for web.example"},
        {{HttpStage::ConnectingToServer}, "Connecting to socket address "},
        {{HttpStage::ConnectedToServer}, "Connected to socket address"},
        {{HttpStage::SendingRequest}, "Sending request..."},
        {{HttpStage::RequestSent}, "Request sent"},
        {{HttpStage::ReceivingResponse}, std::nullopt},
        {{HttpStage::ResponseReceived}, "Response received"},
        {{HttpStage::ClosingConnection}, "Closing the connection to the server"},
        {{HttpStage::ConnectionClosed}, "Connection to the server closed"},
        {{HttpStage::HandleCreated}, ""},
        {{HttpStage::HandleClosing}, std::nullopt},
        {{HttpStage::RequestComplete, "", 1, 0x17}, "Request complete, dwResult = 00000001, dwError = 00000017"},
        {{static_cast<HttpStage>(77)}, "Unknown status: 77"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stageText(c.info), c.text) << static_cast<int>(c.info.stage);
}

TEST(EntryRules, SafeEntryNames)
{
    struct Case {
        const char* name;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"Tessaly", "Tessaly"},
        {"images/lobby.png", "images/lobby.png"},
        {"images\\cards\\1.png", "images/cards/1.png"},
        {"a/./b", "a/b"},
        {"a//b", "a/b"},
        {"..data/x", "..data/x"},       // a name that only starts with dots
        {"a/b..", "a/b.."},
        {"../x", std::nullopt},
        {"..\\x", std::nullopt},
        {"a/../../x", std::nullopt},
        {"a/../b", std::nullopt},       // refused even where it stays inside
        {"a\\..\\..\\x", std::nullopt},
        {"..", std::nullopt},
        {"/etc/x", std::nullopt},
        {"\\etc\\x", std::nullopt},
        {"C:\\x", std::nullopt},
        {"c:x", std::nullopt},
        {"C:/Windows/x", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"./", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(safeEntryPath(c.name), c.path) << '"' << c.name << '"';
    EXPECT_EQ(safeEntryPath(std::string_view("a\0b", 3)), std::nullopt);
}

TEST(EntryRules, KindsAndModes)
{
    const EntryAttributes link{3u << 8 | 20, static_cast<std::uint32_t>(S_IFLNK | 0777) << 16};
    const EntryAttributes unixFile{3u << 8 | 20, static_cast<std::uint32_t>(S_IFREG | 04755) << 16};
    const EntryAttributes fatFile{20, 0x20};   // the archive bit of a FAT file system
    const EntryAttributes unixWithoutMode{3u << 8 | 20, 0};
    EXPECT_TRUE(isSymbolicLink(link));
    EXPECT_FALSE(isSymbolicLink(unixFile));
    EXPECT_FALSE(isSymbolicLink(EntryAttributes{20, static_cast<std::uint32_t>(S_IFLNK | 0777) << 16}));
    EXPECT_EQ(recordedPermissions(unixFile), 0755u);   // setuid dropped
    EXPECT_EQ(recordedPermissions(fatFile), std::nullopt);
    EXPECT_EQ(recordedPermissions(unixWithoutMode), std::nullopt);

    struct Case {
        const char* path;
        std::optional<unsigned> recorded;
        std::optional<unsigned> replaced;
        unsigned mode;
    };
    const Case cases[] = {
        {"readme.txt", std::nullopt, std::nullopt, 0644},
        {"readme.txt", 0600u, 0644u, 0600},              // the archive's mode wins
        {"readme.txt", std::nullopt, S_IFREG | 0640u, 0640},
        {"tool.sh", std::nullopt, S_IFREG | 0755u, 0755},
        {"Tessaly", std::nullopt, std::nullopt, 0755},
        {"Loomrise", std::nullopt, std::nullopt, 0755},
        {"Linkscope", 0644u, std::nullopt, 0755},         // a suite program keeps its run bit
        {"Bugrelay", std::nullopt, S_IFREG | 0600u, 0700},
        {"images/Tessaly", std::nullopt, std::nullopt, 0644},
        {"Tessaly.txt", std::nullopt, std::nullopt, 0644},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileModeFor(c.path, c.recorded, c.replaced), c.mode) << c.path;
}

TEST(EntryRules, StoredTimesAreLocalTimes)
{
    const std::optional<std::time_t> noon = entryTimeToUnix({2024, 0, 1, 12, 0, 0});
    ASSERT_TRUE(noon);
    std::tm local{};
    localtime_r(&*noon, &local);
    EXPECT_EQ(local.tm_year, 124);
    EXPECT_EQ(local.tm_mon, 0);
    EXPECT_EQ(local.tm_mday, 1);
    EXPECT_EQ(local.tm_hour, 12);
    EXPECT_EQ(entryTimeToUnix({2024, 12, 1, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(entryTimeToUnix({2024, 0, 0, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(entryTimeToUnix({2024, 0, 1, 24, 0, 0}), std::nullopt);
}

} // namespace
} // namespace tessaly::updater
