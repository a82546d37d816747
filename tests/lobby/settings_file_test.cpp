#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "client/lobby/SettingsFile.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tessaly-settings-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void put(const std::string& text) const { std::ofstream(dir / "settings.txt", std::ios::binary) << text; }
    std::string contents() const
    {
        std::ifstream in(dir / "settings.txt", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool exists() const { return fs::exists(dir / "settings.txt"); }

    fs::path dir;
};

TEST_F(Settings, StartUpReadDecidesFromTheFirstWord)
{
    struct Case {
        const char* file;     // nullptr: no file
        bool smileys;
        const char* after;
    };
    const Case cases[] = {
        {nullptr, true, "show"},
        {"show", true, "show"},
        {"  show\nhide", true, "  show\nhide"},
        {"hide", false, "hide"},
        {"SHOW", false, "hide"},
        {"shows", false, "hide"},
        {"", false, "hide"},
        {"whatever words", false, "hide"},
    };
    for (const Case& c : cases) {
        fs::remove(dir / "settings.txt");
        if (c.file != nullptr)
            put(c.file);
        EXPECT_EQ(SettingsFile(dir).readAtStartup(!c.smileys), c.smileys) << (c.file ? c.file : "(none)");
        EXPECT_EQ(contents(), c.after) << (c.file ? c.file : "(none)");
    }
}

TEST_F(Settings, ToggleFlipsWhatTheFileSays)
{
    struct Case {
        const char* file;
        bool inMemory;   // what the switch says before: must not matter
        bool smileys;
        const char* after;
    };
    const Case cases[] = {
        {"show", true, false, "hide"},
        {"show", false, false, "hide"},
        {"hide", false, true, "show"},
        {"hide", true, true, "show"},
        {"SHOW", true, true, "show"},
        {nullptr, false, true, "show"},   // deleted while running: created as "hide", then flipped
    };
    for (const Case& c : cases) {
        fs::remove(dir / "settings.txt");
        if (c.file != nullptr)
            put(c.file);
        EXPECT_EQ(SettingsFile(dir).toggleSmileys(c.inMemory), c.smileys) << (c.file ? c.file : "(none)");
        EXPECT_EQ(contents(), c.after);
    }
}

TEST_F(Settings, AWordLongerThan127CharactersIsNotShow)
{
    put("show" + std::string(200, 'x'));
    EXPECT_FALSE(SettingsFile(dir).readAtStartup(true));
}

TEST_F(Settings, AnUnwritableDirectoryKeepsTheSwitch)
{
    const SettingsFile nowhere(dir / "no" / "such" / "dir");
    for (bool last : {true, false}) {
        EXPECT_EQ(nowhere.readAtStartup(last), last);
        EXPECT_EQ(nowhere.toggleSmileys(last), last);
    }
    // A file that reads but cannot be written (even by root): the toggle is
    // not saved, so the switch stays.
    fs::create_symlink("/dev/full", dir / "settings.txt");
    const SettingsFile full(dir);
    EXPECT_TRUE(full.toggleSmileys(true));
    EXPECT_FALSE(full.toggleSmileys(false));
}

} // namespace
} // namespace tessaly
