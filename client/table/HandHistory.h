#pragma once
// The hands of a table as hand histories: each hand's players, their
// starting and finishing stacks, the blinds, the known hole cards and every
// event, kept from the hand's start until it is over (its pots paid out or
// the hand cancelled), then waiting for the window to write it out in the
// PHH ("Poker Hand History") format.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "client/table/HandEvents.h"

namespace tessaly {

struct TableState;

struct HandRecord {
    std::int32_t hand = 0;
    std::string tableName;
    std::int32_t gameType = 0;
    std::int32_t seatCount = 0;
    float smallBlind = 0.0f;
    float bigBlind = 0.0f;
    std::int32_t dealerSeat = kNoSeat;
    std::int32_t userSeat = kNoSeat;              // the user's seat when dealt in
    std::vector<std::int32_t> seats;              // the players dealt in, by seat
    std::vector<std::string> names;
    std::vector<float> startingStacks;
    std::vector<float> finishingStacks;
    std::vector<std::array<std::int32_t, 2>> holeCards;   // kNoCard when never seen
    std::vector<HandEvent> events;
    bool cancelled = false;

    bool operator==(const HandRecord&) const = default;
};

// At most this many finished hands wait for the window; older ones go.
inline constexpr std::size_t kMaxWaitingHandRecords = 50;

class HandHistoryRecorder {
public:
    // Every hand event of the table, after the record took the line.
    void take(const TableState& table, const HandEvent& event);
    // The pots changed: a hand whose winners are known is over once its
    // pots are empty.
    void potsChanged(const TableState& table);

    // Finished hands, oldest first, for the writer.
    std::deque<HandRecord> finished;

    bool operator==(const HandHistoryRecorder&) const = default;

private:
    void begin(const TableState& table, std::int32_t hand);
    void finish(const TableState& table);

    bool recording_ = false;
    bool winnersKnown_ = false;
    HandRecord current_;
};

// The date and time a hand is written with.
struct HandStamp {
    int year, month, day, hour, minute, second;
};

// "9d", "Th", "As"; "??" for no card.
std::string phhCard(int code);

// One hand as a table of a ".phhs" file: its header, the required fields of
// its variant (NT, PO or FT by the game type), the players, seats, stacks,
// winnings and the actions, with "????" for hole cards never shown.
std::string phhSection(const HandRecord& hand, const HandStamp& when);

} // namespace tessaly
