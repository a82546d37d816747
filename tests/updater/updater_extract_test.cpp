#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tests/updater/InstallFolder.h"
#include "tests/updater/TestArchive.h"
#include "updater/ZipExtractor.h"

extern char** environ;

namespace tessaly::updater {
namespace {

using testing::ArchiveEntry;
using testing::InstallFolder;
using testing::makeArchive;
using testing::readFile;
using testing::snapshot;
using testing::writeFile;

unsigned modeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::time_t mtimeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtime;
}

std::time_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Saves the archive as the install's "value.zip" and unpacks it over the install.
bool unpack(const InstallFolder& folder, const std::string& archive, std::string* error = nullptr)
{
    writeFile(folder.at("value.zip"), archive);
    ZipExtractor extractor;
    if (!extractor.open(folder.at("value.zip")))
        return false;
    const bool ok = extractor.extractAll(folder.install());
    if (error != nullptr)
        *error = extractor.lastError();
    return ok;
}

bool stagingLeft(const InstallFolder& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder.install()))
        if (entry.path().filename().string().starts_with(".loomrise-staging-"))
            return true;
    return false;
}

TEST(ZipExtractor, UnpacksEntriesWithTheirFoldersTimesAndModes)
{
    InstallFolder folder;
    writeFile(folder.at("readme.txt"), "old readme");
    ::chmod(folder.at("readme.txt").c_str(), 0600);
    const std::string archive = makeArchive({
        {"data/"},
        {"data/deep/"},
        {"empty/"},
        {"data/deep/x.txt", "x", {}, {8, 30, 9, 15, 5, 2023}},
        {"images\\cards\\1.png", "card"},
        {"readme.txt", "new readme"},
        {"notes.txt", "notes"},
        {"Tessaly", "#!/bin/sh\n"},
        {"script.sh", "#!/bin/sh\n", S_IFREG | 0750},
    });

    std::string error;
    ASSERT_TRUE(unpack(folder, archive, &error)) << error;

    EXPECT_EQ(readFile(folder.at("data/deep/x.txt")), "x");
    EXPECT_EQ(mtimeOf(folder.at("data/deep/x.txt")), localTime(2023, 5, 15, 9, 30, 8));
    EXPECT_EQ(readFile(folder.at("images/cards/1.png")), "card");
    EXPECT_EQ(mtimeOf(folder.at("images/cards/1.png")), localTime(2024, 0, 1, 12, 0, 0));
    EXPECT_FALSE(std::filesystem::exists(folder.at("empty"))) << "a folder entry creates nothing";
    EXPECT_EQ(readFile(folder.at("readme.txt")), "new readme");
    EXPECT_EQ(modeOf(folder.at("readme.txt")), 0600u) << "a replaced file keeps its mode";
    EXPECT_EQ(modeOf(folder.at("notes.txt")), 0644u);
    EXPECT_EQ(modeOf(folder.at("Tessaly")), 0755u) << "the client must stay executable";
    EXPECT_EQ(modeOf(folder.at("script.sh")), 0750u) << "a mode recorded on Unix is kept";
    EXPECT_FALSE(stagingLeft(folder));
}

