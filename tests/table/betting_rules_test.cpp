// The betting rules without widgets: labels, the raise slider's amounts and
// ranges, the typed amount's slider position, the plain-number check, the
// bet decision and which controls each prompt shows.

#include <gtest/gtest.h>

#include <vector>

#include "client/table/BettingRules.h"

namespace tessaly {
namespace {

// The user at seat 3 of a ten-seat no-limit table.
TableState seatedTable(float stack, float minRaiseTo, int gameType = kGameNoLimit)
{
    TableState table;
    table.seatCount = 10;
    table.gameType = static_cast<std::int16_t>(gameType);
    table.userSeat = 3;
    table.stack[3] = stack;
    table.minRaiseTo = minRaiseTo;
    return table;
}

TEST(BettingRules, LabelsFollowTheAmountTextRule)
{
    const struct {
        std::string label;
        const char* expected;
    } cases[] = {
        {callLabel(2.5f), "Call 2.50"},
        {callLabel(2.0f), "Call 2"},
        {betToLabel("Raise", 2.005f), "Raise to 2.005"},
        {betToLabel("Bet", 1000000.0f), "Bet to 1e+06"},
        {postSmallBlindLabel(0.5f), "Post SB (0.50)"},
        {postBigBlindLabel(1.0f), "Post BB (1)"},
        {allInBoxLabel(100.0f), "All In 100"},
        {allInSliderLabel(99.75f), "All In  99.75"},
        {allInSliderLabel(2500000.0f), "All In  2.5e+06"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.label, c.expected);
}

TEST(BettingRules, RaiseOnlyWhenASeatOfTheTableHasABet)
{
    TableState table = seatedTable(50, 2);
    table.seatCount = 6;
    EXPECT_STREQ(betOrRaiseWord(table), "Bet");
    table.inFront[8] = 1.0f;   // beyond a six-seat table
    EXPECT_STREQ(betOrRaiseWord(table), "Bet");
    table.inFront[5] = 0.5f;
    EXPECT_STREQ(betOrRaiseWord(table), "Raise");
}

TEST(BettingRules, SliderTableStepsByTenthsOfThePowerCurve)
{
    const SliderAmounts amounts = sliderAmounts(2.0f, 100.0f);
    const struct {
        int position;
        float amount;
    } cases[] = {{0, 2.00f}, {13, 2.00f}, {14, 11.80f}, {50, 41.20f}, {100, 100.0f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(amounts[static_cast<std::size_t>(c.position)], c.amount) << c.position;

    std::vector<int> steps;
    for (int i = 1; i <= kSliderTop; ++i)
        if (amounts[static_cast<std::size_t>(i)] != amounts[static_cast<std::size_t>(i - 1)])
            steps.push_back(i);
    EXPECT_EQ(steps, (std::vector<int>{14, 29, 40, 50, 59, 68, 76, 83, 90, 97}));
}

TEST(BettingRules, SliderAmountsAreRoundedToCents)
{
    const SliderAmounts amounts = sliderAmounts(0.25f, 1.0f);
    EXPECT_FLOAT_EQ(amounts[14], 0.33f);   // 0.325 to the cent
    EXPECT_FLOAT_EQ(amounts[29], 0.40f);
}

TEST(BettingRules, SliderRangeByGameType)
{
    const struct {
        int gameType;
        float stack;
        std::vector<float> pots;
        float range;
    } cases[] = {
        {kGameNoLimit, 60, {10, 25}, 58},
        {kGamePotLimit, 60, {10, 25}, 25},   // the largest pot
        {kGamePotLimit, 20, {10, 25}, 18},   // the stack is smaller
        {kGamePotLimit, 60, {}, 0},
        {kGameFixedLimit, 60, {10, 25}, 0},
        {0, 60, {10}, 0},                    // an unknown type is fixed limit
    };
    for (const auto& c : cases) {
        TableState table = seatedTable(c.stack, 2, c.gameType);
        for (std::size_t i = 0; i < c.pots.size(); ++i)
            table.pots[i] = c.pots[i];
        EXPECT_FLOAT_EQ(sliderRange(table), c.range) << c.gameType << " " << c.stack;
    }
}

TEST(BettingRules, SliderPositionsAddTheUsersBetExceptAtTheMinimum)
{
    TableState noLimit = seatedTable(100, 2);   // minimum 2, maximum 100
    noLimit.inFront[3] = 3.0f;
    TableState potLimit = seatedTable(60, 2, kGamePotLimit);
    potLimit.pots[0] = 10.0f;
    potLimit.pots[1] = 25.0f;
    potLimit.inFront[3] = 1.5f;
    const struct {
        const TableState& table;
        int position;
        float amount;
    } cases[] = {
        {noLimit, 0, 2.00f},   {noLimit, 13, 5.00f},    {noLimit, 14, 14.80f},
        {noLimit, 50, 44.20f}, {noLimit, 100, 103.0f},  {potLimit, 0, 2.0f},
        {potLimit, 100, 28.5f},                          // 27 plus the bet
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(sliderAmount(c.table, c.position), c.amount) << c.position;
}

TEST(BettingRules, TypedAmountsMoveTheSliderInProportion)
{
    const TableState table = seatedTable(100, 2);
    const struct {
        double typed;
        long position;
    } cases[] = {{2, 0}, {51, 50}, {51.9, 50}, {100, 100}, {150, 151}, {1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(typedSliderPosition(c.typed, table), c.position) << c.typed;
    // A stack equal to the minimum leaves the slider alone.
    EXPECT_EQ(typedSliderPosition(5, seatedTable(2, 2)), std::nullopt);
    EXPECT_EQ(typedSliderPosition(1e300, seatedTable(2.01f, 2)), 1'000'000'000L);
}

TEST(BettingRules, TypedAmountReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(typedAmount("25.00"), 25.0);
    EXPECT_DOUBLE_EQ(typedAmount(".50"), 0.5);
    EXPECT_DOUBLE_EQ(typedAmount(" 7x"), 7.0);
    EXPECT_DOUBLE_EQ(typedAmount(""), 0.0);
    EXPECT_DOUBLE_EQ(typedAmount("nan"), 0.0);
}

TEST(BettingRules, PlainNumbers)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"5.", 5.0},     {" 5 ", 5.0},       {"\t12.50 ", 12.5}, {".5", 0.5},
        {"5a", {}},      {"-5", {}},         {"+5", {}},         {"1e3", {}},
        {"", {}},        {"   ", {}},        {".", {}},          {"1.2.3", {}},
        {"5,5", {}},     {"1 2", {}},        {"0x10", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plainNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(BettingRules, BetDecisions)
{
    const struct {
        const char* text;
        float stack;
        float inFront;
        float minRaiseTo;
        BetOutcome outcome;
        float amount;
    } cases[] = {
        {"10", 50, 0, 10, BetOutcome::Raise, 10},
        {"60", 50, 10, 20, BetOutcome::Raise, 60},          // everything, above the minimum
        {"0.1", 50, 0, 0.1f, BetOutcome::Raise, 0.1f},       // the minimum as typed
        {"7", 7, 0, 10, BetOutcome::AllIn, 7},               // short all-in at exactly the cap
        {"7", 5, 2, 10, BetOutcome::AllIn, 7},
        {"7.0005", 7, 0, 10, BetOutcome::AllIn, 7.0005f},
        {"7.01", 7, 0, 10, BetOutcome::Insufficient, 0},     // a cent above the cap
        {"99999999999999999999999999999999999999999", 7, 0, 1, BetOutcome::Insufficient, 0},
        {"5", 7, 0, 10, BetOutcome::BadAmount, 5},
        {"6.99", 7, 0, 10, BetOutcome::BadAmount, 6.99f},
        {"1e3", 7, 0, 1, BetOutcome::NotANumber, 0},
        {"", 7, 0, 1, BetOutcome::NotANumber, 0},
    };
    for (const auto& c : cases) {
        TableState table = seatedTable(c.stack, c.minRaiseTo);
        table.inFront[3] = c.inFront;
        const BetDecision decision = decideBet(c.text, table);
        EXPECT_EQ(decision.outcome, c.outcome) << c.text;
        if (c.outcome == BetOutcome::Raise || c.outcome == BetOutcome::BadAmount) {
            EXPECT_FLOAT_EQ(decision.amount, c.amount) << c.text;
        }
    }
}

TEST(BettingRules, EachPromptKindShowsItsControls)
{
    using Caption = std::optional<std::string>;
    const struct {
        int kind;
        int gameType;
        Caption left, middle, right, leftPost, rightPost, box;
    } cases[] = {
        {kPromptCheckOrBet, kGameNoLimit, "Check", "Raise to 2", "Fold", {}, {}, "2"},
        {kPromptCallOrRaise, kGameNoLimit, "Call 1.50", "Raise to 4.50", "Fold", {}, {}, "4.50"},
        {kPromptCallOrRaise, kGameFixedLimit, "Call 1.50", "Raise to 4.50", "Fold", {}, {}, {}},
        {kPromptCallOnly, kGameNoLimit, "Call 1.50", "All In", "Fold", {}, {}, {}},
        {kPromptAllInOrFold, kGameNoLimit, {}, {}, {}, "All In", "Fold", {}},
        {kPromptBigBlind, kGameNoLimit, {}, {}, {}, "Post BB (1)", "Sit Out", {}},
        {kPromptSmallBlind, kGameNoLimit, {}, {}, {}, "Post SB (0.50)", "Sit Out", {}},
        {7, kGameNoLimit, {}, {}, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        TableState table = seatedTable(50, 2, c.gameType);
        table.promptKind = c.kind;
        table.inFront[0] = 0.5f;
        table.callAmount = 1.5f;
        table.raiseToCopy = 4.5f;
        table.blindAmount = c.kind == kPromptBigBlind ? 1.0f : 0.5f;
        const PromptControls shown = promptControls(table);
        EXPECT_EQ(shown.left, c.left) << c.kind;
        EXPECT_EQ(shown.middle, c.middle) << c.kind;
        EXPECT_EQ(shown.right, c.right) << c.kind;
        EXPECT_EQ(shown.leftPost, c.leftPost) << c.kind;
        EXPECT_EQ(shown.rightPost, c.rightPost) << c.kind;
        EXPECT_EQ(shown.boxText, c.box) << c.kind << " " << c.gameType;
    }
}

TEST(BettingRules, AnUnseatedUserHasNoChips)
{
    TableState table = seatedTable(50, 2);
    table.userSeat = kNoSeat;
    EXPECT_EQ(userStack(table), 0.0f);
    EXPECT_EQ(userInFront(table), 0.0f);
    EXPECT_EQ(decideBet("1", table).outcome, BetOutcome::Insufficient);
}

} // namespace
} // namespace tessaly
