#include "server/db/AccountStore.h"
#include "server/db/PasswordHash.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaly::house {
namespace {

void expectAtRest(AccountStore& store)
{
    const MoneyTotals t = store.totals();
    EXPECT_EQ(t.balances + t.seatStacks, t.grants);
}

TEST(AccountStore, NamesAndAddressesAreUniqueWhateverTheirCase)
{
    AccountStore store(":memory:");
    EXPECT_EQ(store.create("Bob", "bob@example.com", "h", false), CreateResult::Created);
    EXPECT_EQ(store.create("bOB", "other@example.com", "h", false), CreateResult::NameTaken);
    EXPECT_EQ(store.create("Ann", "BOB@example.COM", "h", false), CreateResult::EmailTaken);
    // Bots have no address; many of them may share that.
    EXPECT_EQ(store.create("Rook", "", "", true), CreateResult::Created);
    EXPECT_EQ(store.create("Wren", "", "", true), CreateResult::Created);
    const auto bob = store.find("BOB");
    ASSERT_TRUE(bob);
    EXPECT_EQ(bob->name, "Bob");
    EXPECT_EQ(bob->balance, AccountStore::kOpeningBalance);
    EXPECT_TRUE(store.find("Rook")->bot);
    expectAtRest(store);
}

TEST(AccountStore, MoneyMovesBetweenBalanceAndSeat)
{
    AccountStore store(":memory:");
    AccountId id = 0;
    store.create("Bob", "bob@example.com", "h", false, &id);
    EXPECT_FALSE(store.sitDown(id, 2, AccountStore::kOpeningBalance + 1));
    EXPECT_TRUE(store.sitDown(id, 2, 60000));
    EXPECT_EQ(store.get(id)->balance, 40000);
    EXPECT_EQ(store.addChips(id, 2, 50000), 40000); // no more than the balance
    EXPECT_EQ(store.get(id)->balance, 0);
    expectAtRest(store);
    store.handEnded(2, {{id, 70000}}, 12); // the hand lost him 300
    EXPECT_EQ(store.totals().seatStacks, 70000);
    store.standUp(id, 2, 70000);
    EXPECT_EQ(store.get(id)->balance, 70000);
    EXPECT_EQ(store.totals().seatStacks, 0);
    EXPECT_EQ(store.lastHandNumber(), 12);
}

TEST(AccountStore, ReloadsTopUpToTheTargetOnly)
{
    AccountStore store(":memory:");
    AccountId id = 0;
    store.create("Bob", "bob@example.com", "h", false, &id);
    EXPECT_EQ(store.reload(id, 50000, 200000), 50000); // 1,000 + 500 in play, up to 2,000
    EXPECT_EQ(store.reload(id, 50000, 200000), 0);
    EXPECT_EQ(store.totals().reloads, 50000);
}

TEST(AccountStore, ACrashInAHandVoidsItOnTheNextStart)
{
    const auto path = std::filesystem::temp_directory_path() / "tessaly-house-store-test.db";
    std::filesystem::remove(path);
    AccountId bob = 0, ann = 0;
    {
        AccountStore store(path.string());
        store.create("Bob", "bob@example.com", "h", false, &bob);
        store.create("Ann", "ann@example.com", "h", false, &ann);
        store.sitDown(bob, 0, 50000);
        store.sitDown(ann, 0, 50000);
        // Bob leaves in a hand with 300 of his chips in the pot; then the process dies.
        store.leaveInHand(bob, 0, 49700);
    }
    AccountStore again(path.string());
    EXPECT_EQ(again.returnAllSeats(), 2);
    EXPECT_EQ(again.get(bob)->balance, AccountStore::kOpeningBalance);
    EXPECT_EQ(again.get(ann)->balance, AccountStore::kOpeningBalance);
    expectAtRest(again);
    std::filesystem::remove(path);
}

TEST(AccountStore, RefusesADatabaseFromANewerSchema)
{
    const auto path = std::filesystem::temp_directory_path() / "tessaly-house-schema-test.db";
    std::filesystem::remove(path);
    {
        Database db(path.string());
        db.exec("PRAGMA user_version = 99");
    }
    EXPECT_THROW(AccountStore{path.string()}, DatabaseError);
    std::filesystem::remove(path);
}

TEST(PasswordHash, SaltedAndVerified)
{
    const std::string a = hashPassword("secret1"), b = hashPassword("secret1");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.find("secret1"), std::string::npos);
    EXPECT_TRUE(verifyPassword(a, "secret1"));
    EXPECT_FALSE(verifyPassword(a, "secret2"));
    EXPECT_FALSE(verifyPassword("", "secret1"));
}

} // namespace
} // namespace tessaly::house
