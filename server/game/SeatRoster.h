#pragma once
// The seats of one table: who sits where with which stack, who sits out,
// and the chips that move between a seat and its account when a player
// sits down, adds chips, comes back or stands up.

#include "server/db/AccountStore.h"
#include "server/game/BotBrain.h"
#include "server/game/TableChannel.h"
#include "server/game/TableConfig.h"
#include "server/poker/Pots.h"
#include "server/poker/Random.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::house {

// A person who sits out this many hands in a row is stood up.
constexpr int kMaxHandsSittingOut = 30;

// Who sits down: a person (with the connection that plays for him) or a bot.
struct Sitter {
    AccountId account = 0;
    std::string name;
    ConnId conn = 0; // 0 for a bot
    BotStyle style;
};

enum class JoinResult { Joined, BadSeat, SeatTaken, AlreadySeated, BadAmount, NoFunds };

struct Seat {
    AccountId account = 0;
    std::string name;
    ConnId conn = 0;
    BotStyle style;
    Chips stack = 0;
    Chips pending = 0;   // added at the start of the next hand
    bool sittingOut = false;
    bool sitOutAfterHand = false;
    bool leaving = false; // left inside the hand; the seat frees when it ends
    int timeouts = 0;
    int handsSatOut = 0;
    bool bot() const { return conn == 0; }
};

class SeatRoster {
public:
    SeatRoster(const TableConfig& config, TableChannel& channel) : config_(config), channel_(channel) {}

    // The seat at index s, or nullptr when it is free.
    Seat* get(int s) { return seats_[s] ? &*seats_[s] : nullptr; }
    const Seat* get(int s) const { return seats_[s] ? &*seats_[s] : nullptr; }
    Seat& at(int s) { return *seats_[s]; }
    // The account's seat unless it is on its way out.
    Seat* find(AccountId account);
    const Seat* find(AccountId account) const;
    std::optional<int> seatOf(AccountId account) const;
    // The first seat after from, going round, that pred accepts; -1 for none.
    int next(int from, const std::function<bool(int)>& pred) const;
    // Seated, not leaving, not sitting out and with chips: dealt in.
    bool eligible(int s) const;

    bool sittingOut(AccountId account) const;
    Chips stackOf(AccountId account) const;
    std::optional<int> freeSeat(RandomStream& random) const;
    std::vector<AccountId> bots() const;
    int personCount() const;
    int seatedCount() const;
    Chips stacks() const;
    // Every seat that stays, with its stack, for the books at a hand's end.
    std::vector<SeatStack> stacksForBooks() const;

    // Takes the buy-in from the account and tells the table.
    JoinResult sit(const Sitter& who, int seat, Chips amount);
    // Out of any hand: the stack goes home and the seat frees.
    void standUp(int s);
    // Inside a hand: what is behind goes home, the seat frees after the hand.
    void leaveInHand(int s);
    // stillInHand: the player has live cards and is dealt out after the hand.
    void dealOut(int s, bool stillInHand);
    void sitOutNow(int s);
    // False when the player is not sitting out or has no chips to play.
    bool comeBack(AccountId account);
    // Chips for the next hand (at once when the seat was not dealt in);
    // false when they would take the stack over the maximum buy-in.
    bool addChips(int s, Chips amount, bool dealtIn);
    void applyPending(int s);
    // Before a hand: pending chips added, empty stacks dealt out; the
    // number of players ready.
    int readyForHand();
    // After a hand: seats of those who left free, busted players sit out,
    // people away too long are stood up.
    void afterHand();
    // The house closes: everyone stands up with his stack.
    void standEveryoneUp();

private:
    const TableConfig& config_;
    TableChannel& channel_;
    std::array<std::optional<Seat>, kMaxSeats> seats_;
};

} // namespace tessaly::house
