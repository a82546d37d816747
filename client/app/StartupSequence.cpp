#include "client/app/StartupSequence.h"

#include "client/app/ProgramDirectory.h"
#include "client/app/VersionCheck.h"
#include "client/app/VersionFileReader.h"
#include "client/net/RefusedUpdate.h"
#include "platform/sys/Trace.h"

#include <fstream>
#include <iterator>

namespace tessaly {

StartupSequence::StartupSequence(ClientConfig config, std::string programPath, StartupPorts ports)
    : config_(std::move(config)), programPath_(std::move(programPath)), ports_(ports)
{
}

void StartupSequence::readVersionFiles()
{
    VersionFileReader reader(ports_.http, ports_.boxes, config_.webUrl);
    version_ = reader.read(kVersionFilePath);
    upgrade_ = reader.read(kUpgradeFilePath);
}

void StartupSequence::enterProgramDirectory()
{
    if (!tessaly::enterProgramDirectory(programPath_))
        trace("cannot enter the program directory of %s", programPath_.c_str());
}

std::string StartupSequence::updaterPath() const
{
    // "./" keeps a bare name from being looked up on PATH.
    return programDirectoryOf(programPath_).value_or(".") + "/" + kUpdaterProgram;
}

bool StartupSequence::updateRefusedBefore() const
{
    const std::string marker = programDirectoryOf(programPath_).value_or(".") + "/" + kRefusedUpdateFile;
    std::ifstream in(marker, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return !text.empty() && text == refusedUpdateMarker({version_, upgrade_});
}

bool StartupSequence::runVersionDecision()
{
    const std::optional<UpgradeKind> kind = decideUpgrade(kClientVersion, version_, upgrade_);
    if (!kind)
        return false;
    // The updater refused these versions' packages and told the user why;
    // starting it again would only refuse them again, in a loop.
    if (updateRefusedBefore()) {
        trace("the update to %g/%g was refused before: the client goes on as it is", version_, upgrade_);
        return false;
    }
    if (!ports_.launcher.start(updaterPath(),
                               {upgradeWord(*kind), versionNumberText(version_), versionNumberText(upgrade_)}))
        ports_.boxes.show(BoxRequest{kUpdaterStartFailedMessage, kProgramCaption});
    ports_.exit.exitProcess(1);
    return true;
}

bool StartupSequence::runLatencyGate(QWidget* lobby)
{
    ProbeResult result;
    const bool probed = ports_.probe.probe(config_.probeHost, result, kGateProbeCount, kGateTimeoutMs,
                                           kGatePayloadSize);
    if (!probed)
        trace("latency probe to %s failed, error %d", config_.probeHost.c_str(), ports_.probe.lastError());
    if (!latencyGateRefuses(probed, result))
        return false;
    BoxRequest box{kSlowConnectionMessage, kSlowConnectionCaption, BoxIcon::Information};
    box.owner = lobby;
    ports_.boxes.show(box);
    ports_.exit.exitProcess(1);
    return true;
}

} // namespace tessaly
