#include "updater/UpdaterProgram.h"

#include "updater/UpdaterTexts.h"

namespace tessaly::updater {

UpdaterProgram::UpdaterProgram(UpdaterSettings settings, UpdaterPorts ports)
    : settings_(std::move(settings)),
      ports_(ports),
      mode_(upgradeModeFrom(settings_.commandLine)),
      downloader_(ports_.http, progress_, ports_.clock),
      run_(settings_.webUrl, settings_.installDir, {downloader_, ports_.boxes, ports_.launcher, progress_},
           announcedVersionsFrom(settings_.commandLine))
{
}

UpdaterProgram::~UpdaterProgram()
{
    if (worker_.joinable())
        worker_.join();
}

bool UpdaterProgram::open()
{
    if (settings_.commandLine.empty() || mode_ == UpgradeMode::None) {
        ports_.boxes.show(BoxRequest{kUsageMessage, kProgramName, BoxIcon::Exclamation});
        return false;
    }
    window_ = std::make_unique<dlgUpgradeProgress>(progress_, [this] {
        worker_ = std::thread([this] { run_.run(mode_); });
    });
    window_->show();
    return true;
}

std::string commandLineOf(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

} // namespace tessaly::updater
