#pragma once
// The worker thread's work: fetch the mode's packages in order, install
// each over the install directory, start the client again, and tell the
// window through the progress record.
//
// Every notice goes through `boxes` from the worker thread; the program
// passes boxes that show themselves on the window's thread.
//
// When the install trusts update keys (InstallTrust), each package's
// signature is fetched and checked before the package is downloaded, and
// the package against it as it arrives; a refused package is never saved
// or unpacked: the refusal is shown and written to standard error, the
// refused versions are marked for the client (RefusedUpdate.h) and the
// client is started again as it was.

#include <atomic>
#include <mutex>
#include <string>

#include "client/net/RefusedUpdate.h"
#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"
#include "updater/HttpDownloader.h"
#include "updater/InstallTrust.h"
#include "updater/PackageVerifier.h"
#include "updater/UpgradeMode.h"
#include "updater/ZipExtractor.h"

namespace tessaly::updater {

struct UpgradePorts {
    HttpDownloader& downloader;
    MessageBoxes& boxes;
    ProcessLauncher& launcher;
    ProgressRecord& progress;
};

class UpgradeRun {
public:
    // webUrl without a trailing "/"; installDir where "value.zip" is saved,
    // the packages are unpacked and the client is started from; announced:
    // the numbers of the client's version check, when it passed them.
    UpgradeRun(std::string webUrl, std::string installDir, UpgradePorts ports,
               std::optional<AnnouncedVersions> announced = std::nullopt);

    void run(UpgradeMode mode);

    // Called from another thread when the program ends: an unpack that is
    // still staging stops and leaves the install as it was, one that is
    // renaming its files finishes first, and no other starts. The install
    // is whole when this returns.
    void stop();

private:
    enum class Step { Installed, Failed, Refused };
    // One package: info query, signature, download, save, unpack. `version`:
    // the version the package must carry, when known.
    Step installPackage(const char* path, bool incrementalStep, std::optional<double> version);
    // Tells why, marks the refused versions and starts the client.
    void refuse(const Refusal& refusal);
    // Starts the client; the run is finished either way.
    void startClient();
    void showProblem(const char* text);

    std::string webUrl_;
    std::string installDir_;
    UpgradePorts ports_;
    std::optional<AnnouncedVersions> announced_;
    InstallTrust trust_;
    ZipExtractor extractor_;
    std::mutex installing_;
    std::atomic<bool> stopping_{false};
};

} // namespace tessaly::updater
