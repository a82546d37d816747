#include "server/poker/HandEvaluator.h"

#include "server/poker/Cards.h"

#include <array>
#include <bit>

namespace tessaly::house {
namespace {

constexpr int kCategoryShift = 26;
constexpr int kHighShift = 13;
constexpr std::uint32_t kRankMask = 0x1FFF;

// Top card of the best straight in a rank mask, as a one-bit mask; 0 when
// there is none. The wheel (A-2-3-4-5) counts as five high.
struct StraightTable {
    std::array<std::uint16_t, 8192> top{};
    constexpr StraightTable()
    {
        for (std::uint32_t m = 0; m < 8192; ++m) {
            for (int high = 12; high >= 4; --high) {
                const std::uint32_t window = 0x1Fu << (high - 4);
                if ((m & window) == window) {
                    top[m] = static_cast<std::uint16_t>(1u << high);
                    break;
                }
            }
            if (top[m] == 0 && (m & 0x100F) == 0x100F)
                top[m] = 1u << 3;
        }
    }
};

// The five highest ranks of a mask (all of them when there are fewer).
struct TopFiveTable {
    std::array<std::uint16_t, 8192> top{};
    constexpr TopFiveTable()
    {
        for (std::uint32_t m = 0; m < 8192; ++m) {
            std::uint32_t k = m;
            while (std::popcount(k) > 5)
                k &= k - 1;
            top[m] = static_cast<std::uint16_t>(k);
        }
    }
};

// Bits set per 13-bit mask: a table beats a popcount the target may lack.
struct BitCountTable {
    std::array<std::uint8_t, 8192> count{};
    constexpr BitCountTable()
    {
        for (std::uint32_t m = 0; m < 8192; ++m)
            count[m] = static_cast<std::uint8_t>(std::popcount(m));
    }
};

constexpr StraightTable kStraights;
constexpr TopFiveTable kTopFive;
constexpr BitCountTable kBits;

inline std::uint32_t keepHighest(std::uint32_t mask, int n)
{
    while (kBits.count[mask] > n)
        mask &= mask - 1;
    return mask;
}

inline std::uint32_t highestBit(std::uint32_t mask)
{
    return mask ? (0x80000000u >> std::countl_zero(mask)) : 0;
}

inline HandValue makeValue(HandCategory category, std::uint32_t high, std::uint32_t low)
{
    return (static_cast<std::uint32_t>(category) << kCategoryShift) | (high << kHighShift) | low;
}

HandValue evaluateSuits(const std::uint32_t (&suits)[4])
{
    const std::uint32_t all = suits[0] | suits[1] | suits[2] | suits[3];

    std::uint32_t flush = 0;
    for (std::uint32_t s : suits) {
        if (kBits.count[s] >= 5)
            flush = s;
    }
    if (flush) {
        if (const std::uint32_t top = kStraights.top[flush])
            return makeValue(HandCategory::StraightFlush, top, 0);
    }

    // Per rank, how many suits hold it, as a bit-sliced count.
    const std::uint32_t x01 = suits[0] ^ suits[1], c01 = suits[0] & suits[1];
    const std::uint32_t x23 = suits[2] ^ suits[3], c23 = suits[2] & suits[3];
    const std::uint32_t bit0 = x01 ^ x23;
    const std::uint32_t carry = x01 & x23;
    const std::uint32_t bit1 = c01 ^ c23 ^ carry;
    const std::uint32_t quads = c01 & c23;
    const std::uint32_t threes = bit0 & bit1;
    const std::uint32_t pairs = bit1 & ~bit0 & ~quads;

    if (quads)
        return makeValue(HandCategory::FourOfAKind, quads, highestBit(all & ~quads));
    if (threes) {
        const std::uint32_t trips = highestBit(threes);
        const std::uint32_t rest = (threes & ~trips) | pairs;
        if (rest)
            return makeValue(HandCategory::FullHouse, trips, highestBit(rest));
    }
    if (flush)
        return makeValue(HandCategory::Flush, kTopFive.top[flush], 0);
    if (const std::uint32_t top = kStraights.top[all])
        return makeValue(HandCategory::Straight, top, 0);
    if (threes)
        return makeValue(HandCategory::ThreeOfAKind, threes, keepHighest(all & ~threes, 2));
    if (kBits.count[pairs] >= 2) {
        const std::uint32_t two = keepHighest(pairs, 2);
        return makeValue(HandCategory::TwoPair, two, highestBit(all & ~two));
    }
    if (pairs)
        return makeValue(HandCategory::Pair, pairs, keepHighest(all & ~pairs, 3));
    return makeValue(HandCategory::HighCard, kTopFive.top[all], 0);
}

int topRank(std::uint32_t mask)
{
    return 31 - std::countl_zero(mask) + 2;
}

} // namespace

HandValue evaluateHand(std::span<const int> cards)
{
    std::uint32_t suits[4] = {0, 0, 0, 0};
    for (int c : cards)
        suits[c & 3] |= 1u << (c >> 2);
    return evaluateSuits(suits);
}

HandValue evaluateSeven(const int* cards)
{
    std::uint32_t suits[4] = {0, 0, 0, 0};
    for (int i = 0; i < 7; ++i)
        suits[cards[i] & 3] |= 1u << (cards[i] >> 2);
    return evaluateSuits(suits);
}

HandCategory handCategory(HandValue value)
{
    return static_cast<HandCategory>(value >> kCategoryShift);
}

std::string describeHand(HandValue value)
{
    const std::uint32_t high = (value >> kHighShift) & kRankMask;
    const std::uint32_t low = value & kRankMask;
    const int h = topRank(high);
    std::string out;
    switch (handCategory(value)) {
    case HandCategory::HighCard:
        return std::string("high card ") + rankName(h);
    case HandCategory::Pair:
        return std::string("a pair of ") + rankPlural(h);
    case HandCategory::TwoPair:
        return std::string("two pair, ") + rankPlural(h) + " and " + rankPlural(topRank(high & ~highestBit(high)));
    case HandCategory::ThreeOfAKind:
        return std::string("three of a kind, ") + rankPlural(h);
    case HandCategory::Straight:
        return std::string("a straight, ") + rankName(h == 5 ? 14 : h - 4) + " to " + rankName(h);
    case HandCategory::Flush:
        return std::string("a flush, ") + rankName(h) + " high";
    case HandCategory::FullHouse:
        return std::string("a full house, ") + rankPlural(h) + " full of " + rankPlural(topRank(low));
    case HandCategory::FourOfAKind:
        return std::string("four of a kind, ") + rankPlural(h);
    case HandCategory::StraightFlush:
        if (h == 14)
            return "a royal flush";
        return std::string("a straight flush, ") + rankName(h) + " high";
    }
    return out;
}

} // namespace tessaly::house
