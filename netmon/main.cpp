// The program `Linkscope`: the network monitor. Without arguments it shows
// its window; `--report [--cycles N] [--json | --csv]` prints a report instead.

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "netmon/MonitorWindow.h"
#include "netmon/NameService.h"
#include "netmon/Report.h"

int main(int argc, char** argv)
{
    using namespace tessaly::netmon;
    std::string error;
    const std::optional<ReportOptions> report = parseReportArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!error.empty()) {
        std::cerr << "Linkscope: " << error << "\nusage: Linkscope [--report [--cycles N] [--json | --csv]]\n";
        return 2;
    }
    std::vector<ReferenceServer> servers = referenceServers(monitorHosts(std::getenv));
    SystemMonitorServices system;
    MonitorServices services = system.services();
    if (report) {
        resolveAll(servers, services.names);
        return runReport(servers, services, *report, std::cout);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkscope"));
    // The window is shown only once every lookup has answered.
    resolveAll(servers, services.names);
    dlgMonitor window(std::move(servers), services);
    window.exec();
    return 0;
}
