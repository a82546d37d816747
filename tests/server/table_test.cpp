#include "ManualTimers.h"

#include "server/game/Table.h"

#include <gtest/gtest.h>

namespace tessaly::house {
namespace {

using test::ManualTimers;
using test::RecordingOutput;

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : line) {
        if (c == '\t' || c == '\r') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

class Host : public TableHost {
public:
    void send(ConnId conn, const std::string& line) override { output.send(conn, line); }
    Timers& timers() override { return clock; }
    AccountStore& accounts() override { return store; }
    std::int64_t nextHandNumber() override { return ++hands; }
    void handEnded(int) override { ++ended; }
    void tableIdle(int) override {}

    ManualTimers clock;
    RecordingOutput output;
    AccountStore store{":memory:"};
    std::int64_t hands = 0;
    int ended = 0;
};

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        config.name = "Test";
        config.type = GameType::NoLimit;
        config.seats = 6;
        config.smallBlind = 5;
        config.bigBlind = 10;
        config.minBuyIn = 200;
        config.maxBuyIn = 1000;
        settings.turnTimeout = Millis(10000);
        table = std::make_unique<Table>(0, config, host, settings, RandomStream("table test"));
    }

    Sitter person(const std::string& name, ConnId conn)
    {
        AccountId id = 0;
        EXPECT_EQ(host.store.create(name, name + "@example.com", "x", false, &id), CreateResult::Created);
        return Sitter{id, name, conn, {}};
    }

    // Lines for conn since the last call.
    std::vector<std::string> fresh(ConnId conn)
    {
        auto& all = host.output.sent[conn];
        std::vector<std::string> out(all.begin() + static_cast<long>(read_[conn]), all.end());
        read_[conn] = all.size();
        return out;
    }

    // Runs timers until a line starting with keyword reaches conn.
    std::vector<std::string> until(ConnId conn, const std::string& keyword, int maxSteps = 1000)
    {
        for (int i = 0; i < maxSteps; ++i) {
            const auto& all = host.output.sent[conn];
            while (read_[conn] < all.size()) {
                const std::string& l = all[read_[conn]++];
                if (l.rfind(keyword, 0) == 0)
                    return fieldsOf(l);
            }
            if (!host.clock.step())
                break;
        }
        ADD_FAILURE() << "no " << keyword << " for connection " << conn;
        return {};
    }

    // Balances plus everything at the table equal every grant.
    void expectConserved()
    {
        const MoneyTotals t = host.store.totals();
        EXPECT_EQ(t.balances + table->chipsAtTable(), t.grants);
    }

    Host host;
    TableConfig config;
    TableSettings settings;
    std::unique_ptr<Table> table;
    std::map<ConnId, std::size_t> read_;
};

TEST_F(TableTest, HeadsUpTheButtonPostsTheSmallBlindAndActsFirstBeforeTheFlop)
{
    const Sitter a = person("ann", 1), b = person("bob", 2);
    table->watch(1, a.account);
    table->watch(2, b.account);
    ASSERT_EQ(table->join(a, 1, 500), JoinResult::Joined);
    ASSERT_EQ(table->join(b, 4, 500), JoinResult::Joined);

    const auto dealer = until(1, "HISTORY_DEALER:");
    const int button = std::stoi(dealer[2]);
    const ConnId buttonConn = button == 1 ? 1 : 2, otherConn = button == 1 ? 2 : 1;
    const AccountId buttonAcc = button == 1 ? a.account : b.account, otherAcc = button == 1 ? b.account : a.account;
    const int other = button == 1 ? 4 : 1;

    EXPECT_EQ(until(buttonConn, "GSB:"), (std::vector<std::string>{"GSB:", "0", "0.05"}));
    table->postBlind(buttonAcc, button, false);
    EXPECT_EQ(until(otherConn, "GBB:"), (std::vector<std::string>{"GBB:", "0", "0.10"}));
    table->postBlind(otherAcc, other, true);

    // The small blind calls 0.05 more or raises to at least 0.20.
    EXPECT_EQ(until(buttonConn, "ACTION:"), (std::vector<std::string>{"ACTION:", "0", "2", "0.05", "0.20"}));
    table->reply(buttonAcc, 3, 0);
    // The big blind may check: prompt kind 0 with a minimum bet-to of 0.20.
    EXPECT_EQ(until(otherConn, "ACTION:"), (std::vector<std::string>{"ACTION:", "0", "0", "0.20"}));
    table->reply(otherAcc, 6, 0);
    until(otherConn, "COMM_CARDS:");
    // After the flop the big blind acts first.
    EXPECT_EQ(until(otherConn, "ACTION:"), (std::vector<std::string>{"ACTION:", "0", "0", "0.10"}));
    expectConserved();
    EXPECT_TRUE(host.output.faults.empty()) << host.output.faults.front();
}

