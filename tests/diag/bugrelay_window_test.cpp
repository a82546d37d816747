// Bugrelay's window, offscreen, against the house server's web part on
// loopback: "Send and restart" posts the form the house stores (fields and
// both files), shows the number the house gives it and starts the client
// with its arguments; an offline send keeps the report, which the next
// start offers again; "Restart" sends nothing; "Close" at an offer deletes
// the report; the automatic choice is kept; every control has a name.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include "client/diag/bugrelay/BugrelayWindow.h"
#include "client/diag/bugrelay/SentFormDialog.h"
#include "tests/diag/BugrelayFixtures.h"
#include "tests/diag/HouseInbox.h"
#include "tests/support/AccessibleTree.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// A loopback port that nothing listens on.
int closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

void saveShot(QWidget& window, const char* name)
{
    const QByteArray dir = qgetenv("TESSALY_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

class BugrelayWindowTest : public ::testing::Test {
protected:
    std::vector<fs::path> stored() const { return house.stored(); }
    std::unique_ptr<ReportDelivery> deliveryTo(const std::string& url)
    {
        return std::make_unique<ReportDelivery>(store, settings, upload, clock, url, "6.7");
    }
    SenderCommand crashCommand() const { return {SenderStart::Crash, folder.client(), {"-style", "fusion"}}; }
    static QString status(BugrelayWindow& window) { return window.staticText(BugrelayWindow::kStatus)->text(); }

    ClientFolder folder;
    HouseInbox house{folder.path() / "house"};
    const std::string houseUrl = house.url();
    ReportStore store{folder.path()};
    SenderSettings settings{QString::fromStdString(folder.settings().string())};
    CurlHttpUpload upload;
    ManualWallClock clock;
    RecordingLauncher launcher;
};

TEST_F(BugrelayWindowTest, SendAndRestartPostsToTheHouseShowsTheNumberAndStartsTheClientAsItWas)
{
    folder.crash();
    const auto delivery = deliveryTo(houseUrl);
    BugrelayWindow window(crashCommand(), *store.fresh(), *delivery, settings, launcher);
    QSignalSpy ended(&window, &BugrelayWindow::ended);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessaly closed unexpectedly"));
    EXPECT_EQ(unnamedInteractiveControls(&window), std::vector<std::string>{});
    EXPECT_EQ(window.edit(BugrelayWindow::kComments)->accessibleName(), QStringLiteral("What were you doing? (optional)"));
    EXPECT_EQ(window.focusWidget(), window.edit(BugrelayWindow::kComments));
    QTest::keyClicks(window.edit(BugrelayWindow::kComments), QStringLiteral("all in with kings"));
    saveShot(window, "bugrelay-asks.png");

    // "Show what is sent": the fields with their values, the dump's size, the report.
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SentFormDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("What is sent"));
        EXPECT_EQ(unnamedInteractiveControls(dialog), std::vector<std::string>{});
        shown = dialog->multiLineEdit(SentFormDialog::kText)->toPlainText();
        saveShot(*dialog, "bugrelay-what-is-sent.png");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(window.button(BugrelayWindow::kShowSent), Qt::LeftButton);
    const std::string guid = settings.installationId();
    const std::vector<std::string> fields = {"comments = all in with kings", "guid = " + guid, "prod = Tessaly",
                                             std::to_string(kSampleDump.size()) + " bytes", houseUrl + "/crash-report"};
    for (const std::string& text : fields)
        EXPECT_TRUE(shown.contains(QString::fromStdString(text))) << text;
    EXPECT_TRUE(shown.contains(QString::fromStdString(kSampleReport).remove(QLatin1Char('\r'))));
    EXPECT_TRUE(stored().empty()) << "nothing goes out before the user chooses";

    QTest::mouseClick(window.button(BugrelayWindow::kSend), Qt::LeftButton);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, folder.client());
    EXPECT_EQ(launcher.started[0].arguments, (std::vector<std::string>{"-style", "fusion"}));
    ASSERT_TRUE(waitUntil([&] { return !window.sending(); }, 20000));
    ASSERT_EQ(stored().size(), 1u);
    const std::string id = stored()[0].filename().string();
    EXPECT_EQ(status(window), QStringLiteral("Thank you: the report was sent. Its number is %1.").arg(QString::fromStdString(id)));
    saveShot(window, "bugrelay-sent.png");
    EXPECT_EQ(readFile(stored()[0] / "fields.txt"),
              "prod=Tessaly\nver=6.7\nguid=" + guid + "\ncomments=all in with kings\n");
    EXPECT_EQ(readFile(stored()[0] / "upload_file_minidump"), kSampleDump);
    EXPECT_EQ(readFile(stored()[0] / "upload_file_report"), kSampleReport);
    // Sent: its files are gone, and nothing waits for the next start.
    EXPECT_FALSE(fs::exists(folder.path() / kCrashReportFile));
    EXPECT_FALSE(fs::exists(folder.path() / kCrashDumpFile));
    EXPECT_FALSE(unsentReportWaiting(folder.path()));
    EXPECT_FALSE(window.button(BugrelayWindow::kSend)->isEnabled());
    EXPECT_EQ(window.focusWidget(), window.staticText(BugrelayWindow::kStatus)) << "read out, and its number copied";

    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(BugrelayWindowTest, AnOfflineSendKeepsTheReportAndTheNextStartOffersItAgain)
{
    folder.crash();
    {
        const auto offline = deliveryTo("http://127.0.0.1:" + std::to_string(closedPort()));
        BugrelayWindow window(crashCommand(), *store.fresh(), *offline, settings, launcher);
        window.show();
        QTest::keyClicks(window.edit(BugrelayWindow::kComments), QStringLiteral("sitting out"));
        QTest::mouseClick(window.button(BugrelayWindow::kSend), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return !window.sending(); }, 20000));
        EXPECT_TRUE(status(window).startsWith(QStringLiteral("The report could not be sent (")));
        EXPECT_TRUE(status(window).endsWith(QStringLiteral("It is kept, and offered again at the next start of Tessaly.")));
        saveShot(window, "bugrelay-offline.png");
        EXPECT_EQ(launcher.started.size(), 1u) << "the client starts again all the same";
    }
    EXPECT_TRUE(unsentReportWaiting(folder.path()));

    // The next start: the kept report, with what the user wrote, offered with "Send".
    const auto delivery = deliveryTo(houseUrl);
    std::optional<PendingReport> kept = store.takeOldestKept();
    ASSERT_TRUE(kept);
    BugrelayWindow offer({SenderStart::Offer, folder.client(), {}}, std::move(*kept), *delivery, settings, launcher);
    offer.show();
    EXPECT_EQ(offer.staticText(BugrelayWindow::kHeading)->text(), QStringLiteral("Tessaly closed unexpectedly earlier."));
    EXPECT_EQ(offer.edit(BugrelayWindow::kComments)->text(), QStringLiteral("sitting out"));
    EXPECT_EQ(offer.button(BugrelayWindow::kSend)->text(), QStringLiteral("Send"));
    EXPECT_FALSE(offer.button(BugrelayWindow::kRestart)->isVisible());
    saveShot(offer, "bugrelay-offer.png");
    QTest::mouseClick(offer.button(BugrelayWindow::kSend), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !offer.sending(); }, 20000));
    EXPECT_TRUE(status(offer).startsWith(QStringLiteral("Thank you: the report was sent.")));
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_NE(readFile(stored()[0] / "fields.txt").find("comments=sitting out\n"), std::string::npos);
    EXPECT_FALSE(unsentReportWaiting(folder.path()));
    EXPECT_EQ(launcher.started.size(), 1u) << "an offer starts no client";
}

