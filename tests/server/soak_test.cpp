// Bots only, no pauses: many hands across every table, every line that a
// watcher of all tables receives checked against the catalogue, and the
// chips counted after every step of the dealer.

#include "BotRoom.h"

#include <gtest/gtest.h>

namespace tessaly::house {
namespace {

constexpr int kHands = 2000;

TEST(Soak, BotsPlayThousandsOfHandsAndEveryChipIsAccountedFor)
{
    test::BotRoom r(kHands);
    const ConnId watcher = test::BotRoom::kWatcher;
    std::size_t checked = 0;
    long steps = 0;
    while (!r.done && r.clock.step()) {
        ++steps;
        ASSERT_TRUE(r.conserved()) << "after step " << steps;
        if (r.output.sent[watcher].size() > 50000) {
            checked += r.output.sent[watcher].size();
            r.output.sent[watcher].clear();
        }
        ASSERT_TRUE(r.output.faults.empty()) << r.output.faults.front();
    }
    EXPECT_TRUE(r.done);
    EXPECT_GE(r.room->stats().hands, kHands);
    checked += r.output.sent[watcher].size();
    EXPECT_GT(checked, static_cast<std::size_t>(kHands) * 10);

    // Shutting down puts every chip back into the accounts.
    r.room->handle(watcher, "LIST_TABLES");
    EXPECT_EQ(r.output.with(watcher, "START_TABLE").size(), 1u);
    r.room->shutdown();
    const MoneyTotals t = r.store.totals();
    EXPECT_EQ(t.seatStacks, 0);
    EXPECT_EQ(t.balances, t.grants);
    EXPECT_EQ(r.room->chipsOnTables(), 0);
    EXPECT_TRUE(r.output.faults.empty()) << r.output.faults.front();
}

} // namespace
} // namespace tessaly::house
