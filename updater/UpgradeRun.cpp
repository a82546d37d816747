#include "updater/UpgradeRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/sys/Trace.h"
#include "updater/UpdaterTexts.h"
#include "platform/sys/WriteAll.h"

namespace tessaly::updater {
namespace {

// Writes the package file whole, replacing an old one; false when the
// file cannot be written completely. The old one goes first and the new
// one is made afresh, so a symbolic link left in its place is replaced,
// never written through.
bool savePackage(const std::string& path, std::string_view data)
{
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, data);
    return ::close(fd) == 0 && written;
}

} // namespace

UpgradeRun::UpgradeRun(std::string webUrl, std::string installDir, UpgradePorts ports)
    : webUrl_(std::move(webUrl)), installDir_(std::move(installDir)), ports_(ports)
{
}

void UpgradeRun::run(UpgradeMode mode)
{
    switch (mode) {
    case UpgradeMode::Base:
        if (installPackage(kFullPackagePath, false))
            startClient();
        break;
    case UpgradeMode::Incremental:
        if (installPackage(kIncrementalPackagePath, true))
            startClient();
        break;
    case UpgradeMode::Full:
        if (installPackage(kFullPackagePath, false)) {
            if (installPackage(kIncrementalPackagePath, true))
                startClient();
            ports_.progress.installPhase = kPhaseFinished;
        }
        break;
    case UpgradeMode::None:
        break;
    }
}

void UpgradeRun::showProblem(const char* text)
{
    ports_.boxes.show(BoxRequest{text, kProgramName, BoxIcon::Exclamation});
}

bool UpgradeRun::installPackage(const char* path, bool incrementalStep)
{
    const std::string url = webUrl_ + path;
    const PackageInfo info = ports_.downloader.queryInfo(url);
    if (!info.ok)
        ports_.boxes.show(BoxRequest{kInfoQueryFailedMessage, {}});
    ports_.progress.packageSize = info.size;

    PackageBuffer package;
    bool downloaded = ports_.downloader.download(url, package);
    // A body shorter than the size the info query announced is a broken
    // download too: only the bytes that came exist to be written.
    if (downloaded && package.size() < info.size) {
        trace("%s: %zu of %u bytes arrived", url.c_str(), package.size(), info.size);
        downloaded = false;
    }
    if (!downloaded) {
        trace("download of %s failed: %s", url.c_str(), ports_.downloader.lastError().c_str());
        if (incrementalStep)
            ports_.boxes.show(BoxRequest{kDownloadFailedMessage, {}});
        return false;
    }

    // An error page leaves the size at 0, so nothing of it is saved; a
    // server that sends no length at all with a good answer is taken whole.
    const std::size_t length = info.ok && !info.sizeKnown ? package.size() : info.size;
    const std::string packagePath = installDir_ + "/" + kPackageFile;
    if (!savePackage(packagePath, package.view().substr(0, length)))
        trace("cannot write %s", packagePath.c_str());
    trace("%s: %zu bytes saved as %s", url.c_str(), length, kPackageFile);
    package.release();
    ports_.progress.installPhase = kPhaseInstalling;

    std::unique_lock installing(installing_);
    if (stopping_)
        return false;
    if (!extractor_.open(packagePath)) {
        installing.unlock();
        showProblem(kNotAZipMessage);
        return false;
    }
    if (!extractor_.extractAll(installDir_, &stopping_)) {
        trace("unpacking %s failed: %s", url.c_str(), extractor_.lastError().c_str());
        extractor_.close();
        installing.unlock();
        showProblem(kUnzipFailedMessage);
        return false;
    }
    extractor_.close();
    std::remove(packagePath.c_str());
    trace("%s: unpacked", url.c_str());
    return true;
}

void UpgradeRun::stop()
{
    stopping_ = true;
    const std::lock_guard wait(installing_);
}

void UpgradeRun::startClient()
{
    const std::string client = installDir_ + "/" + kClientProgram;
    if (!ports_.launcher.start(client, {}))
        showProblem(kClientStartFailedMessage);
    ports_.progress.installPhase = kPhaseFinished;
}

} // namespace tessaly::updater
