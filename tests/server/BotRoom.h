#pragma once
// The default room with bots only and no pauses, on a manual clock, with
// one connection watching every table: the soak test and the benchmark.

#include "tests/server/ManualTimers.h"

#include "server/db/PasswordHash.h"
#include "server/game/Room.h"

namespace tessaly::house::test {

struct BotRoom {
    static constexpr ConnId kWatcher = 1;

    explicit BotRoom(std::int64_t hands)
    {
        RoomSettings settings;
        settings.table.fast = true;
        settings.botsPerTable = 4;
        settings.handLimit = hands;
        room = std::make_unique<Room>(defaultRoom(), settings, store, passwords, clock, output, RandomStream("soak"));
        room->onHandLimit([this] { done = true; });
        room->connected(kWatcher);
        for (std::size_t t = 0; t < room->tables().size(); ++t)
            room->handle(kWatcher, "WATCH_TABLE:\t" + std::to_string(t) + "\r");
        room->startBots();
    }

    // Balances plus chips at the tables equal every grant.
    bool conserved()
    {
        const MoneyTotals t = store.totals();
        return t.balances + room->chipsOnTables() == t.grants;
    }

    ManualTimers clock;
    RecordingOutput output;
    AccountStore store{":memory:"};
    InlinePasswordWork passwords;
    std::unique_ptr<Room> room;
    bool done = false;
};

} // namespace tessaly::house::test
