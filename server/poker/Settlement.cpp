#include "server/poker/Settlement.h"

#include <algorithm>
#include <numeric>

namespace tessaly::house {

std::optional<UncalledBet> uncalledBet(const SeatChips& inFront)
{
    int top = -1;
    Chips second = 0;
    for (int s = 0; s < kMaxSeats; ++s) {
        const Chips f = inFront[s];
        if (top < 0 || f > inFront[top]) {
            if (top >= 0)
                second = std::max(second, inFront[top]);
            top = s;
        } else {
            second = std::max(second, f);
        }
    }
    if (top < 0 || inFront[top] <= second)
        return std::nullopt;
    return UncalledBet{top, inFront[top] - second};
}

Chips potTotal(const SeatChips& contributed)
{
    return std::accumulate(contributed.begin(), contributed.end(), Chips(0));
}

ShowdownResult settleShowdown(const std::array<std::array<int, 2>, kMaxSeats>& hole, const SeatChips& contributed,
                              const std::array<bool, kMaxSeats>& live, std::span<const int> board, int button)
{
    ShowdownResult r;
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!live[s])
            continue;
        int seven[7] = {hole[s][0], hole[s][1], board[0], board[1], board[2], board[3], board[4]};
        r.value[s] = evaluateSeven(seven);
    }
    const std::vector<Pot> pots = buildPots(contributed, live);
    r.pots = pots.size();
    for (std::size_t i = 0; i < pots.size(); ++i) {
        const Pot& pot = pots[i];
        HandValue best = 0;
        for (int s : pot.eligible)
            best = std::max(best, r.value[s]);
        std::vector<int> winners;
        for (int s : pot.eligible) {
            if (r.value[s] == best)
                winners.push_back(s);
        }
        for (const Share& share : splitPot(pot.amount, winners, button)) {
            r.won[share.seat] += share.amount;
            r.awards.push_back({share.seat, share.amount, i});
        }
    }
    return r;
}

} // namespace tessaly::house
