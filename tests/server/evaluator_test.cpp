#include "server/poker/Cards.h"
#include "server/poker/HandEvaluator.h"
#include "server/poker/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

namespace tessaly::house {
namespace {

std::vector<int> cards(const std::string& text)
{
    std::vector<int> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        const int c = parseCard(word);
        EXPECT_GE(c, 0) << word;
        out.push_back(c);
    }
    return out;
}

HandValue value(const std::string& text)
{
    return evaluateHand(cards(text));
}

// An independent reference: the best of all five-card subsets, each scored
// by category and ranks ordered by count, then rank.
std::vector<int> scoreFive(const int* c)
{
    int count[15] = {};
    bool flush = true;
    for (int i = 0; i < 5; ++i) {
        ++count[cardRank(c[i])];
        flush = flush && cardSuit(c[i]) == cardSuit(c[0]);
    }
    std::vector<std::pair<int, int>> groups; // count, rank
    for (int r = 14; r >= 2; --r) {
        if (count[r])
            groups.emplace_back(count[r], r);
    }
    std::stable_sort(groups.begin(), groups.end(), [](auto a, auto b) { return a.first > b.first; });
    int straightHigh = 0;
    if (groups.size() == 5) {
        if (groups[0].second - groups[4].second == 4)
            straightHigh = groups[0].second;
        else if (groups[0].second == 14 && groups[1].second == 5)
            straightHigh = 5;
    }
    int category;
    if (straightHigh && flush)
        category = 8;
    else if (groups[0].first == 4)
        category = 7;
    else if (groups[0].first == 3 && groups[1].first == 2)
        category = 6;
    else if (flush)
        category = 5;
    else if (straightHigh)
        category = 4;
    else if (groups[0].first == 3)
        category = 3;
    else if (groups[0].first == 2 && groups[1].first == 2)
        category = 2;
    else if (groups[0].first == 2)
        category = 1;
    else
        category = 0;
    std::vector<int> score{category};
    if (straightHigh) {
        score.push_back(straightHigh);
    } else {
        for (auto [n, r] : groups)
            score.push_back(r);
    }
    return score;
}

std::vector<int> referenceSeven(const int* c)
{
    std::vector<int> best;
    int five[5];
    for (int a = 0; a < 7; ++a) {
        for (int b = a + 1; b < 7; ++b) {
            int k = 0;
            for (int i = 0; i < 7; ++i) {
                if (i != a && i != b)
                    five[k++] = c[i];
            }
            best = std::max(best, scoreFive(five));
        }
    }
    return best;
}

TEST(HandEvaluator, KnownHandsRankInOrder)
{
    // Each hand beats the one after it.
    const std::vector<std::string> ladder{
        "As Ks Qs Js Ts 2d 3c", // royal flush
        "9h 8h 7h 6h 5h Ad Ac", // straight flush beats quads
        "5d 4d 3d 2d Ad Kc Kh", // the wheel as a straight flush
        "Qc Qd Qh Qs 2c 3d 4h", // four of a kind
        "Qc Qd Qh Qs 2c",       // the same quads, a lower kicker
        "Kc Kd Kh 2s 2c 3d 4h", // full house
        "Kc Kd Kh 2s 2c 2d 4h", // two trips make the same full house
        "Ac Jc 9c 6c 3c Kd Qh", // flush
        "Kc Jc 9c 6c 3c Ad Qh", // lower flush
        "Td 9c 8h 7s 6d 2c 2h", // straight
        "5s 4h 3d 2c Ah Kd Kc", // wheel, the lowest straight, beats trips
        "7c 7d 7h Ks Qd 2c 3h", // three of a kind
        "Ac Ad Kc Kd Qh Qs 2c", // best two pair of three, queen kicker
        "Ac Ad Kc Kd Jh 2s 3c", // the same two pair, jack kicker
        "Ac Ad 9c 9d Kh 2s 3c", // lower second pair
        "Ac Ad Kc Qd Jh 9s 3c", // pair
        "Ac Ad Kc Qd Th 9s 3c", // pair, lower third kicker
        "Ac Kd Qc Jd 9h 7s 3c", // high card
        "Ac Kd Qc Jd 9h 7s 2c", // the sixth and seventh card do not count
    };
    for (std::size_t i = 0; i + 1 < ladder.size(); ++i)
        EXPECT_GE(value(ladder[i]), value(ladder[i + 1])) << ladder[i] << " vs " << ladder[i + 1];
    EXPECT_EQ(value("Ac Kd Qc Jd 9h 7s 3c"), value("Ac Kd Qc Jd 9h 7s 2c"));
    EXPECT_EQ(value("Kc Kd Kh 2s 2c 3d 4h"), value("Kc Kd Kh 2s 2c 2d 4h"));
    EXPECT_GT(value("Qc Qd Qh Qs 3c"), value("Qc Qd Qh Qs 2c"));
}

TEST(HandEvaluator, TiesAndKickers)
{
    struct Case {
        const char* a;
        const char* b;
        int order; // 1: a wins, 0: split, -1: b wins
    };
    const Case cases[] = {
        {"Ah Kh 2c 3d 8s 9s Jd", "Ad Kd 2c 3d 8s 9s Jd", 0},  // suits never matter
        {"Ah Qh 2c 3d 8s 9s Jd", "Ad Kd 2c 3d 8s 9s Jd", -1}, // second kicker
        {"Ah 2h Kc Kd Qs Qh Jd", "Ad 3d Kc Kd Qs Qh Jd", 0},  // board two pair, the same ace kicker
        {"7h 7d Ac Ad 5s 5h 2c", "8h 2d Ac Ad 5s 5h 2c", 1},  // the best two of three pairs
        {"Th 9h 8c 7d 6s Kc Kh", "Jh 2c 8c 7d 6s 9d Th", -1}, // higher straight
        {"2h 2d As Ks Qs Js 3c", "Ts 9h As Ks Qs Js 3c", -1}, // broadway over a pair
        {"Ah Ad As Kc Kd 2c 3c", "Ah Ad As Qc Qd 2c 3c", 1},  // full house by its pair
    };
    for (const Case& c : cases) {
        const HandValue a = value(c.a), b = value(c.b);
        const int order = a > b ? 1 : (a < b ? -1 : 0);
        EXPECT_EQ(order, c.order) << c.a << " vs " << c.b;
    }
}

TEST(HandEvaluator, AgreesWithBruteForceOnRandomHands)
{
    RandomStream random("evaluator check");
    for (int trial = 0; trial < 20000; ++trial) {
        const std::vector<int> deck = shuffledDeck(random);
        const int* a = deck.data();
        const int* b = deck.data() + 7;
        const HandValue va = evaluateSeven(a), vb = evaluateSeven(b);
        const auto ra = referenceSeven(a), rb = referenceSeven(b);
        ASSERT_EQ(va < vb, ra < rb) << trial;
        ASSERT_EQ(va == vb, ra == rb) << trial;
        ASSERT_EQ(static_cast<int>(handCategory(va)), ra[0]) << trial;
    }
}

TEST(HandEvaluator, DescribesHandsForTheDealer)
{
    const std::pair<const char*, const char*> cases[] = {
        {"As Ks Qs Js Ts 2d 3c", "a royal flush"},
        {"9h 8h 7h 6h 5h Ad Ac", "a straight flush, Nine high"},
        {"Qc Qd Qh Qs 2c 3d 4h", "four of a kind, Queens"},
        {"Kc Kd Kh 2s 2c 3d 4h", "a full house, Kings full of Twos"},
        {"Ac Jc 9c 6c 3c Kd Qh", "a flush, Ace high"},
        {"5s 4h 3d 2c Ah Kd Kc", "a straight, Ace to Five"},
        {"Td 9c 8h 7s 6d 2c 2h", "a straight, Six to Ten"},
        {"7c 7d 7h Ks Qd 2c 3h", "three of a kind, Sevens"},
        {"Ac Ad 6c 6d Qh 2s 3c", "two pair, Aces and Sixes"},
        {"9c 9d Kc Qd Th 2s 3c", "a pair of Nines"},
        {"Ac Kd Qc Jd 9h 7s 3c", "high card Ace"},
    };
    for (const auto& [hand, text] : cases)
        EXPECT_EQ(describeHand(value(hand)), text) << hand;
}

TEST(Shuffle, EveryCardOnceAndEveryPositionReached)
{
    RandomStream random("shuffle");
    std::vector<std::vector<int>> seen(52, std::vector<int>(52, 0));
    for (int round = 0; round < 5200; ++round) {
        const std::vector<int> deck = shuffledDeck(random);
        std::vector<int> sorted = deck;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < 52; ++i)
            ASSERT_EQ(sorted[i], i);
        for (int i = 0; i < 52; ++i)
            ++seen[deck[i]][i];
    }
    // About 100 each; an off-by-one in the shuffle leaves cells near 0 or 200.
    for (int c = 0; c < 52; ++c) {
        for (int p = 0; p < 52; ++p) {
            EXPECT_GT(seen[c][p], 50) << c << " at " << p;
            EXPECT_LT(seen[c][p], 160) << c << " at " << p;
        }
    }
}

TEST(RandomStream, SeededStreamsRepeatAndMixingChangesThem)
{
    RandomStream a("seed"), b("seed"), c("seed");
    c.mix(std::vector<unsigned char>{1, 2, 3});
    bool differs = false;
    for (int i = 0; i < 16; ++i) {
        const auto x = a.next32();
        EXPECT_EQ(x, b.next32());
        differs = differs || x != c.next32();
    }
    EXPECT_TRUE(differs);
    for (int i = 0; i < 1000; ++i)
        EXPECT_LT(a.uniform(7), 7u);
}

} // namespace
} // namespace tessaly::house
