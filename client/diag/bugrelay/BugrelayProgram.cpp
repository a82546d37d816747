#include "client/diag/bugrelay/BugrelayProgram.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>

#include "client/diag/CrashReportFiles.h"
#include "client/diag/bugrelay/BugrelayWindow.h"
#include "client/net/ClientConfig.h"
#include "client/net/ClientVersion.h"
#include "platform/sys/CLocale.h"
#include "platform/sys/Process.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

std::optional<PendingReport> reportFor(SenderStart how, const ReportStore& store)
{
    if (how == SenderStart::Offer)
        return store.takeOldestKept();
    std::optional<PendingReport> report = store.fresh();
    if (!report && how == SenderStart::ByHand)
        report = store.takeOldestKept();
    return report;
}

} // namespace

int runBugrelay(int argc, char** argv)
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const SenderCommand command = parseSenderCommand(
        std::vector<std::string>(argv + 1, argv + argc), (self.parent_path() / "Tessaly").string());
    const ReportStore store(fs::path(command.clientPath).parent_path());
    std::optional<PendingReport> report = reportFor(command.how, store);

    SenderSettings settings;
    const SystemWallClock clock;
    CurlHttpUpload upload;
    ReportDelivery delivery(store, settings, upload, clock, clientConfigFromEnvironment().webUrl,
                            formatC("%g", kClientVersion));
    switch (startAction(command.how, report.has_value(), settings.sendAutomatically(),
                        uploadAllowed(settings.lastUpload(), clock.now()))) {
    case StartAction::NothingToSend:
        std::printf("There is no crash report of Tessaly to send.\n");
        return 0;
    case StartAction::EndQuietly:
        return 0;
    case StartAction::SendSilently: {
        delivery.keep(*report, report->comments);
        const Delivery sent = delivery.send(*report);
        std::printf("%s\n", deliveryText(sent, QString::fromStdString(report->folder.string())).toUtf8().constData());
        return 0;
    }
    case StartAction::ShowWindow:
        break;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Bugrelay"));
    QApplication::setQuitOnLastWindowClosed(false);
    DetachedProcessLauncher launcher;
    BugrelayWindow window(command, std::move(*report), delivery, settings, launcher);
    QObject::connect(&window, &BugrelayWindow::ended, &app, &QApplication::quit);
    window.show();
    return app.exec();
}

} // namespace tessaly
