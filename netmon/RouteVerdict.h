#pragma once
// Where the trouble on a route is, in words a user can paste into a support
// ticket, from the figures of each hop.
//
// Loss: loss at the destination (or, when the trace never reached it, at
// the last hop) that starts at hop N and carries on to the end, each hop
// of the run losing at least half the end's share, is "packets are lost
// from hop N on". Loss at a hop before that, which the later hops do not
// show, is a router that answers only some of the echoes that die at it:
// "this router limits its replies; not a problem".
// Delay: an average at least kDelayStepMs above the previous answering
// hop's (0 before hop 1), where every later hop keeps at least half of that
// step, is "delay added at hop N". A step the later hops do not keep is a
// router slow to answer for itself and says nothing.

#include <string>
#include <vector>

namespace tessaly::netmon {

inline constexpr double kDelayStepMs = 20.0;

inline constexpr const char* kLimitsRepliesText = "this router limits its replies; not a problem";
inline constexpr const char* kRouteCleanText = "no loss and no added delay on this route";

// One hop's figures; hop number = position + 1.
struct HopFigures {
    int sent = 0;
    int lost = 0;
    double averageMs = 0;        // over the answered echoes; meaningless when none
    bool destination = false;    // answered by the traced server itself
};

struct RouteVerdict {
    std::vector<std::string> hops;   // one per hop, "" where nothing is to say
    std::string route;               // "" while no hop has figures
};

std::string lossFromText(int hop);    // "packets are lost from hop N on"
std::string delayAddedText(int hop);  // "delay added at hop N"

RouteVerdict judgeRoute(const std::vector<HopFigures>& hops);

} // namespace tessaly::netmon
