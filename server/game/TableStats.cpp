#include "server/game/TableStats.h"

#include "server/protocol/Money.h"

namespace tessaly::house {
namespace {

// The average pot and players per flop are over this many hands.
constexpr int kRecentHands = 20;

} // namespace

void TableStats::record(TimePoint now, Chips pot, bool sawFlop)
{
    recent_.push_back({now, pot, sawFlop});
    while (recent_.size() > 200 || (recent_.size() > kRecentHands && now - recent_.front().at > std::chrono::hours(1)))
        recent_.pop_front();
}

lines::ListedTable TableStats::listing(const TableConfig& config, int players, TimePoint now) const
{
    lines::ListedTable t;
    t.smallBlind = config.smallBlind;
    t.bigBlind = config.bigBlind;
    t.minBuyIn = config.minBuyIn;
    t.maxBuyIn = config.maxBuyIn;
    t.name = config.name;
    t.gameCode = static_cast<int>(config.type);
    t.seats = config.seats;
    t.stakes = config.stakesText();
    t.players = players;
    t.waiting = 0;

    Chips pots = 0;
    int counted = 0, flops = 0, lastHour = 0;
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
        if (counted < kRecentHands) {
            pots += it->pot;
            flops += it->flop ? 1 : 0;
            ++counted;
        }
        lastHour += now - it->at <= std::chrono::hours(1) ? 1 : 0;
    }
    t.averagePot = counted ? static_cast<long>(pots / counted / kChipsPerUnit) : 0;
    t.playersPerFlop = counted ? flops * 100 / counted : 0;
    t.handsPerHour = lastHour;
    return t;
}

std::vector<lines::ListedPlayer> listedPlayers(const SeatRoster& roster, int seats)
{
    std::vector<lines::ListedPlayer> out;
    for (int s = 0; s < seats; ++s) {
        const Seat* seat = roster.get(s);
        if (seat && !seat->leaving)
            out.push_back({std::to_string(s + 1), seat->name, moneyText(seat->stack)});
    }
    return out;
}

} // namespace tessaly::house
