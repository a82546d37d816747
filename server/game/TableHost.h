#pragma once
// What a table needs from the room around it, and how the room runs it.

#include "server/db/AccountStore.h"
#include "server/game/Timers.h"

#include <cstdint>
#include <string>

namespace tessaly::house {

using ConnId = std::uint64_t;

class TableHost {
public:
    virtual ~TableHost() = default;
    virtual void send(ConnId conn, const std::string& line) = 0;
    virtual Timers& timers() = 0;
    virtual AccountStore& accounts() = 0;
    virtual std::int64_t nextHandNumber() = 0;
    // A hand is over and its chips are settled.
    virtual void handEnded(int table) = 0;
    // The table would deal but has fewer than two players ready.
    virtual void tableIdle(int table) = 0;
};

struct TableSettings {
    bool fast = false;                  // no dealer pauses, bots act at once
    int pacePercent = 100;              // dealer pauses and bots' thinking, in percent of their normal length
    Millis turnTimeout = Millis(20000); // a person's time to act or post
    bool mixEntropy = true;             // off when decks must repeat for a seed
};

} // namespace tessaly::house
