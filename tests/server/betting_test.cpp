#include "server/poker/Betting.h"
#include "server/poker/Pots.h"

#include <gtest/gtest.h>

namespace tessaly::house {
namespace {

BetSituation situation(GameType type, Chips stack, Chips inFront, Chips currentBet, Chips potTotal)
{
    BetSituation s;
    s.type = type;
    s.bigBlind = 100;
    s.stack = stack;
    s.inFront = inFront;
    s.currentBet = currentBet;
    s.lastRaise = 100;
    s.potTotal = potTotal;
    s.betsThisRound = 1;
    return s;
}

TEST(Betting, OptionsAndPromptKinds)
{
    struct Case {
        const char* what;
        BetSituation s;
        Chips toCall, minRaiseTo, maxRaiseTo;
        bool mayRaise;
        PromptKind kind;
    };
    BetSituation afterRaise = situation(GameType::NoLimit, 5000, 0, 400, 650);
    afterRaise.lastRaise = 300; // 100 raised to 400
    BetSituation capped = situation(GameType::FixedLimit, 5000, 100, 400, 900);
    capped.betsThisRound = kFixedLimitBetsPerRound;
    BetSituation turn = situation(GameType::FixedLimit, 5000, 0, 0, 800);
    turn.bigStreet = true;
    turn.betsThisRound = 0;
    BetSituation notReopened = situation(GameType::NoLimit, 5000, 400, 550, 1500);
    notReopened.raiseReopened = false;
    BetSituation aloneAgainstAllIns = situation(GameType::NoLimit, 5000, 0, 800, 1000);
    aloneAgainstAllIns.opponentCanAct = false;
    const Case cases[] = {
        {"NL preflop facing the big blind", situation(GameType::NoLimit, 5000, 0, 100, 150), 100, 200, 5000, true,
         PromptKind::CallOrRaise},
        {"NL big blind's option", situation(GameType::NoLimit, 5000, 100, 100, 150), 0, 200, 5100, true,
         PromptKind::CheckOrBet},
        {"NL re-raise is at least the last raise", afterRaise, 400, 700, 5000, true, PromptKind::CallOrRaise},
        {"NL call takes the whole stack", situation(GameType::NoLimit, 80, 0, 100, 150), 80, 0, 0, false,
         PromptKind::AllInOrFold},
        {"NL raising is only possible all in", situation(GameType::NoLimit, 150, 0, 100, 150), 100, 150, 150, true,
         PromptKind::CallOrAllIn},
        {"PL raise up to the pot after calling", situation(GameType::PotLimit, 5000, 0, 100, 150), 100, 200, 350,
         true, PromptKind::CallOrRaise},
        {"PL bet on a flop pot of 600", situation(GameType::PotLimit, 5000, 0, 0, 600), 0, 100, 600, true,
         PromptKind::CheckOrBet},
        {"PL maximum capped by the stack", situation(GameType::PotLimit, 300, 0, 100, 150), 100, 200, 300, true,
         PromptKind::CallOrRaise},
        {"FL raise by one small bet", situation(GameType::FixedLimit, 5000, 0, 100, 150), 100, 200, 200, true,
         PromptKind::CallOrRaise},
        {"FL turn bets are doubled", turn, 0, 200, 200, true, PromptKind::CheckOrBet},
        {"FL cap reached: call or fold", capped, 300, 0, 0, false, PromptKind::CallOrAllIn},
        {"short all-in does not reopen the raising", notReopened, 150, 0, 0, false, PromptKind::CallOrAllIn},
        {"no raise when every opponent is all in", aloneAgainstAllIns, 800, 0, 0, false, PromptKind::CallOrAllIn},
    };
    for (const Case& c : cases) {
        const BetOptions o = betOptions(c.s);
        EXPECT_EQ(o.toCall, c.toCall) << c.what;
        EXPECT_EQ(o.mayRaise, c.mayRaise) << c.what;
        if (c.mayRaise) {
            EXPECT_EQ(o.minRaiseTo, c.minRaiseTo) << c.what;
            EXPECT_EQ(o.maxRaiseTo, c.maxRaiseTo) << c.what;
        }
        EXPECT_EQ(promptKind(o), c.kind) << c.what;
    }
}

TEST(Betting, AnyReplyBecomesTheNearestLegalAction)
{
    const BetOptions facingBet = betOptions(situation(GameType::NoLimit, 5000, 0, 100, 150));
    const BetOptions checkFree = betOptions(situation(GameType::NoLimit, 5000, 100, 100, 150));
    const BetOptions potLimit = betOptions(situation(GameType::PotLimit, 5000, 0, 100, 150));
    BetSituation cap = situation(GameType::FixedLimit, 5000, 100, 400, 900);
    cap.betsThisRound = kFixedLimitBetsPerRound;
    const BetOptions capped = betOptions(cap);
    struct Case {
        const char* what;
        BetOptions o;
        int code;
        Chips amount;
        ActionType type;
        Chips raiseTo;
    };
    const Case cases[] = {
        {"fold is always possible", facingBet, 4, 0, ActionType::Fold, 0},
        {"check facing a bet folds", facingBet, 6, 0, ActionType::Fold, 0},
        {"call with nothing to call checks", checkFree, 3, 0, ActionType::Check, 0},
        {"unknown code with a free check checks", checkFree, 9, 0, ActionType::Check, 0},
        {"unknown code facing a bet folds", facingBet, -1, 0, ActionType::Fold, 0},
        {"raise below the minimum is the minimum", facingBet, 5, 150, ActionType::Raise, 200},
        {"raise beyond the stack is all in", facingBet, 5, 999999, ActionType::Raise, 5000},
        {"all in", facingBet, 7, 0, ActionType::Raise, 5000},
        {"pot limit all in is the pot", potLimit, 7, 0, ActionType::Raise, 350},
        {"raising at the cap calls", capped, 5, 800, ActionType::Call, 0},
        {"all in at the cap calls", capped, 7, 0, ActionType::Call, 0},
    };
    for (const Case& c : cases) {
        const Action a = legalAction(c.o, c.code, c.amount);
        EXPECT_EQ(a.type, c.type) << c.what;
        if (c.type == ActionType::Raise) {
            EXPECT_EQ(a.raiseTo, c.raiseTo) << c.what;
        }
    }
}

TEST(Pots, SidePotsFromAllInsAndFoldedChips)
{
    // Seat 0 all in for 100, seat 1 for 300, seats 2 and 3 put in 500 each,
    // seat 4 folded after putting in 200.
    std::array<Chips, kMaxSeats> in{100, 300, 500, 500, 200};
    std::array<bool, kMaxSeats> live{true, true, true, true, false};
    const std::vector<Pot> pots = buildPots(in, live);
    ASSERT_EQ(pots.size(), 3u);
    EXPECT_EQ(pots[0].amount, 500); // 100 from each of five
    EXPECT_EQ(pots[0].eligible, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(pots[1].amount, 700); // 200 from seats 1 to 3, 100 from the folded seat
    EXPECT_EQ(pots[1].eligible, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(pots[2].amount, 400);
    EXPECT_EQ(pots[2].eligible, (std::vector<int>{2, 3}));
    Chips total = 0;
    for (const Pot& p : pots)
        total += p.amount;
    EXPECT_EQ(total, 1600);
}

TEST(Pots, EveryChipOfAFoldedBigBetStaysInPlay)
{
    std::array<Chips, kMaxSeats> in{50, 50, 900};
    std::array<bool, kMaxSeats> live{true, true, false};
    const std::vector<Pot> pots = buildPots(in, live);
    ASSERT_EQ(pots.size(), 1u);
    EXPECT_EQ(pots[0].amount, 1000);
}

TEST(Pots, SplitsGiveOddChipsFromTheButtonsLeft)
{
    struct Case {
        Chips amount;
        std::vector<int> winners;
        int button;
        std::vector<Share> expected;
    };
    const Case cases[] = {
        {100, {2, 5}, 0, {{2, 50}, {5, 50}}},
        {101, {2, 5}, 0, {{2, 51}, {5, 50}}},
        {101, {2, 5}, 3, {{5, 51}, {2, 50}}},         // seat 5 is nearer the button's left
        {102, {1, 4, 7}, 9, {{1, 34}, {4, 34}, {7, 34}}},
        {5, {1, 4, 7}, 4, {{7, 2}, {1, 2}, {4, 1}}},  // the button itself is last
    };
    for (const Case& c : cases) {
        const std::vector<Share> got = splitPot(c.amount, c.winners, c.button);
        ASSERT_EQ(got.size(), c.expected.size());
        Chips sum = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].seat, c.expected[i].seat) << c.amount << " button " << c.button;
            EXPECT_EQ(got[i].amount, c.expected[i].amount) << c.amount << " button " << c.button;
            sum += got[i].amount;
        }
        EXPECT_EQ(sum, c.amount);
    }
}

} // namespace
} // namespace tessaly::house