TEST_F(TableTest, TimeoutsCheckOrFoldThenDealThePlayerOut)
{
    const Sitter a = person("ann", 1), b = person("bob", 2);
    table->watch(1, a.account);
    table->watch(2, b.account);
    table->join(a, 0, 500);
    table->join(b, 3, 500);
    int timeouts = 0;
    bool dealtOut = false;
    for (int step = 0; step < 20000 && !dealtOut; ++step) {
        for (ConnId c : {ConnId(1), ConnId(2)}) {
            for (const std::string& l : fresh(c)) {
                const auto f = fieldsOf(l);
                const AccountId acc = c == 1 ? a.account : b.account;
                const int seat = c == 1 ? 0 : 3;
                if (f[0] == "GSB:" || f[0] == "GBB:")
                    table->postBlind(acc, seat, f[0] == "GBB:");
                else if (f[0] == "ACTION:" && c == 1)
                    table->reply(acc, f[2] == "0" ? 6 : 3, 0); // ann checks or calls; bob never answers
                else if (f[0] == "PRD:" && f[2] == "3" && c == 2)
                    ++timeouts;
                else if (f[0] == "PLAYER_OUT:" && f[2] == "3")
                    dealtOut = true;
            }
        }
        if (!dealtOut && !host.clock.step())
            break;
        expectConserved();
    }
    EXPECT_EQ(timeouts, 2);
    EXPECT_TRUE(dealtOut);
    EXPECT_TRUE(table->sittingOut(b.account));
    // He comes back only when he says so.
    table->imBack(b.account);
    EXPECT_FALSE(table->sittingOut(b.account));
    EXPECT_EQ(host.output.with(1, "PRD:").back(), "PRD:\t0\t3\r");
}

TEST_F(TableTest, LeavingInAHandFoldsKeepsTheSeatUntilItEndsAndConservesChips)
{
    const Sitter a = person("ann", 1), b = person("bob", 2), c = person("cid", 3);
    for (const Sitter& s : {a, b, c})
        table->watch(s.conn, s.account);
    table->join(a, 0, 500);
    table->join(b, 2, 500);
    table->join(c, 4, 500);
    // Everyone posts and calls until ann is asked to act for the first time.
    const AccountId accounts[] = {a.account, b.account, c.account};
    const int seats[] = {0, 2, 4};
    bool annAsked = false;
    for (int step = 0; step < 5000 && !annAsked; ++step) {
        for (int i = 0; i < 3; ++i) {
            for (const std::string& l : fresh(static_cast<ConnId>(i + 1))) {
                const auto f = fieldsOf(l);
                if (f[0] == "GSB:" || f[0] == "GBB:")
                    table->postBlind(accounts[i], seats[i], f[0] == "GBB:");
                else if (f[0] == "ACTION:" && i == 0)
                    annAsked = true;
                else if (f[0] == "ACTION:")
                    table->reply(accounts[i], f[2] == "0" ? 6 : 3, 0);
            }
        }
        if (!annAsked)
            host.clock.step();
    }
    ASSERT_TRUE(annAsked);
    const Chips before = host.store.get(a.account)->balance;
    const Chips stack = table->stackOf(a.account);
    table->leave(a.account);
    expectConserved();
    EXPECT_EQ(host.store.get(a.account)->balance, before + stack);
    EXPECT_EQ(host.output.with(2, "LEFT_GAME:").back(), "LEFT_GAME:\t0\t0\r");
    // The chair stays taken until the hand is over.
    const Sitter d = person("dan", 4);
    EXPECT_EQ(table->join(d, 0, 500), JoinResult::SeatTaken);
    const int ended = host.ended;
    for (int step = 0; step < 5000 && host.ended == ended; ++step) {
        for (int i = 1; i < 3; ++i) {
            for (const std::string& l : fresh(static_cast<ConnId>(i + 1))) {
                const auto f = fieldsOf(l);
                if (f[0] == "ACTION:")
                    table->reply(accounts[i], f[2] == "0" ? 6 : 3, 0);
            }
        }
        host.clock.step();
        expectConserved();
    }
    EXPECT_EQ(table->join(d, 0, 500), JoinResult::Joined);
    EXPECT_TRUE(host.output.faults.empty()) << host.output.faults.front();
}

