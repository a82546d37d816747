#pragma once
// What the lobby shows of a table: its settings, who sits there, and the
// figures of its recent hands (average pot, players per flop, hands in the
// last hour).

#include "server/game/SeatRoster.h"
#include "server/game/TableConfig.h"
#include "server/protocol/ServerLines.h"

#include <chrono>
#include <deque>
#include <vector>

namespace tessaly::house {

class TableStats {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // A hand is over: its pot and whether it saw a flop.
    void record(TimePoint now, Chips pot, bool sawFlop);

    lines::ListedTable listing(const TableConfig& config, int players, TimePoint now) const;

private:
    struct Played {
        TimePoint at;
        Chips pot;
        bool flop;
    };
    std::deque<Played> recent_;
};

// The lobby's list of a table's players: seat number from 1, name, stack.
std::vector<lines::ListedPlayer> listedPlayers(const SeatRoster& roster, int seats);

} // namespace tessaly::house
