#include "server/db/AccountStore.h"

#include <algorithm>
#include <ctime>

namespace tessaly::house {
namespace {

const std::vector<std::string_view> kMigrations{
    // 1: accounts, seats, grants and counters.
    R"(CREATE TABLE accounts (
           id INTEGER PRIMARY KEY,
           name TEXT NOT NULL UNIQUE COLLATE NOCASE,
           email TEXT UNIQUE COLLATE NOCASE,
           password TEXT NOT NULL,
           balance INTEGER NOT NULL CHECK (balance >= 0),
           bot INTEGER NOT NULL DEFAULT 0,
           created INTEGER NOT NULL);
       CREATE TABLE seats (
           account INTEGER NOT NULL REFERENCES accounts(id),
           table_id INTEGER NOT NULL,
           stack INTEGER NOT NULL CHECK (stack >= 0),
           left_hand INTEGER NOT NULL DEFAULT 0,
           PRIMARY KEY (account, table_id));
       CREATE TABLE grants (
           id INTEGER PRIMARY KEY,
           account INTEGER NOT NULL REFERENCES accounts(id),
           amount INTEGER NOT NULL,
           reason TEXT NOT NULL,
           at INTEGER NOT NULL);
       CREATE TABLE meta (key TEXT PRIMARY KEY, value INTEGER NOT NULL);)",
};

std::int64_t now() { return static_cast<std::int64_t>(std::time(nullptr)); }

Account readAccount(const Statement& s)
{
    return Account{s.integer(0), s.text(1), s.text(2), s.text(3), s.integer(4), s.integer(5) != 0};
}

} // namespace

struct AccountStore::Statements {
    explicit Statements(Database& db)
        : byName(db.prepare("SELECT id, name, IFNULL(email, ''), password, balance, bot FROM accounts WHERE name = ?")),
          byId(db.prepare("SELECT id, name, IFNULL(email, ''), password, balance, bot FROM accounts WHERE id = ?")),
          emailTaken(db.prepare("SELECT 1 FROM accounts WHERE email = ?")),
          insertAccount(db.prepare("INSERT INTO accounts (name, email, password, balance, bot, created) "
                                   "VALUES (?, NULLIF(?, ''), ?, 0, ?, ?)")),
          debit(db.prepare("UPDATE accounts SET balance = balance - ?2 WHERE id = ?1 AND balance >= ?2")),
          credit(db.prepare("UPDATE accounts SET balance = balance + ?2 WHERE id = ?1")),
          balance(db.prepare("SELECT balance FROM accounts WHERE id = ?")),
          insertSeat(db.prepare("INSERT INTO seats (account, table_id, stack) VALUES (?, ?, ?)")),
          addToSeat(db.prepare("UPDATE seats SET stack = stack + ?3 WHERE account = ?1 AND table_id = ?2")),
          setSeat(db.prepare("UPDATE seats SET stack = ?3 WHERE account = ?1 AND table_id = ?2")),
          leaveSeat(db.prepare("UPDATE seats SET stack = MAX(0, stack - ?3), left_hand = 1 "
                               "WHERE account = ?1 AND table_id = ?2")),
          deleteSeat(db.prepare("DELETE FROM seats WHERE account = ? AND table_id = ?")),
          deleteLeft(db.prepare("DELETE FROM seats WHERE table_id = ? AND left_hand = 1")),
          insertGrant(db.prepare("INSERT INTO grants (account, amount, reason, at) VALUES (?, ?, ?, ?)")),
          setMeta(db.prepare("INSERT INTO meta (key, value) VALUES (?1, ?2) "
                             "ON CONFLICT (key) DO UPDATE SET value = MAX(value, ?2)"))
    {
    }
    Statement byName, byId, emailTaken, insertAccount, debit, credit, balance, insertSeat, addToSeat, setSeat,
        leaveSeat, deleteSeat, deleteLeft, insertGrant, setMeta;
};

AccountStore::AccountStore(const std::string& path) : db_(path)
{
    db_.migrate(kMigrations);
    st_ = std::make_unique<Statements>(db_);
}

AccountStore::~AccountStore() = default;

namespace {

std::optional<Account> firstAccount(Statement& s)
{
    std::optional<Account> out;
    if (s.step())
        out = readAccount(s);
    s.reset();
    return out;
}

} // namespace

std::optional<Account> AccountStore::find(std::string_view name)
{
    st_->byName.bind(1, name);
    return firstAccount(st_->byName);
}

std::optional<Account> AccountStore::get(AccountId id)
{
    st_->byId.bind(1, id);
    return firstAccount(st_->byId);
}