TEST_F(BugrelayWindowTest, RestartSendsNothingAndCloseAtAnOfferDeletesTheReport)
{
    folder.crash();
    const auto delivery = deliveryTo(houseUrl);
    {
        BugrelayWindow window(crashCommand(), *store.fresh(), *delivery, settings, launcher);
        window.show();
        launcher.succeeds = false;
        QTest::mouseClick(window.button(BugrelayWindow::kRestart), Qt::LeftButton);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(status(window), QStringLiteral("Tessaly could not be started again. "));
        launcher.succeeds = true;
        QTest::mouseClick(window.button(BugrelayWindow::kRestart), Qt::LeftButton);
        EXPECT_FALSE(window.isVisible());
        ASSERT_EQ(launcher.started.size(), 2u);
        EXPECT_EQ(launcher.started[1].arguments, (std::vector<std::string>{"-style", "fusion"}));
    }
    EXPECT_TRUE(stored().empty());
    EXPECT_TRUE(fs::exists(folder.path() / kCrashReportFile)) << "a report not sent stays beside the client";
    EXPECT_FALSE(unsentReportWaiting(folder.path())) << "and is not offered again";

    // A kept report declined at the offer is deleted, not offered at every start.
    std::optional<PendingReport> report = store.fresh();
    ASSERT_TRUE(report && store.keep(*report, "", clock.time));
    report.reset();
    BugrelayWindow offer({SenderStart::Offer, folder.client(), {}}, *store.takeOldestKept(), *delivery, settings, launcher);
    offer.show();
    QTest::keyClick(&offer, Qt::Key_Escape);
    EXPECT_FALSE(offer.isVisible());
    EXPECT_FALSE(unsentReportWaiting(folder.path()));
    EXPECT_TRUE(stored().empty());
}

