#pragma once
// The card room: the connections' sessions, the lobby, the cashier and the
// tables; the house bots that keep them lively are its BotCrew. Every
// client message arrives here and is checked against the connection's
// login, seat and balance before anything happens.

#include "server/db/AccountStore.h"
#include "server/db/PasswordHash.h"
#include "server/game/BotCrew.h"
#include "server/game/Table.h"
#include "server/game/TableConfig.h"
#include "server/game/Timers.h"
#include "server/poker/Random.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tessaly::house {

// Where the room's lines go: the network layer.
class RoomOutput {
public:
    virtual ~RoomOutput() = default;
    virtual void send(ConnId conn, const std::string& line) = 0;
    // Sends what is queued, then closes the connection.
    virtual void close(ConnId conn) = 0;
};

struct RoomSettings {
    TableSettings table;
    int botsPerTable = 3;
    std::int64_t handLimit = 0; // stop after this many hands in all (0: never)
};

struct RoomStats {
    int tables = 0;
    int liveUsers = 0;
    int persons = 0;
    int seatedBots = 0;
    std::int64_t hands = 0;
};

class Room : private TableHost {
public:
    // The play-money level that "RELOAD_MONEY" tops an account up to.
    static constexpr Chips kReloadTarget = 2000 * kChipsPerUnit;

    Room(std::vector<TableConfig> tables, RoomSettings settings, AccountStore& accounts, PasswordWork& passwords,
         Timers& timers, RoomOutput& output, RandomStream random);
    ~Room() override;

    void connected(ConnId conn);
    void disconnected(ConnId conn);
    // One client message, without its NUL.
    void handle(ConnId conn, std::string_view line);

    // Fills the tables with their bots (and keeps them filled).
    void startBots();
    // Called once the hand limit is reached.
    void onHandLimit(std::function<void()> done) { handLimitReached_ = std::move(done); }
    // Every hand ends with its bets returned, every chip goes back to its
    // account, every client is told.
    void shutdown();

    RoomStats stats() const;
    // Every chip the room holds outside the balances: stacks and pots.
    Chips chipsOnTables() const;
    const std::vector<std::unique_ptr<Table>>& tables() const { return tables_; }

private:
    struct Session {
        AccountId account = 0;
        std::string name;
        bool authPending = false;
        std::set<int> watching;
        std::deque<std::chrono::steady_clock::time_point> chats;
    };

    // TableHost
    void send(ConnId conn, const std::string& line) override;
    Timers& timers() override { return timers_; }
    AccountStore& accounts() override { return accounts_; }
    std::int64_t nextHandNumber() override { return ++handNumber_; }
    void handEnded(int table) override;
    void tableIdle(int table) override;

    Session* session(ConnId conn);
    Table* tableField(std::string_view field);
    bool nameMatches(const Session& s, std::string_view name) const;
    std::optional<int> seatedTable(AccountId account) const;
    Chips inPlay(AccountId account) const;

    void login(ConnId conn, std::string_view name, std::string_view password);
    void loggedIn(ConnId conn, const Account& account);
    void registerPlayer(ConnId conn, std::string_view name, std::string_view password, std::string_view email);
    void logout(Session& s);
    void listTables(ConnId conn);
    void join(ConnId conn, Session& s, const std::vector<std::string_view>& f);
    void chat(ConnId conn, Session& s, std::string_view name, std::string_view tableField, std::string_view text);
    void cashier(ConnId conn, const Session& s);

    std::vector<std::unique_ptr<Table>> tables_;
    RoomSettings settings_;
    AccountStore& accounts_;
    PasswordWork& passwords_;
    Timers& timers_;
    RoomOutput& output_;
    RandomStream random_;
    std::map<ConnId, Session> sessions_;
    std::int64_t handNumber_ = 0;
    std::int64_t handsPlayed_ = 0;
    std::function<void()> handLimitReached_;
    bool shutDown_ = false;
    BotCrew crew_;
};

} // namespace tessaly::house
