#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/dispatch/EffectRecorder.h"
#include "client/table/FixedText.h"
#include "client/table/TableState.h"
#include "tests/support/EffectPrint.h"

namespace tessaly {
namespace {

using Seats = std::vector<std::int32_t>;

TEST(TableState, StartsWithTheDocumentedInitialValues)
{
    const TableState t;
    EXPECT_EQ(t.actionLabelFade[9], 255);
    EXPECT_EQ(t.board, (std::array<std::int32_t, 5>{69, 69, 69, 69, 69}));
    EXPECT_EQ(t.dealerSeat, 69);
    EXPECT_EQ(t.actingSeat, 69);
    EXPECT_EQ(t.promptSetUp, 1);
    EXPECT_EQ(t.stack[0], 0.0f);
}

TEST(TableState, DealOrderStartsAfterTheDealer)
{
    struct Case {
        const char* name;
        Seats inHand;
        int dealer;
        Seats order;
    };
    const Case cases[] = {
        {"dealer at 5", {7, 2, 5, 9}, 5, {7, 9, 2, 5, 7, 9, 2, 5, 7, 9, 2, 5}},
        {"dealer last: whole turn", {7, 2, 5, 9}, 9, {2, 5, 7, 9, 2, 5, 7, 9, 2, 5, 7, 9}},
        {"dealer not in the hand", {7, 2, 5, 9}, 3, {5, 7, 9, 2, 5, 7, 9, 2, 5, 7, 9, 2}},
        {"no dealer", {1, 0}, 69, {1, 0, 1, 0, 1, 0}},
        {"two players", {8, 3}, 3, {8, 3, 8, 3, 8, 3}},
    };
    for (const Case& c : cases) {
        TableState t;
        t.playersInHand = c.inHand;
        t.dealerSeat = c.dealer;
        t.dealStep = 4;
        t.holeCardsDrawn[2] = 1;
        t.startDeal();
        EXPECT_EQ(t.dealOrder, c.order) << c.name;
        EXPECT_EQ(t.dealStep, 0) << c.name;
        EXPECT_EQ(t.dealing, 1) << c.name;
        EXPECT_EQ(t.handInProgress, 1) << c.name;
        EXPECT_EQ(t.holeCardsDrawn[2], 0) << c.name;
    }
}

TEST(TableState, DealWithOnePlayerKeepsTheOldOrder)
{
    TableState t;
    t.playersInHand = {4};
    t.dealOrder = {1, 2};
    t.dealStep = 3;
    t.startDeal();
    EXPECT_EQ(t.dealing, 1);
    EXPECT_EQ(t.handInProgress, 1);
    EXPECT_EQ(t.dealOrder, (Seats{1, 2}));
    EXPECT_EQ(t.dealStep, 3);
}

TEST(TableState, LeavingAndSittingOut)
{
    struct Case {
        const char* name;
        Seats inHand;
        int seat;
        std::int32_t userSeatedAfter;
        Seats inHandAfter;
    };
    // The user sits at seat 3.
    const Case cases[] = {
        {"user leaves while not in the hand", {1, 5}, 3, 0, {1, 5}},
        {"user leaves while in the hand", {3, 5}, 3, 1, {5}},
        {"another player leaves", {3, 5, 5}, 5, 1, {3, 5}},
        {"a seat not in the hand leaves", {1}, 7, 1, {1}},
    };
    for (const Case& c : cases) {
        TableState t;
        t.userSeat = 3;
        t.userSeatedHere = 1;
        t.playersInHand = c.inHand;
        t.seatOccupied[c.seat] = 1;
        t.stack[c.seat] = 100;
        t.ownCardsLive[c.seat] = 1;
        t.playerLeft(c.seat);
        EXPECT_EQ(t.userSeatedHere, c.userSeatedAfter) << c.name;
        EXPECT_EQ(t.playersInHand, c.inHandAfter) << c.name;
        EXPECT_EQ(t.seatOccupied[c.seat], 0) << c.name;
        EXPECT_EQ(t.stack[c.seat], 0.0f) << c.name;
        EXPECT_EQ(t.ownCardsLive[c.seat], 0) << c.name;
        EXPECT_EQ(t.seatState[c.seat], 2004) << c.name;
    }

    TableState t;
    t.userSeat = 2;
    t.userToAct = 1;
    t.playersInHand = {2, 6, 2};
    t.playerSatOut(2);
    EXPECT_EQ(t.seatState[2], 2003);
    EXPECT_EQ(t.sittingOut, 1);
    EXPECT_EQ(t.userToAct, 0);
    EXPECT_EQ(t.playersInHand, (Seats{6, 2})) << "only the first entry goes";
    t.promptSetUp = 1;
    t.playerReturned(2);
    EXPECT_EQ(t.sittingOut, 0);
    EXPECT_EQ(t.promptSetUp, 0);
    t.promptSetUp = 1;
    t.playerReturned(6);
    EXPECT_EQ(t.promptSetUp, 1) << "another seat's return leaves the user's prompt";
}

TEST(TableState, ResetClearsTheHandAndKeepsTheSeats)
{
    TableState t;
    t.board = {1, 2, 3, 4, 5};
    t.pots = {10, 20};
    t.rake = 1;
    t.bragOffered = t.showLostOffered = t.userWon = t.userToAct = 1;
    t.flopDrawn = 1;
    t.boardAnimation = {1, 2, 3};
    t.cardsShown[1] = t.ownCardSeat[1] = t.ownCardsLive[1] = 1;
    t.inFront[1] = 5;
    t.allIn[1] = 1;
    t.playersInHand = {1, 2};
    t.dealerSeat = t.actingSeat = 2;
    t.seatOccupied[1] = 1;
    t.playerName[1] = "ann";
    t.stack[1] = 80;
    t.handInProgress = 1;
    t.dealOrder = {1, 2};
    t.chatText = "hi";
    t.callAmount = 4;
    TableState expected = t;
    t.reset();
    expected.board.fill(69);
    expected.pots.fill(0);
    expected.rake = 0;
    expected.bragOffered = expected.showLostOffered = expected.userWon = expected.userToAct = 0;
    expected.flopDrawn = 0;
    expected.boardAnimation = {};
    expected.cardsShown[1] = expected.ownCardSeat[1] = expected.ownCardsLive[1] = 0;
    expected.inFront[1] = 0;
    expected.allIn[1] = 0;
    expected.playersInHand.clear();
    expected.dealerSeat = expected.actingSeat = 69;
    EXPECT_EQ(t, expected);
}

TEST(TableState, OwnCardsAndBlindPosts)
{
    TableState t;
    t.ownCardSeat[1] = 1;
    t.setOwnCards(4, 50, 51);
    EXPECT_EQ(t.ownCardSeat[1], 0);
    EXPECT_EQ(t.ownCardSeat[4], 1);
    EXPECT_EQ(t.ownCardsLive[4], 1);

    EffectRecorder sender;
    t.userSeat = 4;
    t.autoPostBlind(sender, 12, 100);
    t.autoPostBlind(sender, 12, 101);
    EXPECT_EQ(sender.effects(),
              (std::vector<Effect>{Effect::send(sent("xPBB:\t12\t4\t0.00\r")), Effect::send(sent("xPSB:\t12\t4\t0.00\r"))}));
}

TEST(TableState, SeatsOutsideTheTableChangeNothing)
{
    TableState t;
    for (const int seat : {-1, 10, 69}) {
        t.seatPlayer(seat, "x", 1, 1, 0);
        t.playerLeft(seat);
        t.playerSatOut(seat);
        t.fold(seat, 3);
        t.setOwnCards(seat, 1, 2);
        t.showCards(seat, 1, 2);
        t.addToHand(seat);
    }
    EXPECT_EQ(t, TableState{});
}

TEST(FixedText, CutsToCapacityOnACharacterBoundary)
{
    FixedText<8> text("abcdefghij");
    EXPECT_EQ(text.str(), "abcdefg");
    text = "abcde\xC3\xA9z";   // "é" would straddle the cut at 7 bytes
    EXPECT_EQ(text.str(), "abcde\xC3\xA9");
    text = "abcdef\xC3\xA9";
    EXPECT_EQ(text.str(), "abcdef");
}

} // namespace
} // namespace tessaly
