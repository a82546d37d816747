#pragma once
// What happened in a hand, one typed event per step a player can follow:
// the start, the blinds, every action with its amount, the board, shown
// cards, the winners. The dispatcher turns the server's lines into events
// (HandEventRules.h) and queues them on the table's record; the table
// window takes them for its hand log, as it takes the chat.

#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "client/net/Protocol.h"

namespace tessaly {

enum class HandEventKind : std::uint8_t {
    Start,      // hand number (0 when the server did not say)
    Post,       // a blind or bet placed before the deal; detail "small blind" / "big blind"
    Check,
    Call,       // amount: what the call added
    Bet,        // amount: the bet
    Raise,      // amount: the raise-to total
    AllIn,      // amount: the seat's whole bet on the street
    Fold,
    Flop,
    Turn,
    River,
    Shows,      // the seat's two cards (or one)
    Returned,   // an uncalled bet back to name
    Wins,       // name wins amount; detail "with a straight, main pot"
    Cancelled,
    Dropped,    // hands that the queue could not keep: count, from hand number
};

struct HandEvent {
    HandEventKind kind = HandEventKind::Start;
    std::int32_t seat = kNoSeat;
    std::string name;
    float amount = 0.0f;
    float inFront = 0.0f;       // the seat's bet on the street after the action
    float stack = 0.0f;         // the seat's stack after the action, where the line says
    std::int32_t hand = 0;      // Start, Dropped: the hand's number
    std::int32_t count = 0;     // Dropped: how many hands
    std::array<std::int8_t, 3> cards{kNoCard, kNoCard, kNoCard};
    std::string detail;

    bool operator==(const HandEvent&) const = default;
};

// "9♦", "10♥", "A♠"; empty for a code that is no card.
std::string cardText(int code);

// The event as the hand log shows it: "seat 3 (Nimbus) raises to 0.60",
// "flop 9♦ 10♥ 8♠", "Nimbus wins 4.35 with a straight, main pot". Seats
// count from 1 as a player counts them; amounts use the amount-text rule.
std::string handEventText(const HandEvent& event);

// Events since the window's last look, oldest first. A table without a
// window keeps filling it; once full, the oldest whole hand goes and one
// Dropped event in its place says so.
inline constexpr std::size_t kMaxWaitingHandEvents = 512;

class HandEventQueue {
public:
    void push(HandEvent event);
    // Hands every waiting event to take(event), oldest first, and empties
    // the queue.
    template <class Take>
    void drain(Take&& take)
    {
        while (!events_.empty()) {
            take(events_.front());
            events_.pop_front();
        }
    }
    const std::deque<HandEvent>& waiting() const { return events_; }

    // The number of the hand the dealer announced last; the next Start
    // event carries it.
    std::int32_t announcedHand = 0;

    bool operator==(const HandEventQueue&) const = default;

private:
    void dropOldestHand();

    std::deque<HandEvent> events_;
};

} // namespace tessaly
