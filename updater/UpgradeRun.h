#pragma once
// The worker thread's work: fetch the mode's packages in order, install
// each over the install directory, start the client again, and tell the
// window through the progress record.
//
// Every notice goes through `boxes` from the worker thread; the program
// passes boxes that show themselves on the window's thread.

#include <atomic>
#include <mutex>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"
#include "updater/HttpDownloader.h"
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
    // the packages are unpacked and the client is started from.
    UpgradeRun(std::string webUrl, std::string installDir, UpgradePorts ports);

    void run(UpgradeMode mode);

    // Called from another thread when the program ends: an unpack that is
    // still staging stops and leaves the install as it was, one that is
    // renaming its files finishes first, and no other starts. The install
    // is whole when this returns.
    void stop();

private:
    // One package: info query, download, save, unpack. True when unpacked.
    bool installPackage(const char* path, bool incrementalStep);
    // Starts the client; the run is finished either way.
    void startClient();
    void showProblem(const char* text);

    std::string webUrl_;
    std::string installDir_;
    UpgradePorts ports_;
    ZipExtractor extractor_;
    std::mutex installing_;
    std::atomic<bool> stopping_{false};
};

} // namespace tessaly::updater