TEST(ZipExtractor, RefusesAndLeavesTheInstallAsItWas)
{
    const ArchiveEntry good{"images/new.png", "new picture"};
    const ArchiveEntry replacing{"readme.txt", "replaced"};
    struct Case {
        const char* what;
        const char* why;                      // in the extractor's error text
        std::vector<ArchiveEntry> bad;        // after the good entries
        bool outsideLink = false;             // install/out -> the outside folder
        bool folderInTheWay = false;          // install/Tessaly is a folder
    };
    const std::string damaged = "DAMAGED-DATA-" + std::string(64, 'd');
    const Case cases[] = {
        {"parent folder", "refused entry", {{"../x", "x"}}},
        {"parent by backslash", "refused entry", {{"..\\x", "x"}}},
        {"parent further down", "refused entry", {{"a/../../x", "x"}}},
        {"absolute name", "refused entry", {{"{outside}/x", "x"}}},
        {"drive letter", "refused entry", {{"C:\\x", "x"}}},
        {"symbolic link entry", "refused entry", {{"link", "/etc/passwd", S_IFLNK | 0777}}},
        {"through a link in the install", "not a real folder", {{"out/x", "x"}}, true},
        {"folder where the file goes", "a folder stands", {{"Tessaly", "client"}}, false, true},
        {"damaged data", "damaged", {{"damaged.bin", damaged, {}, {0, 0, 12, 1, 0, 2024}, true}}},
        {"no entries at all", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFolder folder;
        writeFile(folder.at("readme.txt"), "old readme");
        if (c.outsideLink)
            std::filesystem::create_directory_symlink(folder.outside(), folder.at("out"));
        if (c.folderInTheWay)
            std::filesystem::create_directory(folder.at("Tessaly"));
        std::vector<ArchiveEntry> entries;
        if (!c.bad.empty())
            entries = {good, replacing};
        for (ArchiveEntry bad : c.bad) {
            // An absolute name that points at this test's own outside folder.
            if (bad.name.starts_with("{outside}"))
                bad.name = folder.outside() + bad.name.substr(9);
            entries.push_back(bad);
        }
        std::string archive = makeArchive(entries);
        if (std::string(c.what) == "damaged data") {
            const std::size_t at = archive.find(damaged);
            ASSERT_NE(at, std::string::npos);
            archive[at + 20] = 'X';
        }
        writeFile(folder.at("value.zip"), archive);
        const auto before = snapshot(folder.root());

        ZipExtractor extractor;
        const bool opened = extractor.open(folder.at("value.zip"));
        EXPECT_FALSE(opened && extractor.extractAll(folder.install()));
        EXPECT_NE(extractor.lastError().find(c.why), std::string::npos) << extractor.lastError();

        EXPECT_EQ(snapshot(folder.root()), before);
    }
}

TEST(ZipExtractor, AWriteRefusedHalfWayLeavesTheInstallAsItWas)
{
    InstallFolder folder;
    writeFile(folder.at("readme.txt"), "old readme");
    const std::string big(256 * 1024, 'b');
    writeFile(folder.at("value.zip"), makeArchive({{"readme.txt", "replaced"}, {"big.bin", big}}));
    const auto before = snapshot(folder.root());

    // A file size limit refuses the write the way a full disk does.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    ZipExtractor extractor;
    ASSERT_TRUE(extractor.open(folder.at("value.zip")));
    const bool ok = extractor.extractAll(folder.install());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_NE(extractor.lastError().find("big.bin"), std::string::npos) << extractor.lastError();
    EXPECT_EQ(snapshot(folder.root()), before);
}

TEST(ZipExtractor, ReplacesTheRunningUpdaterByRenaming)
{
    InstallFolder folder;
    const std::string program = folder.at("Loomrise");
    std::filesystem::copy_file("/bin/sleep", program);
    ::chmod(program.c_str(), 0755);
    pid_t pid = 0;
    char* const argv[] = {const_cast<char*>("Loomrise"), const_cast<char*>("60"), nullptr};
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    // Wait until the program runs from its file: writing it in place is refused then.
    int busy = 0;
    for (int tries = 0; tries < 500 && busy != ETXTBSY; ++tries) {
        const int fd = ::open(program.c_str(), O_WRONLY);
        busy = fd < 0 ? errno : 0;
        if (fd >= 0)
            ::close(fd);
        if (busy != ETXTBSY)
            ::usleep(2000);
    }
    ASSERT_EQ(busy, ETXTBSY);

    std::string error;
    const bool ok = unpack(folder, makeArchive({{"Loomrise", "#!/bin/sh\necho new\n"}}), &error);

    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(readFile(program), "#!/bin/sh\necho new\n");
    EXPECT_EQ(modeOf(program), 0755u);
    EXPECT_EQ(::kill(pid, 0), 0) << "the running copy goes on from its old file";
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

TEST(ZipExtractor, ARenameRefusedHalfWayPutsBackWhatWasReplaced)
{
    InstallFolder folder;
    writeFile(folder.at("readme.txt"), "old readme");
    // A folder of the install on another file system: the last rename
    // cannot be made, after two others were.
    std::filesystem::create_directory(folder.at("mounted"));
    if (::mount("none", folder.at("mounted").c_str(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "no tmpfs may be mounted here: " << std::strerror(errno);
    writeFile(folder.at("value.zip"),
              makeArchive({{"readme.txt", "replaced"}, {"new/file.txt", "new"}, {"mounted/x.txt", "x"}}));
    const auto before = snapshot(folder.root());

    ZipExtractor extractor;
    ASSERT_TRUE(extractor.open(folder.at("value.zip")));
    const bool ok = extractor.extractAll(folder.install());
    const std::string error = extractor.lastError();
    const auto after = snapshot(folder.root());
    ::umount2(folder.at("mounted").c_str(), MNT_DETACH);

    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("mounted/x.txt"), std::string::npos) << error;
    EXPECT_EQ(after, before);
}

TEST(ZipExtractor, AStopWhileStagingLeavesTheInstallAsItWas)
{
    InstallFolder folder;
    writeFile(folder.at("readme.txt"), "old readme");
    writeFile(folder.at("value.zip"), makeArchive({{"readme.txt", "replaced"}, {"new.txt", "new"}}));
    const auto before = snapshot(folder.root());
    const std::atomic<bool> stop{true};

    ZipExtractor extractor;
    ASSERT_TRUE(extractor.open(folder.at("value.zip")));
    EXPECT_FALSE(extractor.extractAll(folder.install(), &stop));

    EXPECT_EQ(snapshot(folder.root()), before);
}

TEST(ZipExtractor, RefusesWhatIsNoArchive)
{
    InstallFolder folder;
    for (const std::string& content : {std::string(), std::string("<html>Not here</html>")}) {
        writeFile(folder.at("value.zip"), content);
        ZipExtractor extractor;
        EXPECT_FALSE(extractor.open(folder.at("value.zip")));
        EXPECT_FALSE(extractor.extractAll(folder.install()));
    }
}

} // namespace
} // namespace tessaly::updater
