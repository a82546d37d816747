// Loomrise against the real house server, on loopback, offscreen: it
// downloads the incremental package, checks the house's signature of it
// with the key the house wrote into the install, replaces the files of a
// copy of the install (itself included, while it runs) and starts the
// client again.
// Then the whole loop: an out-of-date client starts Loomrise and ends, the
// package lands, and the client is started again and stays once the
// version files are current.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>

#include "tests/support/EndToEnd.h"
#include "tests/updater/TestArchive.h"

namespace tessaly {
namespace {

using namespace e2e;

using testing::ArchiveEntry;
using testing::makeArchive;
using testing::readFile;
using testing::writeFile;

// The processes whose program file lies in the folder, old files included
// (a replaced program shows as "... (deleted)").
std::vector<pid_t> processesRunningFrom(const QString& folder)
{
    std::vector<pid_t> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (!number)
            continue;
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(entry));
        if (exe.startsWith(folder + QLatin1Char('/')))
            pids.push_back(pid);
    }
    return pids;
}

class UpdaterEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(install));
        ASSERT_TRUE(QDir().mkpath(upgrades));
        ASSERT_TRUE(QDir().mkpath(logDir));
    }
    void TearDown() override
    {
        // Every program started from the copy of the install ends with the test.
        for (const pid_t pid : processesRunningFrom(install))
            ::kill(pid, SIGKILL);
    }

    void writeUpgrades(const char* version, const char* upgrade, const std::string& incremental)
    {
        writeFile((upgrades + "/version.txt").toStdString(), version);
        writeFile((upgrades + "/upgrade.txt").toStdString(), upgrade);
        writeFile((upgrades + "/Incremental.zip").toStdString(), incremental);
    }

    // Starts the house on free ports; its web address, or empty.
    QString startHouse()
    {
        house = std::make_unique<Program>(
            envPath("TESSALY_TOOLS_DIR", "tessaly-house"),
            QStringList{QStringLiteral("--game-port"), QStringLiteral("0"), QStringLiteral("--web-port"),
                        QStringLiteral("0"), QStringLiteral("--data"), root.filePath(QStringLiteral("data")),
                        QStringLiteral("--log"), logDir, QStringLiteral("--bots"), QStringLiteral("0"),
                        QStringLiteral("--update-keys"), install + QStringLiteral("/update-keys.pub")},
            root.filePath(QStringLiteral("house.err")));
        if (!house->started())
            return {};
        const QRegularExpressionMatch ready =
            QRegularExpression(QStringLiteral("^listening game ([0-9.]+):(\\d+) web ([0-9.]+:\\d+)$"))
                .match(house->readLine(kStartMs));
        if (!ready.hasMatch())
            return {};
        gameHost = ready.captured(1);
        gamePort = ready.captured(2);
        return QStringLiteral("http://") + ready.captured(3);
    }

    QProcessEnvironment environment(const QString& webUrl) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TESSALY_WEB_URL"), webUrl);
        env.insert(QStringLiteral("TESSALY_SECURE_WEB_URL"), webUrl);
        env.insert(QStringLiteral("TESSALY_GAME_HOST"), gameHost);
        env.insert(QStringLiteral("TESSALY_GAME_PORT"), gamePort);
        env.insert(QStringLiteral("TESSALY_PROBE_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tessaly.trace=true"));
        return env;
    }

    int connectionsListingTables() const
    {
        int count = 0;
        for (const QString& name : QDir(logDir).entryList({QStringLiteral("conn-*.txt")}, QDir::Files))
            count += readFile((logDir + QLatin1Char('/') + name).toStdString()).find("< LIST_TABLES") !=
                     std::string::npos;
        return count;
    }

    std::string at(const char* file) const { return (install + QLatin1Char('/') + QLatin1String(file)).toStdString(); }

    QTemporaryDir root;
    QString install = root.filePath(QStringLiteral("install"));
    QString upgrades = root.filePath(QStringLiteral("data/www/upgrades"));
    QString logDir = root.filePath(QStringLiteral("log"));
    QString gameHost;
    QString gamePort;
    std::unique_ptr<Program> house;
};

