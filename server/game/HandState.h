#pragma once
// The state of the hand being dealt at a table, and what is left of the
// last one for showing cards after it.

#include "server/db/AccountStore.h"
#include "server/poker/Cards.h"
#include "server/poker/Settlement.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tessaly::house {

// One seat's part in the hand.
struct InHand {
    bool dealt = false;
    bool folded = false;
    bool allIn = false;
    bool shown = false;
    Chips inFront = 0;
    Chips total = 0;
    int actedLevel = -1;
    std::array<int, 2> cards{kNoCard, kNoCard};
    bool live() const { return dealt && !folded; }
};

// What the dealer waits for.
enum class Waiting { Nothing, SmallBlind, BigBlind, Action };

struct Hand {
    std::int64_t number = 0;
    int button = 0;
    int smallBlind = -1;
    int bigBlind = -1;
    int street = 0; // 0 preflop, 1 flop, 2 turn, 3 river
    std::vector<int> deck;
    std::size_t nextCard = 0;
    std::vector<int> board;
    std::array<InHand, kMaxSeats> p;
    Chips currentBet = 0;
    Chips lastRaise = 0;
    int raiseLevel = 0;
    int betsThisRound = 0;
    int actor = -1;
    Waiting waiting = Waiting::Nothing;
    bool allInShown = false;
    std::size_t potsShown = 0;
    bool sawFlop = false;
    int playersDealt = 0;

    int liveCount() const;
    // Live and not all in: can still bet.
    int canActCount() const;
    // One value per seat, taken from each seat's part in the hand.
    template <class Value>
    auto perSeat(Value value) const
    {
        std::array<decltype(value(p[0])), kMaxSeats> out{};
        for (int s = 0; s < kMaxSeats; ++s)
            out[s] = value(p[s]);
        return out;
    }
    SeatChips totals() const { return perSeat([](const InHand& x) { return x.total; }); }
    SeatChips inFront() const { return perSeat([](const InHand& x) { return x.inFront; }); }
    std::array<bool, kMaxSeats> live() const { return perSeat([](const InHand& x) { return x.live(); }); }
    std::array<std::array<int, 2>, kMaxSeats> holeCards() const
    {
        return perSeat([](const InHand& x) { return x.cards; });
    }
    Chips potTotal() const { return house::potTotal(totals()); }
};

// After a hand, until the next one starts: who may still show cards.
struct LastHand {
    AccountId bragger = 0;
    std::set<AccountId> mayShowLost;
    std::array<std::array<int, 2>, kMaxSeats> cards{};
};

// "A:s K:h": cards as the dealer says them in the chat.
std::string cardsText(const std::vector<int>& cards);

} // namespace tessaly::house
