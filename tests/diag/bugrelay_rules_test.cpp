// The crash sender without a window: its command line and first step, the
// hourly limit, the server's number, the form and its description, and
// the keeping, sending and removing of reports over a recording upload and
// a clock the test sets.

#include <gtest/gtest.h>

#include <QString>

#include "client/diag/bugrelay/CrashForm.h"
#include "client/diag/bugrelay/ReportDelivery.h"
#include "client/diag/bugrelay/SendRules.h"
#include "tests/diag/BugrelayFixtures.h"

namespace tessaly {
namespace {

using namespace testing;

TEST(SendRules, ReadTheCommandLineAndChooseTheFirstStep)
{
    const SenderCommand crash = parseSenderCommand({"/opt/t/Tessaly", "-style", "fusion"}, "/here/Tessaly");
    EXPECT_EQ(crash.how, SenderStart::Crash);
    EXPECT_EQ(crash.clientPath, "/opt/t/Tessaly");
    EXPECT_EQ(crash.clientArguments, (std::vector<std::string>{"-style", "fusion"}));
    EXPECT_EQ(parseSenderCommand({"--kept", "/opt/t/Tessaly"}, "/here/Tessaly").how, SenderStart::Offer);
    EXPECT_EQ(parseSenderCommand({"--kept", "/opt/t/Tessaly"}, "/here/Tessaly").clientPath, "/opt/t/Tessaly");
    EXPECT_EQ(parseSenderCommand({}, "/here/Tessaly").how, SenderStart::ByHand);
    EXPECT_EQ(parseSenderCommand({}, "/here/Tessaly").clientPath, "/here/Tessaly");

    struct Case {
        SenderStart how;
        bool found, automatic, allowed;
        StartAction action;
    };
    const Case cases[] = {
        {SenderStart::Crash, false, false, true, StartAction::NothingToSend},
        {SenderStart::ByHand, false, true, true, StartAction::NothingToSend},
        {SenderStart::Offer, false, false, true, StartAction::EndQuietly},
        {SenderStart::Crash, true, false, false, StartAction::ShowWindow},
        {SenderStart::Crash, true, true, false, StartAction::SendSilently},   // the limit keeps it
        {SenderStart::Offer, true, false, true, StartAction::ShowWindow},
        {SenderStart::Offer, true, false, false, StartAction::EndQuietly},
        {SenderStart::Offer, true, true, true, StartAction::SendSilently},
        {SenderStart::ByHand, true, true, true, StartAction::ShowWindow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(startAction(c.how, c.found, c.automatic, c.allowed), c.action)
            << int(c.how) << c.found << c.automatic << c.allowed;
}

TEST(SendRules, AllowOneUploadAnHourAndShowOnlyAPlainNumber)
{
    const std::int64_t t = 1'780'000'000;
    EXPECT_TRUE(uploadAllowed(std::nullopt, t));
    EXPECT_FALSE(uploadAllowed(t, t));
    EXPECT_FALSE(uploadAllowed(t - kUploadIntervalSeconds + 1, t));
    EXPECT_TRUE(uploadAllowed(t - kUploadIntervalSeconds, t));
    EXPECT_TRUE(uploadAllowed(t + 60, t)) << "a clock set back does not block uploads";

    EXPECT_EQ(reportIdFrom("20260601-120000-0badf00d\n"), "20260601-120000-0badf00d");
    EXPECT_EQ(reportIdFrom("  CrashID=bp-1234\r\nmore"), "CrashID=bp-1234");
    EXPECT_EQ(reportIdFrom("<b>\x1b[31m</b>"), "");
    EXPECT_EQ(reportIdFrom(std::string(129, 'x')), "");
    EXPECT_EQ(reportIdFrom(""), "");
}

class Sender : public ::testing::Test {
protected:
    ClientFolder folder;
    ReportStore store{folder.path()};
    SenderSettings settings{QString::fromStdString(folder.settings().string())};
    RecordingUpload upload;
    ManualWallClock clock;
    ReportDelivery delivery{store, settings, upload, clock, "http://house.test:8580", "6.7"};
};

TEST_F(Sender, PostsTheFieldsTheDumpAndTheReportAndDescribesExactlyThat)
{
    folder.crash();
    std::optional<PendingReport> report = store.fresh();
    ASSERT_TRUE(report);
    ASSERT_TRUE(delivery.keep(*report, "raising with aces"));
    const Delivery sent = delivery.send(*report);
    EXPECT_EQ(sent.result, Delivery::Result::Sent);
    EXPECT_EQ(sent.reportId, "20260601-120000-0badf00d");
    ASSERT_EQ(upload.posted.size(), 1u);
    EXPECT_EQ(upload.posted[0].url, "http://house.test:8580/crash-report");
    EXPECT_EQ(upload.posted[0].connectTimeoutMs, kTransferConnectTimeoutMs);
    EXPECT_EQ(upload.posted[0].stallTimeoutMs, kTransferStallTimeoutMs);
    const std::string id = settings.installationId();
    EXPECT_EQ(id.size(), 36u);
    const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
        {"prod", "Tessaly", ""}, {"ver", "6.7", ""}, {"guid", id, ""}, {"comments", "raising with aces", ""},
        {"upload_file_minidump", kSampleDump, "CRASH.DMP"}, {"upload_file_report", kSampleReport, "ERRORLOG.TXT"}};
    std::vector<std::tuple<std::string, std::string, std::string>> posted;
    for (const HttpFormPart& part : upload.posted[0].parts)
        posted.emplace_back(part.name, part.data, part.fileName);
    EXPECT_EQ(posted, expected);

    // Sent: the files are gone, the time is kept for the limit.
    EXPECT_FALSE(store.fresh());
    EXPECT_TRUE(folder.kept().empty());
    EXPECT_FALSE(unsentReportWaiting(folder.path()));
    EXPECT_EQ(settings.lastUpload(), clock.time);

    const std::string described = describeCrashForm(upload.posted[0].parts, delivery.url());
    const std::vector<std::string> shown = {"http://house.test:8580/crash-report", "prod = Tessaly", "ver = 6.7",
                                            "guid = " + id, "comments = raising with aces",
                                            std::to_string(kSampleDump.size()) + " bytes", kSampleReport};
    for (const std::string& text : shown)
        EXPECT_NE(described.find(text), std::string::npos) << text;
}

TEST_F(Sender, KeepsAReportThatCouldNotGoOutAndOffersItAgain)
{
    folder.crash();
    std::optional<PendingReport> report = store.fresh();
    ASSERT_TRUE(report);
    upload.answer = {false, 0, "", "Could not connect to server"};
    ASSERT_TRUE(delivery.keep(*report, "it froze at the river"));
    const Delivery offline = delivery.send(*report);
    EXPECT_EQ(offline.result, Delivery::Result::NotSent);
    EXPECT_EQ(offline.error, "Could not connect to server");
    EXPECT_TRUE(offline.kept);
    EXPECT_EQ(settings.lastUpload(), std::nullopt) << "nothing reached a server";
    EXPECT_FALSE(store.fresh()) << "moved out of the next crash's way";
    ASSERT_EQ(folder.kept().size(), 1u);
    EXPECT_TRUE(unsentReportWaiting(folder.path()));

    // While this sender holds it, no other one takes it.
    EXPECT_FALSE(store.takeOldestKept());
    report.reset();
    std::optional<PendingReport> again = store.takeOldestKept();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, kSampleReport);
    EXPECT_EQ(again->dump, kSampleDump);
    EXPECT_EQ(again->comments, "it froze at the river");

    // A server error counts against the limit and keeps the report too.
    upload.answer = {false, 500, "", "The server answered with HTTP status 500."};
    EXPECT_EQ(delivery.send(*again).result, Delivery::Result::NotSent);
    EXPECT_EQ(settings.lastUpload(), clock.time);
    EXPECT_TRUE(unsentReportWaiting(folder.path()));

    clock.time += kUploadIntervalSeconds;
    upload.answer = {true, 200, "42\n", ""};
    const Delivery sent = delivery.send(*again);
    EXPECT_EQ(sent.result, Delivery::Result::Sent);
    EXPECT_EQ(sent.reportId, "42");
    EXPECT_FALSE(unsentReportWaiting(folder.path()));
}

TEST_F(Sender, SendsAtMostOneReportAnHour)
{
    const auto crashAndSend = [&] {
        folder.crash();
        std::optional<PendingReport> report = store.fresh();
        EXPECT_TRUE(report && delivery.keep(*report, ""));
        return delivery.send(*report);
    };
    EXPECT_EQ(crashAndSend().result, Delivery::Result::Sent);
    const std::int64_t first = clock.time;
    clock.time += kUploadIntervalSeconds - 1;
    const Delivery limited = crashAndSend();
    EXPECT_EQ(limited.result, Delivery::Result::Limited);
    EXPECT_EQ(limited.nextUpload, first + kUploadIntervalSeconds);
    EXPECT_EQ(upload.posted.size(), 1u);
    EXPECT_EQ(folder.kept().size(), 1u);
    clock.time += 1;
    EXPECT_EQ(crashAndSend().result, Delivery::Result::Sent);
    EXPECT_EQ(upload.posted.size(), 2u);
    EXPECT_EQ(folder.kept().size(), 1u) << "the limited one still waits";
}

TEST_F(Sender, KeepsAtMostFiveReportsAndDropsTheOldestFirst)
{
    std::vector<std::filesystem::path> made;
    for (int i = 0; i < 7; ++i) {
        folder.crash("report " + std::to_string(i) + "\r\n");
        std::optional<PendingReport> report = store.fresh();
        ASSERT_TRUE(report && store.keep(*report, "", clock.time));
        made.push_back(report->folder);
    }
    // Kept in the same second, they get folders of their own, in order.
    EXPECT_EQ(made[0].filename().string(), "20260528-202640-001");
    EXPECT_EQ(made[6].filename().string(), "20260528-202640-007");
    std::vector<std::filesystem::path> kept = folder.kept();
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, std::vector<std::filesystem::path>(made.end() - kKeptReportsMax, made.end()));
    std::optional<PendingReport> oldest = store.takeOldestKept();
    ASSERT_TRUE(oldest);
    EXPECT_EQ(oldest->text, "report 2\r\n");
}

TEST_F(Sender, TakesAFreshReportWithoutItsDumpAndCutsAnOverlongOne)
{
    folder.crash(std::string(kReportReadMax + 10, 'r'), std::string(kDumpReadMax + 1, 'd'));
    const std::optional<PendingReport> report = store.fresh();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->text.size(), kReportReadMax);
    EXPECT_FALSE(report->dump) << "a dump larger than any crash writes is not sent";
    EXPECT_EQ(crashFormParts(*report, {}).size(), 5u);
}

} // namespace
} // namespace tessaly
