// Bots only, no pauses: many hands across every table, every line that a
// watcher of all tables receives checked against the catalogue, and the
// chips counted after every step of the dealer.

#include "ManualTimers.h"

#include "server/game/Room.h"

#include <gtest/gtest.h>

namespace tessaly::house {
namespace {

using test::ManualTimers;
using test::RecordingOutput;

constexpr int kHands = 2000;

TEST(Soak, BotsPlayThousandsOfHandsAndEveryChipIsAccountedFor)
{
    ManualTimers clock;
    RecordingOutput output;
    AccountStore store(":memory:");
    InlinePasswordWork passwords;
    RoomSettings settings;
    settings.table.fast = true;
    settings.botsPerTable = 4;
    settings.handLimit = kHands;
    Room room(defaultRoom(), settings, store, passwords, clock, output, RandomStream("soak"));
    bool done = false;
    room.onHandLimit([&] { done = true; });

    const ConnId watcher = 1;
    room.connected(watcher);
    for (int t = 0; t < 8; ++t)
        room.handle(watcher, "WATCH_TABLE:\t" + std::to_string(t) + "\r");
    room.startBots();

    std::size_t checked = 0;
    long steps = 0;
    while (!done && clock.step()) {
        ++steps;
        const MoneyTotals t = store.totals();
        ASSERT_EQ(t.balances + room.chipsOnTables(), t.grants) << "after step " << steps;
        if (output.sent[watcher].size() > 50000) {
            checked += output.sent[watcher].size();
            output.sent[watcher].clear();
        }
        ASSERT_TRUE(output.faults.empty()) << output.faults.front();
    }
    EXPECT_TRUE(done);
    EXPECT_GE(room.stats().hands, kHands);
    checked += output.sent[watcher].size();
    EXPECT_GT(checked, static_cast<std::size_t>(kHands) * 10);

    // Every hand shows up in the lobby's figures, and shutting down puts
    // every chip back into the accounts.
    room.handle(watcher, "LIST_TABLES");
    EXPECT_EQ(output.with(watcher, "START_TABLE").size(), 1u);
    room.shutdown();
    const MoneyTotals t = store.totals();
    EXPECT_EQ(t.seatStacks, 0);
    EXPECT_EQ(t.balances, t.grants);
    EXPECT_EQ(room.chipsOnTables(), 0);
    EXPECT_TRUE(output.faults.empty()) << output.faults.front();
}

} // namespace
} // namespace tessaly::house
