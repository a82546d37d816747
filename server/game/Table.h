#pragma once
// One poker table: its seats, its watchers and the dealer who runs a hold'em
// hand after the other. Every line the clients see comes from here; the
// work is done by its parts: the channel to the watchers (TableChannel),
// the seats (SeatRoster), the dealer (HandFlow), the end of each hand
// (HandResults), the bots' chat (BotTalk) and the lobby's figures
// (TableStats).

#include "server/game/BotTalk.h"
#include "server/game/HandFlow.h"
#include "server/game/HandResults.h"
#include "server/game/SeatRoster.h"
#include "server/game/TableChannel.h"
#include "server/game/TableConfig.h"
#include "server/game/TableHost.h"
#include "server/game/TableStats.h"
#include "server/poker/Random.h"
#include "server/protocol/ServerLines.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly::house {

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
    bool handRunning() const { return flow_.hand() != nullptr; }

    lines::ListedTable listing() const;
    std::vector<lines::ListedPlayer> players() const;
    // Every chip at the table: stacks and the pot. Chips asked for with
    // quickChips stay in the balance until they are added.
    Chips chipsAtTable() const;

    // Ends the hand in progress with every bet returned and stands everyone
    // up; the table deals no more.
    void close();

private:
    int id_;
    TableConfig config_;
    TableHost& host_;
    TableSettings settings_;
    RandomStream random_;
    RandomStream botRandom_;
    TableChannel channel_;
    SeatRoster roster_;
    BotTalk talk_;
    TableStats stats_;
    HandResults results_;
    HandFlow flow_;
};

} // namespace tessaly::house
