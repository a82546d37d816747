#pragma once
// Best five-card poker hand out of five to seven cards.
//
// A hand's value is one 32-bit number: the category in the top bits, then
// two 13-bit rank masks (bit 0 = deuce ... bit 12 = ace) that order hands of
// the same category. A larger value is a better hand; equal values tie.

#include <cstdint>
#include <span>
#include <string>

namespace tessaly::house {

using HandValue = std::uint32_t;

enum class HandCategory {
    HighCard,
    Pair,
    TwoPair,
    ThreeOfAKind,
    Straight,
    Flush,
    FullHouse,
    FourOfAKind,
    StraightFlush,
};

// Cards are wire codes; between 5 and 7 of them, all different.
HandValue evaluateHand(std::span<const int> cards);

// Seven cards as two hole cards and a five-card board, the showdown case.
HandValue evaluateSeven(const int* cards);

HandCategory handCategory(HandValue value);

// "a flush, Ace high", "two pair, Kings and Fours", "a pair of Nines".
std::string describeHand(HandValue value);

} // namespace tessaly::house
