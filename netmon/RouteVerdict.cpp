#include "netmon/RouteVerdict.h"

#include <cstddef>

namespace tessaly::netmon {
namespace {

double lossPercent(const HopFigures& hop)
{
    return hop.sent == 0 ? 0.0 : hop.lost * 100.0 / hop.sent;
}

bool answered(const HopFigures& hop)
{
    return hop.sent > hop.lost;
}

void add(std::string& text, const std::string& finding, const char* separator)
{
    text += (text.empty() ? "" : separator) + finding;
}

// The hop (0-based) where the loss seen at the end of the route starts, or
// -1 when the end loses nothing.
int lossStart(const std::vector<HopFigures>& hops, std::size_t end)
{
    if (hops[end].lost == 0)
        return -1;
    const double floor = lossPercent(hops[end]) / 2;
    std::size_t start = end;
    while (start > 0 && hops[start - 1].sent > 0 && hops[start - 1].lost > 0 && lossPercent(hops[start - 1]) >= floor)
        --start;
    return static_cast<int>(start);
}

bool keepsDelay(const std::vector<HopFigures>& hops, std::size_t from, std::size_t end, double level)
{
    for (std::size_t k = from; k <= end; ++k)
        if (answered(hops[k]) && hops[k].averageMs < level)
            return false;
    return true;
}

} // namespace

std::string lossFromText(int hop)
{
    return "packets are lost from hop " + std::to_string(hop) + " on";
}

std::string delayAddedText(int hop)
{
    return "delay added at hop " + std::to_string(hop);
}

RouteVerdict judgeRoute(const std::vector<HopFigures>& hops)
{
    RouteVerdict verdict;
    verdict.hops.resize(hops.size());
    // The end of the route: the destination, else the last hop measured.
    std::size_t end = hops.size();
    for (std::size_t h = 0; h < hops.size(); ++h) {
        if (hops[h].sent > 0)
            end = h;
        if (hops[h].destination && hops[h].sent > 0)
            break;
    }
    if (end == hops.size())
        return verdict;

    std::string findings;
    const int start = lossStart(hops, end);
    const std::size_t carried = start < 0 ? end : static_cast<std::size_t>(start);
    for (std::size_t h = 0; h < carried; ++h) {
        if (hops[h].lost == 0)
            continue;
        verdict.hops[h] = kLimitsRepliesText;
        add(findings, "hop " + std::to_string(h + 1) + ": " + kLimitsRepliesText, " | ");
    }
    if (start >= 0) {
        verdict.hops[static_cast<std::size_t>(start)] = lossFromText(start + 1);
        add(findings, lossFromText(start + 1), " | ");
    }

    double base = 0;
    for (std::size_t h = 0; h <= end; ++h) {
        if (!answered(hops[h]))
            continue;
        const double step = hops[h].averageMs - base;
        if (step >= kDelayStepMs && keepsDelay(hops, h, end, base + step / 2)) {
            add(verdict.hops[h], delayAddedText(static_cast<int>(h) + 1), "; ");
            add(findings, delayAddedText(static_cast<int>(h) + 1), " | ");
        }
        base = hops[h].averageMs;
    }
    verdict.route = findings.empty() ? kRouteCleanText : findings;
    return verdict;
}

} // namespace tessaly::netmon
