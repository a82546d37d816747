#pragma once
// One poker table: its seats, its watchers and the dealer who runs a hold'em
// hand after the other. Every line the clients see comes from here.

#include "server/db/AccountStore.h"
#include "server/game/BotBrain.h"
#include "server/game/TableConfig.h"
#include "server/net/Timers.h"
#include "server/poker/Betting.h"
#include "server/poker/Pots.h"
#include "server/poker/Random.h"
#include "server/protocol/ServerLines.h"

#include <array>
#include <chrono>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tessaly::house {

using ConnId = std::uint64_t;

// What a table needs from the room around it.
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

class Table {
public:
    Table(int id, TableConfig config, TableHost& host, TableSettings settings, RandomStream random);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    int id() const { return id_; }
    const TableConfig& config() const { return config_; }

    // Watching: the snapshot, then every update until unwatch.
    void watch(ConnId conn, AccountId viewer);
    void unwatch(ConnId conn);

    JoinResult join(const Sitter& who, int seat, Chips amount);
    // Stands the account up; its chips go back to its balance.
    void leave(AccountId account);

    // A seated person's requests; anything that does not fit the moment is ignored.
    void reply(AccountId account, int code, Chips amount);
    void postBlind(AccountId account, int seat, bool big);
    void noPost(AccountId account);
    void dealMeOut(AccountId account);
    void imBack(AccountId account);
    void bragOkay(AccountId account);
    void showLost(AccountId account, int seat);
    // Adds chips at the start of the next hand (at once when the player is
    // not in one); false when the amount does not fit the table's maximum.
    bool quickChips(AccountId account, int seat, Chips amount);
    void chat(std::string_view sender, std::string_view text);
    void mixEntropy(long value);

    std::optional<int> seatOf(AccountId account) const;
    bool sittingOut(AccountId account) const;
    Chips stackOf(AccountId account) const;
    std::optional<int> freeSeat(RandomStream& random) const;
    int botCount() const;
    int personCount() const;
    std::vector<AccountId> bots() const;
    bool handRunning() const { return hand_.has_value(); }

    lines::ListedTable listing() const;
    std::vector<lines::ListedPlayer> players() const;
    // Every chip at the table: stacks and the pot. Chips asked for with
    // quickChips stay in the balance until they are added.
    Chips chipsAtTable() const;

    // Ends the hand in progress with every bet returned and stands everyone
    // up; the table deals no more.
    void close();

private:
    // Constructors out of line: some compilers cannot see the member
    // initialisers of a nested class from inside the enclosing one.
    struct Seat {
        Seat();
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
    struct InHand {
        bool dealt = false;
        bool folded = false;
        bool allIn = false;
        bool shown = false;
        Chips inFront = 0;
        Chips total = 0;
        int actedLevel = -1;
        std::array<int, 2> cards{69, 69};
        bool live() const { return dealt && !folded; }
    };
    enum class Waiting { Nothing, SmallBlind, BigBlind, Action };
    struct Hand {
        Hand();
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
    };
    // After a hand, until the next one starts: who may still show cards.
    struct LastHand {
        AccountId bragger = 0;
        std::set<AccountId> mayShowLost;
        std::array<std::array<int, 2>, kMaxSeats> cards{};
    };

    Millis pause(int ms) const { return settings_.fast ? Millis(0) : Millis(ms * settings_.pacePercent / 100); }
    void broadcast(const std::string& line);
    void sendTo(const Seat& seat, const std::string& line);
    void dealerSays(const std::string& text);
    Seat* seatFor(AccountId account);
    const Seat* seatFor(AccountId account) const;
    int seatIndex(const Seat* seat) const;
    int nextSeat(int from, const std::function<bool(int)>& pred) const;
    bool eligible(int s) const;

    void scheduleHand(Millis delay);
    void startHand();
    void applyPending(Seat& seat, int s);
    void askBlind(Waiting which);
    void postBlindAt(int s, bool big);
    void refuseBlind(int s);
    void dealHoleCards();
    void startRound(int first);
    void promptFrom(int after);
    void prompt(int s);
    void botTurn(int s);
    void turnTimedOut(int s);
    void act(int s, Action action);
    void endRound();
    void returnUncalled();
    void sendPots();
    void advanceStreet();
    void dealStreet();
    void showAllLive();
    void showdown();
    void awardUncontested(int s);
    void finishHand(Millis delay);
    void cancelHand();
    void refundHand();
    void sitOutNow(int s);
    void removeSeat(int s);

    bool needsToAct(int s) const;
    int liveCount() const;
    int canActCount() const;
    Chips potTotal() const;
    BetOptions optionsFor(int s) const;
    void recordStats(Chips pot);

    int id_;
    TableConfig config_;
    TableHost& host_;
    TableSettings settings_;
    RandomStream random_;
    RandomStream botRandom_;
    std::set<ConnId> watchers_;
    std::array<std::optional<Seat>, kMaxSeats> seats_;
    std::optional<Hand> hand_;
    LastHand last_;
    int button_ = -1;
    bool closed_ = false;
    Timer dealerTimer_;
    Timer turnTimer_;
    Timer wakeTimer_;

    struct Played {
        std::chrono::steady_clock::time_point at;
        Chips pot;
        bool flop;
    };
    std::deque<Played> recent_;
};

} // namespace tessaly::house
