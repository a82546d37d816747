// Playing from the keyboard, without widgets: the pot presets and the
// slider's small-blind steps, the misclick guard, and the hotkey map.

#include <gtest/gtest.h>

#include "client/table/BetPresets.h"
#include "client/table/BettingRules.h"
#include "client/table/Hotkeys.h"
#include "client/table/MisclickGuard.h"

namespace tessaly {
namespace {

constexpr int kUser = 3;

struct Situation {
    int gameType;
    int kind;
    float stack, mine, call, min;
    std::array<float, 3> bets;   // seats 0 to 2
    float pot;
};

TableState tableOf(const Situation& s)
{
    TableState table;
    table.seatCount = 6;
    table.gameType = static_cast<std::int16_t>(s.gameType);
    table.promptKind = s.kind;
    table.userSeat = kUser;
    table.stack[kUser] = s.stack;
    table.inFront[kUser] = s.mine;
    table.callAmount = s.call;
    table.minRaiseTo = s.min;
    std::copy(s.bets.begin(), s.bets.end(), table.inFront.begin());
    table.pots[0] = s.pot;
    return table;
}

TEST(BetPresets, FractionsOfThePotAfterTheCallWithinMinimumAndCap)
{
    constexpr int NL = kGameNoLimit, PL = kGamePotLimit;
    constexpr int bet = kPromptCheckOrBet, raise = kPromptCallOrRaise;
    const struct {
        const char* what;
        Situation s;
        std::array<float, 4> half_threeQuarter_pot_max;
    } cases[] = {
        {"bet into 10", {NL, bet, 100, 0, 0, 2, {}, 10}, {5, 7.5f, 10, 100}},
        {"raise over 0.5/1 and a raise to 3", {NL, raise, 100, 0, 3, 5, {0.5f, 1, 3}, 0}, {6.75f, 8.63f, 10.5f, 100}},
        {"pot limit: Max is the pot", {PL, raise, 100, 0, 3, 5, {0.5f, 1, 3}, 0}, {6.75f, 8.63f, 10.5f, 10.5f}},
        {"pot limit, short: everything", {PL, raise, 8, 0, 3, 5, {0.5f, 1, 3}, 0}, {6.75f, 8, 8, 8}},
        {"small pot: the minimum", {NL, bet, 100, 0, 0, 2, {}, 1}, {2, 2, 2, 100}},
        {"big blind's own bet counts", {NL, raise, 50, 1, 1, 4, {0, 2, 0}, 0}, {4, 5, 6, 51}},
        {"minimum above the stack: all in", {NL, raise, 3, 1, 2, 7, {0, 3, 0}, 2}, {4, 4, 4, 4}},
    };
    for (const auto& c : cases) {
        const TableState table = tableOf(c.s);
        for (std::size_t i = 0; i < kBetPresets.size(); ++i)
            EXPECT_FLOAT_EQ(betPresetAmount(kBetPresets[i], table), c.half_threeQuarter_pot_max[i])
                << c.what << ": " << betPresetLabel(kBetPresets[i]);
    }
}

TEST(BetPresets, ShownForBetAndRaisePromptsOutsideFixedLimit)
{
    TableState table = tableOf({kGameNoLimit, kPromptCallOrRaise, 10, 0, 1, 2, {}, 0});
    EXPECT_TRUE(betPresetsShown(table));
    table.gameType = kGamePotLimit;
    EXPECT_TRUE(betPresetsShown(table));
    table.promptKind = kPromptCallOnly;
    EXPECT_FALSE(betPresetsShown(table));
    table.promptKind = kPromptCheckOrBet;
    table.gameType = kGameFixedLimit;
    EXPECT_FALSE(betPresetsShown(table));
}

TEST(BetPresets, SliderStepsInSmallBlindsButMinimumAndTopStayExact)
{
    const struct {
        float smallBlind, min, stack, mine;
        int position;
        float amount;
    } cases[] = {
        {0.25f, 0.5f, 10, 0, 0, 0.5f},      // the minimum
        {0.25f, 0.6f, 10, 0, 13, 0.6f},     // still the minimum, off the step
        {0.25f, 0.5f, 10, 0, 14, 1.5f},     // 1.45
        {0.25f, 0.5f, 10, 0, 50, 4.25f},    // 4.30
        {0.5f, 1.0f, 9.73f, 0, 90, 9.0f},   // 8.86
        {0.5f, 1.0f, 9.73f, 0, 97, 9.73f},  // all in
        {0.25f, 0.5f, 10, 0, 100, 10},      // all in
        {0.1f, 0.4f, 5, 0.2f, 29, 1.5f},    // 0.4 + 4.6 * 0.2 + 0.2 = 1.52
        {0, 0.5f, 10, 0, 14, 1.45f},        // no small blind known: cents
    };
    for (const auto& c : cases) {
        TableState table = tableOf({kGameNoLimit, kPromptCheckOrBet, c.stack, c.mine, 0, c.min, {}, 0});
        table.smallBlind = c.smallBlind;
        EXPECT_FLOAT_EQ(sliderAmount(table, c.position), c.amount) << c.position << " of " << c.stack;
    }
}

TEST(MisclickGuard, AChangedButtonWaitsHalfASecond)
{
    std::int64_t now = 1000;
    MisclickGuard guard([&now] { return now; });
    EXPECT_TRUE(guard.accepts(1021));
    guard.meaningChanged(1021);
    EXPECT_FALSE(guard.accepts(1021));
    EXPECT_TRUE(guard.accepts(1023));   // the others are not held
    now += MisclickGuard::kHoldMs - 1;
    EXPECT_FALSE(guard.accepts(1021));
    now += 1;
    EXPECT_TRUE(guard.accepts(1021));
}

TEST(Hotkeys, DefaultsStayOutOfTheChatsWay)
{
    const Hotkeys keys;
    EXPECT_EQ(keys.key(TableCommand::Fold), "F1");
    EXPECT_EQ(keys.key(TableCommand::SitOut), "F9");
    EXPECT_EQ(keys.command("Alt+R"), TableCommand::Repeat);
    for (const TableCommandInfo& c : tableCommands())
        EXPECT_EQ(unusableKeyReason(c.defaultKey), std::nullopt) << c.name;
}

TEST(Hotkeys, RefusesTakenChatAndFixedKeys)
{
    const struct {
        const char* key;
        bool refused;
    } cases[] = {
        {"F2", true},        // Check/Call's
        {"C", true},         {"Shift+C", true},  {"Return", true}, {"Ctrl+V", true},
        {"Alt+3", true},     {"Shift+F10", true}, {"Menu", true},  {"", true},
        {"F11", false},      {"Alt+F", false},   {"Ctrl+Alt+C", false}, {"Ctrl+Shift+F", false},
        {"F1", false},       // its own key again
    };
    for (const auto& c : cases) {
        Hotkeys keys;
        const std::optional<std::string> refusal = keys.assign(TableCommand::Fold, c.key);
        EXPECT_EQ(refusal.has_value(), c.refused) << c.key;
        EXPECT_EQ(keys.key(TableCommand::Fold), c.refused ? "F1" : c.key) << c.key;
    }
    Hotkeys keys;
    EXPECT_EQ(keys.assign(TableCommand::Fold, "F2"), "F2 is already the key of \"Check, Call or Post Blind\".");
}

TEST(Hotkeys, SavedAndReadBack)
{
    Hotkeys keys;
    ASSERT_FALSE(keys.assign(TableCommand::Fold, "F12"));
    ASSERT_FALSE(keys.assign(TableCommand::CheckCall, "F1"));   // F1 was Fold's
    ASSERT_FALSE(keys.assign(TableCommand::Board, "Ctrl+Alt+B"));
    EXPECT_EQ(Hotkeys::fromText(keys.text()), keys);
    EXPECT_EQ(Hotkeys::fromText(keys.text() + speakSettingLine(true)), keys);

    // Unknown lines, refused keys and a second claim on a key fall back.
    const Hotkeys read = Hotkeys::fromText("fold=F2\r\ncheck-call=F2\nbet-raise=X\nshout=F6\nboard\n");
    EXPECT_EQ(read.key(TableCommand::Fold), "F2");
    EXPECT_EQ(read.key(TableCommand::CheckCall), "");   // its default F2 is taken
    EXPECT_EQ(read.key(TableCommand::BetRaise), "F3");
    EXPECT_EQ(read.key(TableCommand::Board), "Alt+B");

    EXPECT_EQ(speakSetting("fold=F1\nspeak=off\n"), false);
    EXPECT_EQ(speakSetting(speakSettingLine(true)), true);
    EXPECT_EQ(speakSetting("fold=F1\n"), std::nullopt);
}

} // namespace
} // namespace tessaly
