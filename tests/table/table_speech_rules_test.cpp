// What the table says to a screen reader, from the record alone: the
// prompts, the user's cards, the board, the pot and the seats.

#include <gtest/gtest.h>

#include "client/table/HandEvents.h"
#include "client/table/SpokenTexts.h"
#include "client/table/TableState.h"

namespace tessaly {
namespace {

constexpr int kUser = 2;
constexpr std::array<std::int8_t, 3> none{kNoCard, kNoCard, kNoCard};

// The user at seat 3 (index 2), blinds 0.05/0.10 in front, 0.40 in the pot.
TableState handInPlay()
{
    TableState table;
    table.seatCount = 6;
    table.userSeatedHere = 1;
    table.userSeat = kUser;
    table.handInProgress = 1;
    const char* names[] = {"Oberon", "Nimbus", "me", "Marlowe"};
    for (int seat = 0; seat < 4; ++seat) {
        table.seatPlayer(seat, names[seat], 10.0f, 0.0f, kSeatPlaying);
        table.seatOccupied[static_cast<std::size_t>(seat)] = 1;
    }
    table.playersInHand = {1, 2, 3};
    table.stack[0] = 9.6f;
    table.dealerSeat = 0;
    table.inFront[1] = 0.05f;
    table.inFront[3] = 0.30f;
    table.pots[0] = 0.40f;
    return table;
}

TEST(SpokenTexts, PromptsSayWhatTheUserMayDoAndWhatItCosts)
{
    const struct {
        int kind;
        float call, min, blind;
        int brag, lost;
        const char* text;
    } cases[] = {
        {kPromptCallOrRaise, 0.30f, 0.60f, 0, 0, 0, "Your turn: call 0.30, raise to at least 0.60, pot 0.75"},
        {kPromptCheckOrBet, 0, 0.10f, 0, 0, 0, "Your turn: check, bet at least 0.10, pot 0.75"},
        {kPromptCallOnly, 0.30f, 0, 0, 0, 0, "Your turn: call 0.30 or go all in, pot 0.75"},
        {kPromptAllInOrFold, 0.30f, 0, 0, 0, 0, "Your turn: all in for 10 or fold, pot 0.75"},
        {kPromptBigBlind, 0, 0, 0.10f, 0, 0, "Post the big blind of 0.10 or sit out?"},
        {kPromptSmallBlind, 0, 0, 0.05f, 0, 0, "Post the small blind of 0.05 or sit out?"},
        {-1, 0, 0, 0, 1, 0, "You won: show your cards?"},
        {-1, 0, 0, 0, 0, 1, "You lost: show or muck your cards?"},
    };
    for (const auto& c : cases) {
        TableState table = handInPlay();
        table.userToAct = c.kind >= 0 ? 1 : 0;
        table.promptKind = c.kind;
        table.callAmount = c.call;
        table.minRaiseTo = c.min;
        table.blindAmount = c.blind;
        table.bragOffered = c.brag;
        table.showLostOffered = c.lost;
        EXPECT_EQ(promptText(table), c.text) << c.kind;
    }
    TableState table = handInPlay();
    table.userToAct = 1;
    table.promptKind = kPromptCallOrRaise;
    table.callAmount = 0.2f;
    table.minRaiseTo = 0.4f;
    EXPECT_EQ(promptText(table, 15), "Your turn: call 0.20, raise to at least 0.40, pot 0.75, 15 seconds");
    table.userToAct = 0;
    EXPECT_EQ(promptText(table), std::nullopt);
    table.userToAct = 1;
    table.userSeatedHere = 0;   // a watcher is never asked
    EXPECT_EQ(promptText(table), std::nullopt);
}

TEST(SpokenTexts, AskedForCardsBoardPotAndSeats)
{
    TableState table = handInPlay();
    EXPECT_EQ(myCardsText(table), "You hold no cards");
    EXPECT_EQ(boardText(table), "No board cards");
    table.setOwnCards(kUser, 51, 45);   // ace of spades, king of hearts
    table.board = {28, 33, 27, kNoCard, kNoCard};
    EXPECT_EQ(myCardsText(table), "Your cards: ace of spades, king of hearts");
    EXPECT_EQ(boardText(table), "Board: 9 of diamonds, 10 of hearts, 8 of spades");
    EXPECT_EQ(potText(table), "Pot 0.75, nothing to call");
    table.userToAct = 1;
    table.callAmount = 0.3f;
    EXPECT_EQ(potText(table), "Pot 0.75, to call 0.30");

    table.actingSeat = 2;
    const std::pair<int, const char*> seats[] = {
        {0, "Seat 1: Oberon, 9.60, dealer, folded"},
        {1, "Seat 2: Nimbus, 10, bet 0.05"},
        {2, "Seat 3: me, 10, you, to act"},
        {4, "Seat 5: empty"},
    };
    for (const auto& [seat, text] : seats)
        EXPECT_EQ(seatText(table, seat), text);
    table.playerSatOut(3);
    EXPECT_EQ(seatText(table, 3), "Seat 4: Marlowe, 10, bet 0.30, sitting out");
}

TEST(SpokenTexts, EventsOfTheHandAsTheyHappen)
{
    using K = HandEventKind;
    const TableState table = handInPlay();
    const auto event = [](K kind, int seat, const char* name, float amount = 0,
                          std::array<std::int8_t, 3> cards = none, const char* detail = "") {
        HandEvent e;
        e.kind = kind;
        e.seat = seat;
        e.name = name;
        e.amount = amount;
        e.cards = cards;
        e.detail = detail;
        return e;
    };
    const struct {
        HandEvent event;
        std::optional<std::string> spoken;
    } cases[] = {
        {event(K::Raise, 1, "Nimbus", 0.6f), "Nimbus raises to 0.60"},
        {event(K::Post, 1, "Nimbus", 0.05f, none, "small blind"), "Nimbus posts the small blind 0.05"},
        {event(K::Call, 3, "Marlowe", 0.2f), "Marlowe calls 0.20"},
        {event(K::Check, 0, ""), "Seat 1 checks"},
        {event(K::AllIn, 3, "Marlowe", 4), "Marlowe goes all in for 4"},
        {event(K::Fold, 1, "Nimbus"), "Nimbus folds"},
        {event(K::Flop, kNoSeat, "", 0, {28, 33, 27}), "Flop: 9 of diamonds, 10 of hearts, 8 of spades"},
        {event(K::River, kNoSeat, "", 0, {44, kNoCard, kNoCard}), "River: king of diamonds"},
        {event(K::Shows, 3, "Marlowe", 0, {51, 45, kNoCard}), "Marlowe shows ace of spades, king of hearts"},
        {event(K::Wins, 3, "Marlowe", 4.35f, none, "with a straight, main pot"), "Marlowe wins 4.35 with a straight"},
        {event(K::Wins, 3, "Marlowe", 2, none, "side pot 1"), "Marlowe wins 2, side pot 1"},
        {event(K::Wins, kUser, "me", 1.5f, none, "main pot"), "You win 1.50"},
        {event(K::Call, kUser, "me", 0.2f), std::nullopt},   // the user's own choice
        {event(K::Start, kNoSeat, ""), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spokenEvent(c.event, table), c.spoken) << handEventText(c.event);
}

} // namespace
} // namespace tessaly
