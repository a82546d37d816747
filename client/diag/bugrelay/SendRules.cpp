#include "client/diag/bugrelay/SendRules.h"

#include <algorithm>

namespace tessaly {

SenderCommand parseSenderCommand(const std::vector<std::string>& args, const std::string& besideClient)
{
    if (args.empty())
        return {SenderStart::ByHand, besideClient, {}};
    if (args.front() == "--kept")
        return {SenderStart::Offer, args.size() > 1 ? args[1] : besideClient, {}};
    return {SenderStart::Crash, args.front(), {args.begin() + 1, args.end()}};
}

StartAction startAction(SenderStart how, bool reportFound, bool sendAutomatically, bool uploadAllowedNow)
{
    if (!reportFound)
        return how == SenderStart::Offer ? StartAction::EndQuietly : StartAction::NothingToSend;
    if (how == SenderStart::ByHand)
        return StartAction::ShowWindow;
    if (sendAutomatically)
        return StartAction::SendSilently;
    if (how == SenderStart::Offer && !uploadAllowedNow)
        return StartAction::EndQuietly;
    return StartAction::ShowWindow;
}

bool uploadAllowed(std::optional<std::int64_t> lastUpload, std::int64_t now)
{
    return !lastUpload || now >= *lastUpload + kUploadIntervalSeconds || now < *lastUpload;
}

std::string reportIdFrom(std::string_view body)
{
    std::string_view line = body.substr(0, body.find('\n'));
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    const bool printable = std::all_of(line.begin(), line.end(), [](char c) { return c >= 32 && c <= 126; });
    return printable && line.size() <= 128 ? std::string(line) : std::string();
}

} // namespace tessaly
