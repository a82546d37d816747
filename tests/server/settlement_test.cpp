// Settling a hand's chips: the uncalled part of a bet, and the showdown's
// pots and shares with side pots, ties, odd chips and folded money.

#include "server/poker/Cards.h"
#include "server/poker/Settlement.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaly::house {
namespace {

std::vector<int> cards(const std::string& text)
{
    std::istringstream in(text);
    std::vector<int> out;
    for (std::string c; in >> c;)
        out.push_back(parseCard(c));
    return out;
}

TEST(Settlement, UncalledBetIsTheTopBetLessTheSecond)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, Chips>> inFront;
        std::optional<std::pair<int, Chips>> back;
    };
    const Case cases[] = {
        {"nothing bet", {}, std::nullopt},
        {"a called bet", {{0, 100}, {1, 100}}, std::nullopt},
        {"a raise nobody called", {{0, 300}, {1, 100}}, {{0, 200}}},
        {"everyone else folded without a chip in front", {{4, 20}}, {{4, 20}}},
        {"the top bet on a high seat, a short all-in below", {{3, 10}, {9, 60}, {5, 40}}, {{9, 20}}},
        {"two equal top bets leave nothing", {{2, 100}, {5, 100}, {7, 50}}, std::nullopt},
        {"the top bet on seat 0 over later seats", {{0, 500}, {1, 200}, {2, 200}}, {{0, 300}}},
    };
    for (const Case& c : cases) {
        SeatChips inFront{};
        for (const auto& [seat, chips] : c.inFront)
            inFront[seat] = chips;
        const auto got = uncalledBet(inFront);
        ASSERT_EQ(got.has_value(), c.back.has_value()) << c.what;
        if (got) {
            EXPECT_EQ(got->seat, c.back->first) << c.what;
            EXPECT_EQ(got->amount, c.back->second) << c.what;
        }
    }
}

TEST(Settlement, ShowdownPaysEachPotToItsBestHands)
{
    struct Player {
        int seat;
        const char* hole;
        Chips in;
        bool live;
    };
    struct Case {
        const char* what;
        const char* board;
        int button;
        std::vector<Player> players;
        std::size_t pots;
        std::vector<Award> awards;
    };
    const Case cases[] = {
        {"the board plays: a split with the odd chip to the first winner left of the button",
         "As Ks Qs Js Ts", 3,
         {{2, "2c 3d", 34, true}, {5, "4c 5d", 34, true}, {8, "6c 7d", 33, false}},
         1, {{5, 51, 0}, {2, 50, 0}}},
        {"a short all-in wins the main pot, the best of the rest the side pot",
         "2c 7d 9h Js Kd", 0,
         {{1, "Ah Ad", 100, true}, {4, "Kh Qc", 300, true}, {6, "Qd Qh", 300, true}},
         2, {{1, 300, 0}, {4, 400, 1}}},
        {"a short all-in that loses: both pots to the same hand",
         "2c 7d 9h Js Kd", 0,
         {{1, "3c 4c", 100, true}, {4, "Kh Qc", 300, true}, {6, "Qd Qh", 300, true}},
         2, {{4, 300, 0}, {4, 400, 1}}},
        {"a tie for the main pot, the side pot to one of the tied hands",
         "Ah Kd Qc Js 3h", 5,
         {{0, "Th 2c", 50, true}, {3, "Td 4c", 200, true}, {7, "9c 9d", 200, true}},
         2, {{0, 75, 0}, {3, 75, 0}, {3, 300, 1}}},
        {"folded chips above every live stake stay in the last pot",
         "2c 7d 9h Js 4d", 0,
         {{2, "Ac Ad", 50, true}, {5, "Kc Kd", 50, true}, {8, "Qc Qd", 60, false}},
         1, {{2, 160, 0}}},
        {"two side pots, folded chips in each, an odd chip in the last",
         "2c 7d 9h Js 4d", 3,
         {{1, "Ah Ad", 50, true}, {2, "Kh Kd", 120, true}, {3, "Qh Qd", 301, true}, {4, "Qc Qs", 301, true},
          {5, "3c 3d", 121, false}},
         3, {{1, 250, 0}, {2, 280, 1}, {4, 182, 2}, {3, 181, 2}}},
    };
    for (const Case& c : cases) {
        std::array<std::array<int, 2>, kMaxSeats> hole{};
        SeatChips in{};
        std::array<bool, kMaxSeats> live{};
        for (const Player& p : c.players) {
            const std::vector<int> h = cards(p.hole);
            hole[p.seat] = {h[0], h[1]};
            in[p.seat] = p.in;
            live[p.seat] = p.live;
        }
        const ShowdownResult r = settleShowdown(hole, in, live, cards(c.board), c.button);
        EXPECT_EQ(r.pots, c.pots) << c.what;
        ASSERT_EQ(r.awards.size(), c.awards.size()) << c.what;
        SeatChips won{};
        for (std::size_t i = 0; i < c.awards.size(); ++i) {
            EXPECT_EQ(r.awards[i].seat, c.awards[i].seat) << c.what << ", award " << i;
            EXPECT_EQ(r.awards[i].amount, c.awards[i].amount) << c.what << ", award " << i;
            EXPECT_EQ(r.awards[i].pot, c.awards[i].pot) << c.what << ", award " << i;
            won[c.awards[i].seat] += c.awards[i].amount;
        }
        EXPECT_EQ(r.won, won) << c.what;
        // Every chip in the middle goes to someone.
        EXPECT_EQ(potTotal(r.won), potTotal(in)) << c.what;
    }
}

} // namespace
} // namespace tessaly::house
