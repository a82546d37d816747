#include "server/poker/Pots.h"

#include <algorithm>

namespace tessaly::house {

std::vector<Pot> buildPots(const std::array<Chips, kMaxSeats>& contributed,
                           const std::array<bool, kMaxSeats>& live)
{
    std::vector<Chips> levels;
    for (int s = 0; s < kMaxSeats; ++s) {
        if (live[s] && contributed[s] > 0)
            levels.push_back(contributed[s]);
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    std::vector<Pot> pots;
    Chips previous = 0;
    for (Chips level : levels) {
        Pot pot;
        for (int s = 0; s < kMaxSeats; ++s) {
            pot.amount += std::min(contributed[s], level) - std::min(contributed[s], previous);
            if (live[s] && contributed[s] >= level)
                pot.eligible.push_back(s);
        }
        pots.push_back(std::move(pot));
        previous = level;
    }
    // Folded chips above every live seat's stake still belong to the last pot.
    Chips excess = 0;
    for (int s = 0; s < kMaxSeats; ++s)
        excess += std::max<Chips>(0, contributed[s] - previous);
    if (excess > 0 && !pots.empty())
        pots.back().amount += excess;
    return pots;
}

std::vector<Share> splitPot(Chips amount, std::vector<int> winners, int button)
{
    std::vector<Share> shares;
    if (winners.empty())
        return shares;
    // Seats in dealing order from the button's left.
    const auto distance = [button](int seat) { return (seat - button - 1 + 2 * kMaxSeats) % kMaxSeats; };
    std::sort(winners.begin(), winners.end(), [&](int a, int b) { return distance(a) < distance(b); });
    const Chips n = static_cast<Chips>(winners.size());
    const Chips each = amount / n;
    Chips odd = amount - each * n;
    for (int seat : winners) {
        shares.push_back({seat, each + (odd > 0 ? 1 : 0)});
        if (odd > 0)
            --odd;
    }
    return shares;
}

} // namespace tessaly::house
