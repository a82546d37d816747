#pragma once
// The program Loomrise put together: the command line chooses the mode (or
// the usage box), the window opens and the worker thread runs the upgrade.
//
//     UpdaterProgram program({commandLine, webUrl, installDir}, ports);
//     if (program.open())
//         program.window()->exec();

#include <memory>
#include <string>
#include <thread>

#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"
#include "platform/web/HttpStream.h"
#include "updater/HttpDownloader.h"
#include "updater/UpgradeMode.h"
#include "updater/UpgradeProgressWindow.h"
#include "updater/UpgradeRun.h"

namespace tessaly::updater {

struct UpdaterSettings {
    std::string commandLine;   // the text after the program name: the mode's word, and the
                               // version check's two numbers when the client passed them
    std::string webUrl;        // without a trailing "/"
    std::string installDir;
};

struct UpdaterPorts {
    MessageBoxes& boxes;       // must be callable from the worker thread
    ProcessLauncher& launcher;
    HttpStream& http;
    WallClock clock = systemWallClock();
};

class UpdaterProgram {
public:
    UpdaterProgram(UpdaterSettings settings, UpdaterPorts ports);
    // Waits for the worker: only tests get here, the program ends without
    // waiting for anything.
    ~UpdaterProgram();
    UpdaterProgram(const UpdaterProgram&) = delete;
    UpdaterProgram& operator=(const UpdaterProgram&) = delete;

    // Shows the usage box and gives false when the command line names no
    // mode; otherwise opens the window, which starts the worker.
    bool open();

    // Before the program ends: leaves the install whole (UpgradeRun::stop).
    void stop() { run_.stop(); }

    UpgradeMode mode() const { return mode_; }
    dlgUpgradeProgress* window() const { return window_.get(); }
    const ProgressRecord& progress() const { return progress_; }

private:
    UpdaterSettings settings_;
    UpdaterPorts ports_;
    UpgradeMode mode_ = UpgradeMode::None;
    ProgressRecord progress_;
    HttpDownloader downloader_;
    UpgradeRun run_;
    std::unique_ptr<dlgUpgradeProgress> window_;
    std::thread worker_;
};

// argv[1..] as the one command line they were on, joined by blanks.
std::string commandLineOf(int argc, char** argv);

} // namespace tessaly::updater
