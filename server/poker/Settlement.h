#pragma once
// How a hand's chips are settled, as pure rules: the uncalled part of the
// last bet, and who wins what at a showdown (main and side pots, ties,
// odd chips). The table turns the results into lines and stacks.

#include "server/poker/Chips.h"
#include "server/poker/HandEvaluator.h"
#include "server/poker/Pots.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace tessaly::house {

using SeatChips = std::array<Chips, kMaxSeats>;

struct UncalledBet {
    int seat;
    Chips amount;
};

// inFront: every seat's bet in the round that has just ended. The largest
// bet less the second largest goes back to its seat (the lowest seat when
// two bets tie at the top, which leaves nothing uncalled).
std::optional<UncalledBet> uncalledBet(const SeatChips& inFront);

// Every chip in the middle.
Chips potTotal(const SeatChips& contributed);

struct Award {
    int seat;
    Chips amount;
    std::size_t pot; // 0 the main pot, then the side pots in order
};

struct ShowdownResult {
    std::array<HandValue, kMaxSeats> value{}; // live seats only
    std::vector<Award> awards;                // pot by pot, each pot's shares from the button's left
    SeatChips won{};
    std::size_t pots = 0;
};

// hole: every seat's cards; contributed: its chips in the middle this hand
// (folded seats included); live: still in; board: the five cards. Each
// pot goes to the best hand among the seats that can win it, split on ties
// with the odd chips from the button's left.
ShowdownResult settleShowdown(const std::array<std::array<int, 2>, kMaxSeats>& hole, const SeatChips& contributed,
                              const std::array<bool, kMaxSeats>& live, std::span<const int> board, int button);

} // namespace tessaly::house