TEST_F(BugrelayWindowTest, KeepsTheAutomaticChoiceInTheSettings)
{
    folder.crash();
    const auto delivery = deliveryTo(houseUrl);
    {
        BugrelayWindow window(crashCommand(), *store.fresh(), *delivery, settings, launcher);
        EXPECT_FALSE(window.checkBox(BugrelayWindow::kAutomatic)->isChecked());
        window.show();
        QTest::mouseClick(window.checkBox(BugrelayWindow::kAutomatic), Qt::LeftButton);
        EXPECT_TRUE(settings.sendAutomatically());
        QTest::mouseClick(window.button(2), Qt::LeftButton);
    }
    EXPECT_TRUE(stored().empty()) << "ticking the box sends nothing by itself";
    BugrelayWindow again(crashCommand(), *store.fresh(), *delivery, settings, launcher);
    EXPECT_TRUE(again.checkBox(BugrelayWindow::kAutomatic)->isChecked());
}

TEST(BugrelayDeliveryText, SaysHowTheSendingWent)
{
    Delivery delivery;
    delivery.result = Delivery::Result::Sent;
    EXPECT_EQ(deliveryText(delivery, {}), QStringLiteral("Thank you: the report was sent."));
    delivery.result = Delivery::Result::NotSent;
    delivery.error = "Couldn't connect to server";
    delivery.kept = false;
    EXPECT_EQ(deliveryText(delivery, QStringLiteral("/opt/t")),
              QStringLiteral("The report could not be sent (Couldn't connect to server). It could not be kept for "
                             "later either: the folder /opt/t cannot be written."));
    delivery.result = Delivery::Result::Limited;
    delivery.kept = true;
    delivery.nextUpload = 1'780'000'000;
    EXPECT_EQ(deliveryText(delivery, {}),
              QStringLiteral("A report was sent less than an hour ago, so this one was not sent now. Tessaly offers "
                             "it again when it starts after %1.")
                  .arg(QDateTime::fromSecsSinceEpoch(1'780'000'000).toString(QStringLiteral("HH:mm"))));
}

} // namespace
} // namespace tessaly
