#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "client/net/ClientMessages.h"
#include "client/net/Fields.h"
#include "client/net/GameServerAddress.h"
#include "client/net/LineSender.h"
#include "client/net/MoneyFormat.h"

namespace tessaly {
namespace {

std::vector<std::string> fieldsOf(std::string line)
{
    LineFields f(line.data());
    std::vector<std::string> out;
    for (const char* field = f.first(); field != nullptr; field = f.next())
        out.emplace_back(field);
    return out;
}

TEST(LineFields, SplitsAtTabsAndLineFeedsCollapsingRuns)
{
    struct Case {
        const char* line;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"JOINED_TABLE:\t3\t\tbob\t100\t5", {"JOINED_TABLE:", "3", "bob", "100", "5"}},
        {"\t\tA\n\tB\t", {"A", "B"}},
        {"KEY", {"KEY"}},
        {"", {}},
        {"\t\n\t", {}},
        {"a b\tc", {"a b", "c"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fieldsOf(c.line), c.fields) << c.line;
}

TEST(LineFields, FirstReadCutsTheLineAfterTheKeywordAndRereadsSeeTheSameFields)
{
    std::string line = "SEND_MESSAGE:\tbob\t3\thas LOGIN_SUCCESS";
    LineFields f(line.data());
    EXPECT_STREQ(f.visible(), line.c_str());
    EXPECT_STREQ(f.first(), "SEND_MESSAGE:");
    EXPECT_STREQ(f.visible(), "SEND_MESSAGE:");
    EXPECT_FALSE(containsKeyword(f.visible(), "LOGIN_SUCCESS"));
    EXPECT_STREQ(f.next(), "bob");
    EXPECT_STREQ(f.first(), "SEND_MESSAGE:");
    EXPECT_STREQ(f.next(), "bob");
    EXPECT_EQ(f.nextInt(), 3);
    EXPECT_EQ(f.nextText(), "has LOGIN_SUCCESS");
    EXPECT_FALSE(f.missing());
    EXPECT_EQ(f.nextInt(), 0);
    EXPECT_TRUE(f.missing());
    f.first();
    EXPECT_FALSE(f.missing()) << "each block reads afresh";
}

TEST(Readers, ReadNumbersLeniently)
{
    struct IntCase {
        const char* text;
        int value;
    };
    const IntCase ints[] = {
        {"42", 42},  {"  -7", -7},     {"+15x", 15},          {"abc", 0},          {"", 0},
        {"12.9", 12}, {"\t 3", 3},     {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}, {"- 5", 0},
    };
    for (const IntCase& c : ints)
        EXPECT_EQ(readInt(c.text), c.value) << c.text;

    struct MoneyCase {
        const char* text;
        float value;
    };
    const MoneyCase money[] = {
        {"12.5", 12.5f}, {" -0.25", -0.25f}, {"1e3", 1000.0f}, {"2.5E-1x", 0.25f}, {"7.", 7.0f},
        {".5", 0.5f},    {"abc", 0.0f},      {"", 0.0f},       {".", 0.0f},        {"3e", 3.0f},
        {"0x10", 0.0f},  {"inf", 0.0f},      {"nan", 0.0f},    {"1e99", 3.4028235e38f}, {"12,5", 12.0f},
    };
    for (const MoneyCase& c : money)
        EXPECT_EQ(readMoney(c.text), c.value) << c.text;
}

TEST(Keywords, FirstGroupAtStartAnyCaseSecondGroupAnywhereExactCase)
{
    EXPECT_TRUE(startsWithKeyword("action:\t3\t0", "ACTION:"));
    EXPECT_TRUE(startsWithKeyword("LIST:xyz", "LIST:"));
    EXPECT_FALSE(startsWithKeyword(" ACTION:", "ACTION:"));
    EXPECT_FALSE(startsWithKeyword("ACTION", "ACTION:"));
    EXPECT_FALSE(startsWithKeyword("YOU_JOINED_TABLE:\t1", "JOINED_TABLE:"));
    EXPECT_TRUE(containsKeyword("SEND_MESSAGE:\tbob\t1\tLOGIN_FAIL", "LOGIN_FAIL"));
    EXPECT_FALSE(containsKeyword("login_fail", "LOGIN_FAIL"));
}

TEST(ClientMessages, FormatTheExactTexts)
{
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {loginMessage("alice", "pw"), "LOGIN:\talice\tpw\r"},
        {registerPlayerMessage("bob", "secret", "b@x.org"), "REGISTER_PLAYER:\tbob\tsecret\tb@x.org\r"},
        {listTablesMessage(), "LIST_TABLES"},
        {requestPlayersMessage(-1), "REQUEST_PLAYERS:\t-1\r"},
        {watchTableMessage(7), "WATCH_TABLE:\t7\r"},
        {joinGameMessage("alice", 3, 5, 200.0f), "JOIN_GAME:\talice\t3\t5\t200"},
        {joinGameMessage("alice", 3, 5, 12.5f), "JOIN_GAME:\talice\t3\t5\t12.5"},
        {accountBalanceMessage("alice"), "ACCOUNT_BALANCE_PM:\talice\r"},
        {replyMessage(3, 6), "REPLY:\t3\t6\r"},
        {raiseReplyMessage(3, 40.0f), "REPLY:\t3\t5\t40.00\r"},
        {raiseReplyMessage(3, 12.345f), "REPLY:\t3\t5\t12.35\r"},
        {postBigBlindMessage(2, 4), "xPBB:\t2\t4\t0.00\r"},
        {postSmallBlindMessage(2, 4), "xPSB:\t2\t4\t0.00\r"},
        {noPostMessage(9), "NO_POST:\t9\r"},
        {bragOkayMessage(9), "BRAG_OKAY:\t9\r"},
        {showLostMessage(9, 1), "SHOW_LOST:\t9\t1\r"},
        {dealMeOutMessage(0), "DEAL_ME_OUT:\t0\r"},
        {imBackMessage(4), "IM_BACK:\t4\r"},
        {closeWindowMessage(49), "CLOSE_WINDOW:\t49\r"},
        {chatMessage("alice", 3, "hi all"), "SEND_MESSAGE:\talice\t3\thi all\t\r"},
        {entropyMessage(3, -182974201), "ENTROPY:\t3\t-182974201\r"},
        {quickCashierMessage("alice"), "QUICK_CASHIER:\talice\r"},
        {quickChipsMessage(3, 2, 150.0f), "QUICK_CHIPS:\t3\t2\t150\r"},
        {quickChipsMessage(3, 2, 0.5f), "QUICK_CHIPS:\t3\t2\t0.5\r"},
        {reloadMoneyMessage("alice"), "RELOAD_MONEY\talice\r"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(ClientMessages, EntropyNumberWrapsAt32Bits)
{
    // Expected values worked out independently from the algorithm.
    EXPECT_EQ(entropyNumber(0, 0, 0), 12345);
    EXPECT_EQ(entropyNumber(100, 200, 123456789u), 1848066490);
    EXPECT_EQ(entropyNumber(1919, 1079, 0xFFFFFFF0u), 2093686405);
    EXPECT_EQ(entropyNumber(5, 7, 0x80000000u), -182974201);
}

TEST(ClientMessages, ADecimalCommaLocaleChangesNoByte)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale did not take";
    EXPECT_EQ(raiseReplyMessage(1, 2.5f), "REPLY:\t1\t5\t2.50\r");
    EXPECT_EQ(joinGameMessage("a", 1, 2, 12.5f), "JOIN_GAME:\ta\t1\t2\t12.5");
    EXPECT_EQ(moneyG(0.25f), "0.25");
    EXPECT_EQ(moneyFixed2(3.0f), "3.00");
    EXPECT_EQ(readMoney("12.75"), 12.75f);
    std::setlocale(LC_ALL, "C");
}

TEST(WireBytes, AddOneNulAndRefuseTextsThatDoNotFit)
{
    const auto listTables = wireBytes(listTablesMessage());
    ASSERT_TRUE(listTables);
    EXPECT_EQ(listTables->size(), 12u);
    EXPECT_EQ(listTables->back(), '\0');
    EXPECT_EQ(wireBytes(imBackMessage(4))->size(), 12u);
    EXPECT_EQ(*wireBytes(std::string_view("A\0B", 3)), std::string("A\0", 2));
    EXPECT_TRUE(wireBytes(std::string(kMaxClientText, 'x')));
    EXPECT_FALSE(wireBytes(std::string(kMaxClientText + 1, 'x')));
}

TEST(GameServerAddress, EnvironmentOverridesTheDefaults)
{
    struct Case {
        const char* host;
        const char* port;
        const char* expectedHost;
        unsigned expectedPort;
    };
    const Case cases[] = {
        {nullptr, nullptr, "127.0.0.1", 8501}, {"games.example", "9000", "games.example", 9000},
        {"", "", "127.0.0.1", 8501},           {nullptr, "0", "127.0.0.1", 8501},
        {nullptr, "65536", "127.0.0.1", 8501}, {nullptr, "85x", "127.0.0.1", 8501},
        {nullptr, "65535", "127.0.0.1", 65535},
    };
    for (const Case& c : cases) {
        const GameServerAddress a = gameServerAddress(c.host, c.port);
        EXPECT_EQ(a.host, c.expectedHost);
        EXPECT_EQ(a.port, c.expectedPort) << (c.port ? c.port : "(unset)");
    }
}

} // namespace
} // namespace tessaly
