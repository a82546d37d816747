// At the client's start the crash sender is started for a report that
// waits under "unsent-reports", and only then.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "client/app/UnsentReportOffer.h"
#include "client/diag/CrashReportFiles.h"
#include "tests/support/RecordingPorts.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

TEST(UnsentReportOffer, StartsTheSenderForAWaitingReportOnly)
{
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const std::string client = (folder / "Tessaly").string();
    testing::RecordingLauncher launcher;
    UnsentReportOffer offer(folder, client, launcher);

    // Nothing kept; a report beside the client (not chosen to be sent); an empty kept folder.
    EXPECT_FALSE(offer.offerIfWaiting());
    std::ofstream(folder / kCrashReportFile) << "report";
    fs::create_directories(folder / kUnsentReportsFolder / "20260601-120000-001");
    EXPECT_FALSE(offer.offerIfWaiting());
    EXPECT_TRUE(launcher.started.empty());

    std::ofstream(folder / kUnsentReportsFolder / "20260601-120000-001" / kCrashReportFile) << "report";
    EXPECT_TRUE(offer.offerIfWaiting());
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, (folder / "Bugrelay").string());
    EXPECT_EQ(launcher.started[0].arguments, (std::vector<std::string>{"--kept", client}));
}

} // namespace
} // namespace tessaly
