#include "updater/UpgradeRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "client/net/ClientVersion.h"
#include "platform/sys/Trace.h"
#include "updater/PackageDigest.h"
#include "updater/StagedInstall.h"
#include "updater/UpdaterTexts.h"
#include "updater/WriteAll.h"

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

// Writes a small file whole under its name, or leaves the old one: a
// temporary file beside it is renamed over it.
void replaceFile(const std::string& path, std::string_view text)
{
    const std::string temporary = path + ".new";
    ::unlink(temporary.c_str());
    if (!savePackage(temporary, text) || ::rename(temporary.c_str(), path.c_str()) != 0) {
        trace("cannot write %s", path.c_str());
        ::unlink(temporary.c_str());
    }
}

} // namespace

UpgradeRun::UpgradeRun(std::string webUrl, std::string installDir, UpgradePorts ports,
                       std::optional<AnnouncedVersions> announced)
    : webUrl_(std::move(webUrl)), installDir_(std::move(installDir)), ports_(ports), announced_(announced)
{
}

void UpgradeRun::run(UpgradeMode mode)
{
    StagedInstall::clearLeftovers(installDir_);
    trust_ = InstallTrust::readFrom(installDir_);
    const std::optional<double> fullVersion = announced_ ? std::optional(announced_->version) : std::nullopt;
    const std::optional<double> upgradeVersion = announced_ ? std::optional(announced_->upgrade) : std::nullopt;
    switch (mode) {
    case UpgradeMode::Base:
        if (installPackage(kFullPackagePath, false, fullVersion) == Step::Installed)
            startClient();
        break;
    case UpgradeMode::Incremental:
        if (installPackage(kIncrementalPackagePath, true, upgradeVersion) == Step::Installed)
            startClient();
        break;
    case UpgradeMode::Full:
        if (installPackage(kFullPackagePath, false, fullVersion) == Step::Installed) {
            if (installPackage(kIncrementalPackagePath, true, upgradeVersion) == Step::Installed)
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

void UpgradeRun::refuse(const Refusal& refusal)
{
    const std::string message = refusalMessage(refusal);
    std::string line = message;
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::fprintf(stderr, "%s: %s\n", kProgramName, line.c_str());
    std::remove((installDir_ + "/" + kPackageFile).c_str());
    // The client that starts again is still out of date: the marker keeps it
    // from starting the updater again for the same versions.
    if (announced_)
        replaceFile(installDir_ + "/" + kRefusedUpdateFile, refusedUpdateMarker(*announced_));
    ports_.boxes.show(BoxRequest{message, kProgramName, BoxIcon::Exclamation});
    startClient();
}

UpgradeRun::Step UpgradeRun::installPackage(const char* path, bool incrementalStep, std::optional<double> version)
{
    const std::string url = webUrl_ + path;
    const PackageInfo info = ports_.downloader.queryInfo(url);
    if (!info.ok)
        ports_.boxes.show(BoxRequest{kInfoQueryFailedMessage, {}});
    ports_.progress.packageSize = info.size;

    // Everything the signature says is checked before the package comes.
    std::optional<PackageVerifier> verifier;
    bool downloaded = true;
    if (trust_.requiresSignatures()) {
        verifier.emplace(trust_.keys(), VersionRule{kClientVersion, version});
        const HttpDownloader::SignatureFetch signature = ports_.downloader.fetchSignature(url);
        downloaded = signature.outcome != HttpDownloader::SignatureFetch::Failed;
        if (downloaded) {
            const bool found = signature.outcome == HttpDownloader::SignatureFetch::Found;
            if (const std::optional<Refusal> refusal =
                    verifier->acceptSignature(found ? std::optional<std::string_view>(signature.text) : std::nullopt)) {
                refuse(*refusal);
                return Step::Refused;
            }
        }
    }

    PackageBuffer package;
    PackageDigest digest;
    downloaded = downloaded && ports_.downloader.download(url, package, verifier ? &digest : nullptr);
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
        return Step::Failed;
    }

    // An error page leaves the size at 0, so nothing of it is saved; a
    // server that sends no length at all with a good answer is taken whole.
    const std::size_t length = info.ok && !info.sizeKnown ? package.size() : info.size;
    // The signature covers every byte that came; a length that differs
    // would install other bytes than the ones checked.
    if (verifier) {
        std::optional<Refusal> refusal = verifier->acceptPackage(digest.finish(), package.view());
        if (!refusal && length != package.size())
            refusal = Refusal{UpdateRefusal::BadSignature, std::nullopt, VersionRule{kClientVersion, version}};
        if (refusal) {
            refuse(*refusal);
            return Step::Refused;
        }
    }
    const std::string packagePath = installDir_ + "/" + kPackageFile;
    if (!savePackage(packagePath, package.view().substr(0, length)))
        trace("cannot write %s", packagePath.c_str());
    trace("%s: %zu bytes saved as %s", url.c_str(), length, kPackageFile);
    package.release();
    ports_.progress.installPhase = kPhaseInstalling;

    std::unique_lock installing(installing_);
    if (stopping_)
        return Step::Failed;
    if (!extractor_.open(packagePath)) {
        installing.unlock();
        showProblem(kNotAZipMessage);
        return Step::Failed;
    }
    if (!extractor_.extractAll(installDir_, &stopping_)) {
        trace("unpacking %s failed: %s", url.c_str(), extractor_.lastError().c_str());
        extractor_.close();
        installing.unlock();
        showProblem(kUnzipFailedMessage);
        return Step::Failed;
    }
    extractor_.close();
    std::remove(packagePath.c_str());
    std::remove((installDir_ + "/" + kRefusedUpdateFile).c_str());
    trace("%s: unpacked", url.c_str());
    return Step::Installed;
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
