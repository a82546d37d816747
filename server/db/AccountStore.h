#pragma once
// Accounts and every move of their play money, each in one transaction.
//
// Money is only ever created by a grant (the opening balance of an account,
// a reload) and otherwise moves between balances and seats, so at rest
//     sum of balances + sum of seat stacks == sum of grants.
// A seat row holds the stack as of the start of the running hand: when the
// process dies in a hand, the next start gives every seat row back to its
// account and the hand is void.

#include "server/db/Database.h"
#include "server/poker/Chips.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::house {

using AccountId = std::int64_t;

struct Account {
    AccountId id = 0;
    std::string name;
    std::string email;
    std::string passwordHash;
    Chips balance = 0;
    bool bot = false;
};

enum class CreateResult { Created, NameTaken, EmailTaken };

struct MoneyTotals {
    Chips balances = 0;
    Chips seatStacks = 0;
    Chips grants = 0;
    Chips reloads = 0;
};

struct SeatStack {
    AccountId account;
    Chips stack;
};

class AccountStore {
public:
    static constexpr Chips kOpeningBalance = 1000 * kChipsPerUnit;

    // path: the database file, or ":memory:".
    explicit AccountStore(const std::string& path);
    ~AccountStore();

    std::optional<Account> find(std::string_view name);
    std::optional<Account> get(AccountId id);

    // A new account with the opening balance; email empty for a bot.
    CreateResult create(std::string_view name, std::string_view email, std::string_view passwordHash, bool bot,
                        AccountId* id = nullptr);

    // Balance to a new seat row; false when the balance is short.
    bool sitDown(AccountId id, int table, Chips amount);
    // Up to amount from the balance onto the seat; returns what moved.
    Chips addChips(AccountId id, int table, Chips amount);
    // The whole stack back to the balance; the seat row goes.
    void standUp(AccountId id, int table, Chips stack);
    // Leaving inside a hand: what is left goes back to the balance, the
    // row keeps what went into the pot until the hand is over.
    void leaveInHand(AccountId id, int table, Chips remaining);
    // The end of a hand: the live seats' new stacks, the rows of those who
    // left in it removed, the hand counter saved.
    void handEnded(int table, const std::vector<SeatStack>& stacks, std::int64_t handNumber);

    // Tops the account up to target when balance plus inPlay is below it;
    // returns the amount granted.
    Chips reload(AccountId id, Chips inPlay, Chips target);

    // Every seat row back to its account (start-up after a crash); returns
    // the number of rows.
    int returnAllSeats();

    MoneyTotals totals();
    std::int64_t lastHandNumber();

private:
    void grant(AccountId id, Chips amount, std::string_view reason);
    Chips balanceOf(AccountId id);

    Database db_;
    struct Statements;
    std::unique_ptr<Statements> st_;
};

} // namespace tessaly::house
