// Opening and leaving a table without its window: the open-table list, the
// question before leaving, and the record after the window has gone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "client/table/ClientState.h"
#include "client/table/TableDescription.h"
#include "client/table/TableWindowRules.h"
#include "tests/support/RecordingSender.h"

namespace tessaly {
namespace {

using ::testing::ElementsAre;

TEST(OpenTables, NamesStaySortedAndUniqueAndANameOpenTwiceIsRefused)
{
    std::vector<std::string> names;
    EXPECT_TRUE(addOpenTable(names, "Marsh"));
    EXPECT_TRUE(addOpenTable(names, "Aldergrove"));
    EXPECT_FALSE(addOpenTable(names, "Marsh"));
    EXPECT_TRUE(addOpenTable(names, "marsh"));
    EXPECT_THAT(names, ElementsAre("Aldergrove", "Marsh", "marsh"));
    removeOpenTable(names, "Marsh");
    removeOpenTable(names, "Nowhere");
    EXPECT_THAT(names, ElementsAre("Aldergrove", "marsh"));
    EXPECT_TRUE(addOpenTable(names, "Marsh"));
}

TEST(LeavingATable, AsksOnlyWhenSeatedHereAndStillInTheHand)
{
    struct Case {
        int userSeat;
        bool seatedHere;
        bool cardsLive;
        bool asks;
    };
    const Case cases[] = {
        {3, true, true, true},   {3, true, false, false}, {3, false, true, false},
        {9, true, true, true},   {-1, true, true, false}, {10, true, true, false},
    };
    for (const Case& c : cases) {
        TableState table;
        table.userSeat = c.userSeat;
        table.userSeatedHere = c.seatedHere ? 1 : 0;
        if (c.cardsLive && c.userSeat >= 0 && c.userSeat < kSeatCount)
            table.ownCardsLive[static_cast<std::size_t>(c.userSeat)] = 1;
        EXPECT_EQ(leavingFoldsTheHand(table), c.asks) << c.userSeat << c.seatedHere << c.cardsLive;
    }
}

TEST(LeavingATable, TheRecordIsLeftClosedWithNobodySeatedAndNoNames)
{
    TableState table;
    table.tableName = "Aldergrove";
    table.userSeatedHere = 1;
    table.seatPlayer(2, "ann", 40.0f, 1.0f, 2002);
    table.seatPlayer(7, "bob", 12.5f, 0.0f, 2002);
    table.board = {4, 8, 12, 69, 69};
    table.pots[0] = 30.0f;
    resetClosedTable(table);
    EXPECT_EQ(table.closed, 1);
    EXPECT_EQ(table.userSeatedHere, 0);
    EXPECT_THAT(table.seatOccupied, ::testing::Each(0));
    for (const auto& name : table.playerName)
        EXPECT_TRUE(name.empty());
    EXPECT_EQ(table.board[0], kNoCard);
    EXPECT_EQ(table.pots[0], 0.0f);
    // The listing stays for the next window.
    EXPECT_EQ(table.tableName.str(), "Aldergrove");
}

TEST(JoiningASeat, LoggedOutWaitsLoggedInAsksForTheBalanceSeatedElsewhereIsRefused)
{
    struct Case {
        int loggedIn;
        int seatedSomewhere;
        JoinOutcome outcome;
        int userSeat;      // after the click
        int pendingJoin;
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {0, 0, JoinOutcome::NeedsLogin, 0, 1, {}},
        {0, 1, JoinOutcome::NeedsLogin, 0, 1, {}},
        {1, 0, JoinOutcome::BalanceAsked, 4, 0, {"ACCOUNT_BALANCE_PM:\tann\r"}},
        {1, 1, JoinOutcome::SeatedElsewhere, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.loggedIn << c.seatedSomewhere);
        SessionValues session;
        session.loggedIn = c.loggedIn;
        session.seatedSomewhere = c.seatedSomewhere;
        session.screenName = "ann";
        TableState table;
        RecordingSender sender;
        EXPECT_EQ(requestSeat(session, table, 4, sender), c.outcome);
        EXPECT_EQ(table.userSeat, c.userSeat);
        EXPECT_EQ(session.pendingJoin, c.pendingJoin);
        EXPECT_EQ(session.pendingSeat, c.pendingJoin == 1 ? 4 : 0);
        EXPECT_EQ(sender.lines, c.sent);
    }
}

TEST(SeatTick, OnlyTheForegroundWindowTakesTheBalanceAndAPendingSeatIsResumedAfterLogin)
{
    struct Case {
        int loggedIn;
        int pendingJoin;
        int balanceArrived;
        bool foreground;
        bool opensBuyIn;
        int balanceAfter;
        int pendingAfter;
        std::vector<std::string> sent;
    };
    const std::string ask = "ACCOUNT_BALANCE_PM:\tann\r";
    const Case cases[] = {
        // The balance is in: the foreground window opens the buy-in and the
        // pending seat is done with.
        {1, 1, 1, true, true, 0, 0, {}},
        // Another window is in front: the flag waits for it.
        {1, 0, 1, false, false, 1, 0, {}},
        {1, 1, 1, false, false, 1, 1, {}},
        // Logged in with a seat chosen before: the seat is taken up here and
        // the balance asked for, tick after tick, until it arrives.
        {1, 1, 0, true, false, 0, 1, {ask}},
        {1, 1, 0, false, false, 0, 1, {ask}},
        // Still logged out: the seat waits.
        {0, 1, 0, true, false, 0, 1, {}},
        {1, 0, 0, true, false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.loggedIn << c.pendingJoin << c.balanceArrived << c.foreground);
        SessionValues session;
        session.loggedIn = c.loggedIn;
        session.pendingJoin = c.pendingJoin;
        session.pendingSeat = 7;
        session.balanceArrived = c.balanceArrived;
        session.screenName = "ann";
        TableState table;
        RecordingSender sender;
        EXPECT_EQ(seatTick(session, table, c.foreground, sender), c.opensBuyIn);
        EXPECT_EQ(session.balanceArrived, c.balanceAfter);
        EXPECT_EQ(session.pendingJoin, c.pendingAfter);
        EXPECT_EQ(sender.lines, c.sent);
        EXPECT_EQ(table.userSeat, c.pendingAfter == 1 && c.loggedIn == 1 ? 7 : 0);
    }
}

TEST(TableDescription, NamesTheBoardThePotsAndWhoIsToAct)
{
    TableState table;
    EXPECT_EQ(tableDescription(table, "Marsh"), "Table Marsh.");
    table.board = {48, 37, 0, kNoCard, kNoCard};
    table.pots[0] = 40.0f;
    table.pots[1] = 12.5f;
    table.seatPlayer(3, "ann", 20.0f, 0.0f, 2002);
    table.actingSeat = 3;
    EXPECT_EQ(tableDescription(table, "Marsh"),
              "Table Marsh. Board: ace of diamonds, jack of hearts, 2 of diamonds. Pots: 40, 12.50. To act: ann.");
    // Nobody seated there, or no seat at all: nobody to name.
    table.actingSeat = 5;
    EXPECT_EQ(tableDescription(table, "Marsh").find("To act"), std::string::npos);
    table.actingSeat = kNoSeat;
    EXPECT_EQ(tableDescription(table, "Marsh").find("To act"), std::string::npos);
    EXPECT_EQ(spokenCardName(51), "ace of spades");
    EXPECT_EQ(spokenCardName(kNoCard), "");
}

} // namespace
} // namespace tessaly
