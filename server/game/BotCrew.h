#pragma once
// The house bots that keep the room lively: their accounts, a seat for one
// whenever a table is short of its number, a bot at an idle table to get it
// dealing again, and between hands what each does next (re-buy, leave, sit
// out for a few hands, come back, say something).

#include "server/db/AccountStore.h"
#include "server/game/Table.h"
#include "server/game/Timers.h"
#include "server/poker/Random.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tessaly::house {

struct CrewSettings {
    int botsPerTable = 3;
    bool fast = false;       // bots come at once instead of trickling in
    Chips reloadTarget = 0;  // what a bot's balance is topped up to before it buys chips
};

class BotCrew {
public:
    // random: the room's stream; the crew derives its own from it.
    BotCrew(const std::vector<std::unique_ptr<Table>>& tables, CrewSettings settings, AccountStore& accounts,
            Timers& timers, const RandomStream& random);

    // Creates the bots' accounts and starts filling the tables.
    void start();
    // The house closes: no bot moves any more.
    void stop();
    // A hand is over at table: each of its bots decides what next.
    void handEnded(Table& table);
    // The table has fewer than two players ready.
    void tableIdle(int table);

private:
    struct Bot {
        AccountId account;
        std::string name;
        BotStyle style;
        int sitOutHands = 0; // hands left before a sat-out bot comes back
    };

    int wanted(const Table& table) const;
    bool seated(AccountId account) const;
    void ensureBots();
    void seatBot(Table& table);
    void wakeTable(int table);
    void fillTables();

    const std::vector<std::unique_ptr<Table>>& tables_;
    CrewSettings settings_;
    AccountStore& accounts_;
    Timers& timers_;
    RandomStream styles_;
    RandomStream random_;
    std::vector<Bot> bots_;
    Timer crewTimer_;
    std::set<int> waking_; // idle tables that bots are on their way to
    bool stopped_ = false;
};

} // namespace tessaly::house