TEST_F(UpdaterEndToEnd, LoomriseReplacesTheFilesItselfIncludedAndStartsTheClient)
{
    // The new build of the updater: the same program with a mark at its end.
    const std::string newUpdater = readFile(envPath("TESSALY_DIST_DIR", "Loomrise").toStdString()) + "\n#new build\n";
    writeUpgrades("6.7\r", "6.7\r",
                  makeArchive({{"marker.txt", "installed by the incremental package"},
                               {"images/", ""},
                               {"images/new.png", "picture"},
                               {"Loomrise", newUpdater}}));
    ASSERT_TRUE(QFile::copy(envPath("TESSALY_DIST_DIR", "Loomrise"), install + QStringLiteral("/Loomrise")));
    // A stand-in client that records where and with what it was started.
    writeFile(at("Tessaly"), "#!/bin/sh\necho \"ran in $PWD with [$*]\" > started.tmp && mv started.tmp started.txt\n");
    ::chmod(at("Tessaly").c_str(), 0755);
    const QString web = startHouse();
    ASSERT_FALSE(web.isEmpty()) << house->errors().toStdString();

    Program updater(install + QStringLiteral("/Loomrise"), {QStringLiteral("INCREMENTAL")},
                    root.filePath(QStringLiteral("loomrise.err")), environment(web), install);
    ASSERT_TRUE(updater.started());
    ASSERT_TRUE(updater.process().waitForFinished(kStartMs)) << updater.errors().toStdString();
    EXPECT_EQ(updater.process().exitCode(), 0);
    EXPECT_TRUE(updater.errors().contains(QStringLiteral("1 update key(s) trusted"))) << "the update was not checked";

    EXPECT_EQ(readFile(at("marker.txt")), "installed by the incremental package");
    EXPECT_EQ(readFile(at("images/new.png")), "picture");
    EXPECT_EQ(readFile(at("Loomrise")), newUpdater);
    struct stat st {};
    ::stat(at("Loomrise").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_FALSE(std::filesystem::exists(at("value.zip")));
    ASSERT_TRUE(pollUntil([&] { return std::filesystem::exists(at("started.txt")); }, kStepMs));
    EXPECT_EQ(readFile(at("started.txt")), "ran in " + install.toStdString() + " with []\n");
}

TEST_F(UpdaterEndToEnd, AnOutOfDateClientIsUpdatedAndStartedAgain)
{
    // A copy of the whole install, with the real client.
    ASSERT_TRUE(copyTree(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR")), install));
    // Upgrade 6.9 over version 6.8 makes client 6.7 ask for INCREMENTAL.
    writeUpgrades("6.8\r", "6.9\r", makeArchive({{"marker.txt", "6.9"}}));
    const QString web = startHouse();
    ASSERT_FALSE(web.isEmpty()) << house->errors().toStdString();

    Program client(install + QStringLiteral("/Tessaly"), {}, root.filePath(QStringLiteral("client.err")),
                   environment(web), root.path());
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(client.process().waitForFinished(kStartMs)) << client.errors().toStdString();
    EXPECT_EQ(client.process().exitCode(), 1) << "the client ends once it has started the updater";

    // The updater writes the file in place: it may exist before it is whole.
    EXPECT_TRUE(pollUntil([&] { return readFile(at("marker.txt")) == "6.9"; }, kStartMs))
        << client.errors().toStdString();
    // Current version files: the client started again stays.
    writeUpgrades("6.7\r", "6.7\r", makeArchive({{"marker.txt", "6.9"}}));
    EXPECT_TRUE(pollUntil([&] { return connectionsListingTables() >= 2; }, kStartMs))
        << "the client was not started again";
    EXPECT_TRUE(pollUntil(
        [&] {
            const std::vector<pid_t> running = processesRunningFrom(install);
            return running.size() == 1 &&
                   QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(running[0])).endsWith(QStringLiteral("/Tessaly"));
        },
        kStartMs))
        << "one client stays running, and no updater";
}

} // namespace
} // namespace tessaly
