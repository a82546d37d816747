#pragma once
// Main and side pots from what each seat has put in, and the split of a pot
// between tied winners.

#include "server/poker/Chips.h"

#include <array>
#include <vector>

namespace tessaly::house {

constexpr int kMaxSeats = 10;

struct Pot {
    Chips amount = 0;
    std::vector<int> eligible; // seats still in the hand that can win it
};

// contributed: every seat's chips in the middle this hand (folded seats
// included); live: the seat has not folded. Main pot first.
std::vector<Pot> buildPots(const std::array<Chips, kMaxSeats>& contributed,
                           const std::array<bool, kMaxSeats>& live);

struct Share {
    int seat;
    Chips amount;
};

// Equal shares; the odd cents go one each to the winners nearest the
// button's left, as a dealer would hand them out.
std::vector<Share> splitPot(Chips amount, std::vector<int> winners, int button);

} // namespace tessaly::house
