// Opening and leaving a table without its window: the open-table list, the
// question before leaving, and the record after the window has gone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "client/table/TableState.h"
#include "client/table/TableWindowRules.h"

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

} // namespace
} // namespace tessaly
