#pragma once
// The steps of the lobby's initialisation that decide whether the client
// runs at all: the version files, the program directory, the version
// decision with the updater launch, and the latency gate.
//
// The lobby calls them in this order between its own steps:
//   readVersionFiles()       after "LIST_TABLES" is sent
//   (timers, settings file)
//   enterProgramDirectory()
//   runVersionDecision()     stop initialising when it returns true
//   (screen scale)
//   runLatencyGate(lobby)    stop initialising when it returns true
//   (login dialog, visual set-up)
// Everything the steps touch is passed in, so tests replace the network,
// the message boxes, the program start and the process exit.

#include <optional>
#include <string>

#include "client/net/ClientConfig.h"
#include "client/net/LatencyProbe.h"
#include "client/net/SystemProbeClock.h"
#include "platform/MessageBoxes.h"
#include "platform/icmp/IcmpNetwork.h"
#include "platform/sys/Process.h"
#include "platform/web/HttpClient.h"

namespace tessaly {

inline constexpr const char* kUpdaterProgram = "Loomrise";
inline constexpr const char* kUpdaterStartFailedMessage = "Unable to start from lobby client!";
inline constexpr const char* kProgramCaption = "Tessaly";

struct StartupPorts {
    HttpClient& http;
    MessageBoxes& boxes;
    ProcessLauncher& launcher;
    ProcessExit& exit;
    LatencyProbe& probe;
};

// The system's side of every port but the message boxes, which are the
// dialog layer's: libcurl, the ICMP socket and clock, program start, exit.
struct SystemStartupServices {
    CurlHttpClient http;
    SystemIcmpNetwork network;
    SystemProbeClock clock;
    LatencyProbe probe{network, clock};
    DetachedProcessLauncher launcher;
    SystemProcessExit exit;

    StartupPorts ports(MessageBoxes& boxes) { return StartupPorts{http, boxes, launcher, exit, probe}; }
};

class StartupSequence {
public:
    // programPath: the client's own file, as the application reports it.
    StartupSequence(ClientConfig config, std::string programPath, StartupPorts ports);

    // V from version.txt, then U from upgrade.txt; each failed read shows its
    // warning box and counts as 0.
    void readVersionFiles();

    // The program's directory becomes the current directory.
    void enterProgramDirectory();

    // Starts the updater with its word and the two numbers read when the
    // client is out of date, then ends the process with exit code 1, whether
    // the start worked or not. True when the process was told to end. An
    // update that the updater refused for the same two numbers is not tried
    // again: the client goes on as it is.
    bool runVersionDecision();

    // Probes the reference host once; a valid reply slower than 1,000 ms
    // shows the refusal, owned by the lobby, and ends the process with exit
    // code 1. True when the process was told to end.
    bool runLatencyGate(QWidget* lobby);

    double versionNumber() const { return version_; }
    double upgradeNumber() const { return upgrade_; }
    // The updater's path: "Loomrise" beside the client.
    std::string updaterPath() const;

private:
    bool updateRefusedBefore() const;

    ClientConfig config_;
    std::string programPath_;
    StartupPorts ports_;
    double version_ = 0.0;
    double upgrade_ = 0.0;
};

} // namespace tessaly
