#include "updater/ProgressTexts.h"

#include <algorithm>

#include "platform/sys/CLocale.h"
#include "updater/ProgressRecord.h"
#include "updater/UpdaterTexts.h"

namespace tessaly::updater {

std::optional<float> downloadPercent(std::int32_t bytesRead, std::uint32_t packageSize)
{
    if (bytesRead == 0 || packageSize == 0)
        return std::nullopt;
    return static_cast<float>(bytesRead) / static_cast<float>(packageSize) * 100.0f;
}

int progressPosition(float percent)
{
    return static_cast<int>(std::clamp(percent, 0.0f, 100.0f));
}

std::string statusLine(std::int32_t installPhase, double rate)
{
    if (installPhase == kPhaseInstalling)
        return kInstallingStatus;
    return formatC("Downloading rate: (%0.1f Kb/s)", rate);
}

DownloadReading downloadReading(std::int64_t total, std::int64_t elapsedSeconds)
{
    const long long bytes = total;
    if (elapsedSeconds > 0) {
        const double rate = static_cast<double>(total) / 1024.0 / static_cast<double>(elapsedSeconds);
        return {formatC("Read %lld bytes (%0.1f Kb/s)", bytes, rate), rate};
    }
    return {formatC("Read %lld bytes", bytes), static_cast<double>(total) / 1024.0};
}

std::optional<std::string> stageText(const HttpStageInfo& info)
{
    switch (info.stage) {
    case HttpStage::ResolvingName:
        return "Resolving name for " + info.host;
    case HttpStage::NameResolved:
        return "Resolved name for " + info.host;
    case HttpStage::ConnectingToServer:
        return std::string("Connecting to socket address ");
    case HttpStage::ConnectedToServer:
        return std::string("Connected to socket address");
    case HttpStage::SendingRequest:
        return std::string("Sending request...");
    case HttpStage::RequestSent:
        return std::string("Request sent");
    case HttpStage::ResponseReceived:
        return std::string("Response received");
    case HttpStage::ClosingConnection:
        return std::string("Closing the connection to the server");
    case HttpStage::ConnectionClosed:
        return std::string("Connection to the server closed");
    case HttpStage::HandleCreated:
        return std::string();
    case HttpStage::RequestComplete:
        return formatC("Request complete, dwResult = %8.8X, dwError = %8.8X", info.result, info.error);
    case HttpStage::ReceivingResponse:
    case HttpStage::HandleClosing:
        return std::nullopt;
    }
    return formatC("Unknown status: %d", static_cast<int>(info.stage));
}

} // namespace tessaly::updater
