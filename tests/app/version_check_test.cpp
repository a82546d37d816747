#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <map>
#include <string>

#include "client/app/ProgramDirectory.h"
#include "client/app/VersionCheck.h"
#include "client/net/ClientConfig.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

TEST(VersionScan, TakesTheFirstNonZeroNumberAtALineStart)
{
    struct Case {
        std::string text;
        std::optional<double> number;
    };
    const Case cases[] = {
        {"6.8", 6.8},
        {"  \t7.0\r\n", 7.0},
        {"0\r6.9\r", 6.9},
        {"0\r\n6.9\r\n", 6.9},
        {"0\n6.9\n", std::nullopt},          // line feeds alone do not end lines
        {"0\r0\r0\r", std::nullopt},
        {"", std::nullopt},
        {"   \r\n", std::nullopt},
        {"version\r7.1", 7.1},               // text that is no number reads as 0
        {"<html>\r404 Not Found", 404.0},
        {"6.9abc", 6.9},
        {"-1.5", -1.5},
        {"+2", 2.0},
        {".5\r", 0.5},
        {"7e1", 70.0},
        {"7e", 7.0},
        {"0x10\r", std::nullopt},           // no hexadecimal: "0" then "x10"
        {"nan\rinf\r", std::nullopt},
        {"0.0\r-0\r3", 3.0},
        {"\0" "6.9"s, std::nullopt},           // a NUL ends the text
        {"0\r\0" "6.9"s, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scanVersionText(c.text), c.number) << '"' << c.text << '"';
}

TEST(VersionScan, IgnoresADecimalCommaLocale)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    EXPECT_EQ(scanVersionText("6.9\r"), 6.9);
    std::setlocale(LC_ALL, "C");
}

TEST(VersionDecision, FollowsTheWholePartAndUpgradeRules)
{
    struct Case {
        double version, upgrade;
        std::optional<UpgradeKind> kind;
    };
    const Case cases[] = {
        {6.8, 6.9, UpgradeKind::Incremental},
        {7.0, 7.1, UpgradeKind::Full},
        {7.0, 7.0, UpgradeKind::Base},
        {0.0, 6.5, std::nullopt},
        {0.0, 7.0, UpgradeKind::Incremental},   // version.txt unreadable
        {0.0, 0.0, std::nullopt},               // both unreadable
        {6.7, 6.7, std::nullopt},               // U equal to C
        {6.9, 6.8, std::nullopt},               // same whole part, U not above V
        {8.0, 7.5, UpgradeKind::Base},
        {1e300, 1e308, UpgradeKind::Full},      // huge numbers do not overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(decideUpgrade(kClientVersion, c.version, c.upgrade), c.kind) << c.version << " " << c.upgrade;
    EXPECT_STREQ(upgradeWord(UpgradeKind::Full), "FULL");
    EXPECT_STREQ(upgradeWord(UpgradeKind::Incremental), "INCREMENTAL");
    EXPECT_STREQ(upgradeWord(UpgradeKind::Base), "BASE");
}

TEST(ClientConfig, EnvironmentOverridesEachDefault)
{
    std::map<std::string, std::string> env;
    const auto lookup = [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    ClientConfig config = clientConfigFrom(lookup);
    EXPECT_EQ(config.webUrl, "http://127.0.0.1:8580");
    EXPECT_EQ(config.secureWebUrl, "http://127.0.0.1:8580");
    EXPECT_EQ(config.probeHost, "127.0.0.1");

    env = {{"TESSALY_WEB_URL", "http://web.test:81/"},
           {"TESSALY_SECURE_WEB_URL", "https://secure.test//"},
           {"TESSALY_PROBE_HOST", "10.1.2.3"}};
    config = clientConfigFrom(lookup);
    EXPECT_EQ(config.webUrl, "http://web.test:81");
    EXPECT_EQ(config.secureWebUrl, "https://secure.test");
    EXPECT_EQ(config.probeHost, "10.1.2.3");

    env = {{"TESSALY_WEB_URL", ""}};
    EXPECT_EQ(clientConfigFrom(lookup).webUrl, "http://127.0.0.1:8580");
}

TEST(ProgramDirectory, CutsAtTheLastSeparator)
{
    struct Case {
        const char* path;
        std::optional<std::string> directory;
    };
    const Case cases[] = {
        {"/opt/tessaly/Tessaly", "/opt/tessaly"},
        {"build/dist/Tessaly", "build/dist"},
        {"C:\\Tessaly\\Tessaly.exe", "C:\\Tessaly"},
        {"/mixed\\dir/Tessaly", "/mixed\\dir"},
        {"/Tessaly", "/"},
        {"Tessaly", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(programDirectoryOf(c.path), c.directory) << c.path;
}

TEST(ProgramDirectory, BecomesTheCurrentDirectory)
{
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessaly-program-dir-test";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(enterProgramDirectory((dir / "Tessaly").string()));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir));
    EXPECT_TRUE(enterProgramDirectory("Tessaly"));   // no separator: nothing changes
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir));
    EXPECT_FALSE(enterProgramDirectory((dir / "missing" / "Tessaly").string()));
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace tessaly