Chips AccountStore::balanceOf(AccountId id)
{
    Statement& b = st_->balance;
    b.bind(1, id);
    const Chips balance = b.step() ? b.integer(0) : 0;
    b.reset();
    return balance;
}

void AccountStore::grant(AccountId id, Chips amount, std::string_view reason)
{
    st_->credit.bind(1, id).bind(2, amount).run();
    st_->insertGrant.bind(1, id).bind(2, amount).bind(3, reason).bind(4, now()).run();
}

CreateResult AccountStore::create(std::string_view name, std::string_view email, std::string_view passwordHash,
                                  bool bot, AccountId* id)
{
    CreateResult result = CreateResult::Created;
    db_.transaction([&] {
        if (find(name)) {
            result = CreateResult::NameTaken;
            return;
        }
        if (!email.empty()) {
            Statement& s = st_->emailTaken;
            s.bind(1, email);
            const bool taken = s.step();
            s.reset();
            if (taken) {
                result = CreateResult::EmailTaken;
                return;
            }
        }
        st_->insertAccount.bind(1, name).bind(2, email).bind(3, passwordHash).bind(4, bot ? 1 : 0).bind(5, now()).run();
        const AccountId newId = db_.lastInsertId();
        grant(newId, kOpeningBalance, "opening");
        if (id)
            *id = newId;
    });
    return result;
}

bool AccountStore::sitDown(AccountId id, int table, Chips amount)
{
    bool ok = false;
    db_.transaction([&] {
        st_->debit.bind(1, id).bind(2, amount).run();
        if (db_.changes() != 1)
            return;
        st_->insertSeat.bind(1, id).bind(2, table).bind(3, amount).run();
        ok = true;
    });
    return ok;
}

Chips AccountStore::addChips(AccountId id, int table, Chips amount)
{
    Chips moved = 0;
    db_.transaction([&] {
        const Chips balance = balanceOf(id);
        moved = std::min(balance, amount);
        if (moved <= 0) {
            moved = 0;
            return;
        }
        st_->debit.bind(1, id).bind(2, moved).run();
        st_->addToSeat.bind(1, id).bind(2, table).bind(3, moved).run();
    });
    return moved;
}

void AccountStore::standUp(AccountId id, int table, Chips stack)
{
    db_.transaction([&] {
        st_->credit.bind(1, id).bind(2, stack).run();
        st_->deleteSeat.bind(1, id).bind(2, table).run();
    });
}

void AccountStore::leaveInHand(AccountId id, int table, Chips remaining)
{
    db_.transaction([&] {
        st_->credit.bind(1, id).bind(2, remaining).run();
        st_->leaveSeat.bind(1, id).bind(2, table).bind(3, remaining).run();
    });
}

void AccountStore::handEnded(int table, const std::vector<SeatStack>& stacks, std::int64_t handNumber)
{
    db_.transaction([&] {
        for (const SeatStack& s : stacks)
            st_->setSeat.bind(1, s.account).bind(2, table).bind(3, s.stack).run();
        st_->deleteLeft.bind(1, table).run();
        st_->setMeta.bind(1, "hand_number").bind(2, handNumber).run();
    });
}

Chips AccountStore::reload(AccountId id, Chips inPlay, Chips target)
{
    Chips granted = 0;
    db_.transaction([&] {
        const Chips balance = balanceOf(id);
        if (balance + inPlay >= target)
            return;
        granted = target - balance - inPlay;
        grant(id, granted, "reload");
    });
    return granted;
}

int AccountStore::returnAllSeats()
{
    int rows = 0;
    db_.transaction([&] {
        Statement count = db_.prepare("SELECT COUNT(*) FROM seats");
        count.step();
        rows = static_cast<int>(count.integer(0));
        db_.exec("UPDATE accounts SET balance = balance + "
                 "(SELECT IFNULL(SUM(stack), 0) FROM seats WHERE seats.account = accounts.id)");
        db_.exec("DELETE FROM seats");
    });
    return rows;
}

MoneyTotals AccountStore::totals()
{
    Statement s = db_.prepare("SELECT (SELECT IFNULL(SUM(balance), 0) FROM accounts), "
                              "(SELECT IFNULL(SUM(stack), 0) FROM seats), "
                              "(SELECT IFNULL(SUM(amount), 0) FROM grants), "
                              "(SELECT IFNULL(SUM(amount), 0) FROM grants WHERE reason = 'reload')");
    s.step();
    return MoneyTotals{s.integer(0), s.integer(1), s.integer(2), s.integer(3)};
}

std::int64_t AccountStore::lastHandNumber()
{
    Statement s = db_.prepare("SELECT value FROM meta WHERE key = 'hand_number'");
    return s.step() ? s.integer(0) : 0;
}

} // namespace tessaly::house