TEST_F(TableTest, JoinChecksSeatAmountAndBalance)
{
    const Sitter a = person("ann", 1), b = person("bob", 2);
    EXPECT_EQ(table->join(a, 6, 500), JoinResult::BadSeat);
    EXPECT_EQ(table->join(a, -1, 500), JoinResult::BadSeat);
    EXPECT_EQ(table->join(a, 0, 199), JoinResult::BadAmount);
    EXPECT_EQ(table->join(a, 0, 1001), JoinResult::BadAmount);
    EXPECT_EQ(table->join(a, 0, 1000), JoinResult::Joined);
    EXPECT_EQ(table->join(a, 1, 1000), JoinResult::AlreadySeated);
    EXPECT_EQ(table->join(b, 0, 500), JoinResult::SeatTaken);
    // bob has 1,000 in all, and 999 of it at another table.
    ASSERT_TRUE(host.store.sitDown(b.account, 7, 99900));
    EXPECT_EQ(table->join(b, 1, 200), JoinResult::NoFunds);
    host.store.standUp(b.account, 7, 99900);
    // Extra chips may not go above the table's maximum.
    EXPECT_FALSE(table->quickChips(a.account, 0, 1));
    expectConserved();
}

TEST_F(TableTest, IllegalRepliesBecomeChecksOrFolds)
{
    const Sitter a = person("ann", 1), b = person("bob", 2);
    table->watch(1, a.account);
    table->watch(2, b.account);
    table->join(a, 0, 500);
    table->join(b, 3, 500);
    for (int step = 0; step < 200; ++step) {
        bool acted = false;
        for (ConnId c : {ConnId(1), ConnId(2)}) {
            const AccountId acc = c == 1 ? a.account : b.account;
            for (const std::string& l : fresh(c)) {
                const auto f = fieldsOf(l);
                if (f[0] == "GSB:" || f[0] == "GBB:")
                    table->postBlind(acc, c == 1 ? 0 : 3, f[0] == "GBB:");
                if (f[0] == "ACTION:" && f[2] == "2") {
                    // A check when a bet is to be called is a fold.
                    table->reply(acc, 6, 0);
                    acted = true;
                }
            }
        }
        if (acted)
            break;
        host.clock.step();
    }
    const auto folds = host.output.with(1, "HISTORY_PACKET:");
    ASSERT_FALSE(folds.empty());
    EXPECT_EQ(fieldsOf(folds.back())[3], "4");
    // A reply out of turn changes nothing.
    const std::size_t lines = host.output.sent[1].size();
    table->reply(a.account, 3, 0);
    table->reply(b.account, 3, 0);
    EXPECT_EQ(host.output.sent[1].size(), lines);
    expectConserved();
}

TEST_F(TableTest, APersonSittingOutTooLongIsStoodUp)
{
    settings.fast = true;
    table = std::make_unique<Table>(0, config, host, settings, RandomStream("sitting out"));
    const Sitter a = person("ann", 1);
    Sitter rook = person("rook", 0), wren = person("wren", 0);
    table->watch(1, a.account);
    table->join(a, 0, 500);
    table->join(rook, 2, 1000);
    table->join(wren, 4, 1000);
    table->dealMeOut(a.account);
    EXPECT_EQ(host.output.with(1, "PLAYER_OUT:").back(), "PLAYER_OUT:\t0\t0\r");
    while (host.ended < kMaxHandsSittingOut && host.clock.step()) {
    }
    ASSERT_EQ(host.ended, kMaxHandsSittingOut);
    EXPECT_EQ(host.output.with(1, "CLEAR_ACTION:").size(), 1u);
    EXPECT_EQ(host.output.with(1, "LEFT_GAME:").back(), "LEFT_GAME:\t0\t0\r");
    EXPECT_FALSE(table->seatOf(a.account));
    EXPECT_EQ(host.store.get(a.account)->balance, AccountStore::kOpeningBalance);
    expectConserved();
}

} // namespace
} // namespace tessaly::house
