// The program Bugrelay itself, against the house server's web part: with
// nothing to send it says so in one line; with automatic sending chosen it
// shows no window, sends, and keeps a second report that the hourly limit
// holds back; a kept report that must wait is not offered at a start.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "client/diag/bugrelay/SenderSettings.h"
#include "tests/diag/BugrelayFixtures.h"
#include "tests/diag/HouseInbox.h"

namespace tessaly {
namespace {

using namespace testing;
namespace fs = std::filesystem;

struct SenderRun {
    int exitCode = -1;
    std::string output;
};

class BugrelayProgram : public ::testing::Test {
protected:
    std::size_t storedCount() const { return house.stored().size(); }

    // Runs the sender to its end; a window would keep it running past the deadline.
    SenderRun run(const QString& program, const QStringList& arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((folder.path() / "config").string()));
        environment.insert(QStringLiteral("TESSALY_WEB_URL"), QString::fromStdString(house.url()));
        QProcess sender;
        sender.setProcessEnvironment(environment);
        sender.start(program, arguments);
        if (!sender.waitForFinished(20000)) {
            sender.kill();
            sender.waitForFinished();
            return {};
        }
        return {sender.exitCode(), sender.readAllStandardOutput().toStdString()};
    }

    static QString bugrelay() { return qEnvironmentVariable("TESSALY_DIST_DIR") + QStringLiteral("/Bugrelay"); }
    QString client() const { return QString::fromStdString(folder.client()); }

    ClientFolder folder;
    HouseInbox house{folder.path() / "house"};
};

TEST_F(BugrelayProgram, WithNothingToSendSaysSoInOneLine)
{
    const std::string line = "There is no crash report of Tessaly to send.\n";
    const SenderRun afterCrash = run(bugrelay(), {client()});
    EXPECT_EQ(afterCrash.exitCode, 0);
    EXPECT_EQ(afterCrash.output, line);
    // Started by hand, it looks beside itself.
    const QString copy = QString::fromStdString((folder.path() / "Bugrelay").string());
    ASSERT_TRUE(QFile::copy(bugrelay(), copy));
    const SenderRun byHand = run(copy, {});
    EXPECT_EQ(byHand.exitCode, 0);
    EXPECT_EQ(byHand.output, line);
}

TEST_F(BugrelayProgram, SendingAutomaticallySkipsTheWindowAndStillSendsOneReportAnHour)
{
    SenderSettings(QString::fromStdString(folder.settings().string())).setSendAutomatically(true);
    folder.crash();
    const SenderRun first = run(bugrelay(), {client(), QStringLiteral("-style"), QStringLiteral("fusion")});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.output.rfind("Thank you: the report was sent. Its number is ", 0), 0u) << first.output;
    EXPECT_EQ(storedCount(), 1u);
    EXPECT_FALSE(fs::exists(folder.path() / kCrashReportFile));

    folder.crash();
    const SenderRun second = run(bugrelay(), {client()});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.output.rfind("A report was sent less than an hour ago", 0), 0u) << second.output;
    EXPECT_EQ(storedCount(), 1u);
    EXPECT_TRUE(unsentReportWaiting(folder.path()));

    // Asked at the client's start within the hour, it stays quiet and keeps it.
    SenderSettings(QString::fromStdString(folder.settings().string())).setSendAutomatically(false);
    const SenderRun offer = run(bugrelay(), {QStringLiteral("--kept"), client()});
    EXPECT_EQ(offer.exitCode, 0);
    EXPECT_EQ(offer.output, "");
    EXPECT_TRUE(unsentReportWaiting(folder.path()));
    EXPECT_EQ(storedCount(), 1u);
}

} // namespace
} // namespace tessaly
