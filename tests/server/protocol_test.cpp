#include "server/app/Options.h"
#include "server/game/TableConfig.h"
#include "server/net/ConnectionLog.h"
#include "server/net/LineFramer.h"
#include "server/protocol/AccountRules.h"
#include "server/protocol/Catalogue.h"
#include "server/protocol/ChatText.h"
#include "server/protocol/ClientRequest.h"
#include "server/protocol/Money.h"
#include "server/protocol/ServerLines.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tessaly::house {
namespace {

TEST(ClientRequest, KeywordsAndFieldsWithOrWithoutCarriageReturn)
{
    struct Case {
        std::string line;
        Request kind;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"LIST_TABLES", Request::ListTables, {}},
        {"JOIN_GAME:\tbob\t3\t4\t100", Request::JoinGame, {"bob", "3", "4", "100"}},
        {"JOIN_GAME:\tbob\t3\t4\t100\r", Request::JoinGame, {"bob", "3", "4", "100"}},
        {"LOGIN:\t\t\r", Request::Login, {"", ""}}, // empty fields stay in place
        {"RELOAD_MONEY\tbob\r", Request::ReloadMoney, {"bob"}},
        {"REPLY:\t2\t5\t12.50\r", Request::Reply, {"2", "5", "12.50"}},
        {"reply:\t2\t5\r", Request::Unknown, {}},
        {"LOGIN:", Request::Login, {}},
        {"", Request::Unknown, {}},
        {"LIST_TABLESX", Request::Unknown, {}},
    };
    for (const Case& c : cases) {
        const ClientLine l = parseClientLine(c.line);
        EXPECT_EQ(l.kind, c.kind) << c.line;
        ASSERT_EQ(l.fields.size(), c.fields.size()) << c.line;
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            EXPECT_EQ(l.fields[i], c.fields[i]) << c.line;
    }
}

TEST(ClientRequest, ChatTextKeepsItsOwnTabsAndLosesTheTrailingOne)
{
    EXPECT_EQ(chatTextOf(parseClientLine("SEND_MESSAGE:\tbob\t3\thello there\t\r")), "hello there");
    EXPECT_EQ(chatTextOf(parseClientLine("SEND_MESSAGE:\tbob\t3\ta\tb\t\r")), "a\tb");
    EXPECT_EQ(chatTextOf(parseClientLine("SEND_MESSAGE:\tbob\t3")), "");
}

TEST(ChatText, CleansWhatOtherClientsWouldActUpon)
{
    const std::pair<std::string, std::string> cases[] = {
        {"  hello  ", "hello"},
        {"a\tb\nc", "a b c"},
        {"   ", ""},
        {"gg LOGIN_SUCCESS gg", "gg LOGIN-SUCCESS gg"},
        {"START_TABLE SEND_MESSAGE:", "START-TABLE SEND-MESSAGE:"},
        {"42 hand starting", "42 hand-starting"},
        {"Dealing down hole cards now", "Dealing-down hole cards now"},
        {"REG_FAILREG_FAIL", "REG-FAILREG-FAIL"},
        {"nice hand :) B)", "nice hand :) B)"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(cleanChatText(in), out) << in;
    EXPECT_EQ(cleanChatText(std::string(300, 'x')).size(), kMaxChatLength);
    // 199 characters of two bytes each are kept whole, the 200th goes.
    std::string accents;
    for (int i = 0; i < 200; ++i)
        accents += "\xc3\xa9";
    EXPECT_EQ(cleanChatText(accents).size(), 2 * kMaxChatLength);
}

TEST(Money, TextAndClientAmounts)
{
    const std::pair<Chips, std::string> texts[] = {{0, "0"}, {5, "0.05"}, {10, "0.10"}, {1250, "12.50"},
                                                   {100000, "1000"}, {123456789, "1234567.89"}};
    for (const auto& [cents, text] : texts)
        EXPECT_EQ(moneyText(cents), text);
    const std::pair<std::string, std::optional<Chips>> parsed[] = {
        {"100", 10000}, {"12.50", 1250}, {"0.05", 5}, {"1e+06", 100000000}, {"2.5", 250},
        {".5", 50},     {"-5", std::nullopt}, {"5a", std::nullopt}, {"", std::nullopt}, {"inf", std::nullopt},
        {"nan", std::nullopt}, {"1e300", std::nullopt}, {" 5", std::nullopt},
    };
    for (const auto& [text, cents] : parsed)
        EXPECT_EQ(parseMoney(text), cents) << text;
}

TEST(Money, DecimalCommaLocaleChangesNoByte)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(parseMoney("12.50"), 1250);
    EXPECT_EQ(lines::userMoney(1, 2, 1250), "USER_MONEY:\t1\t2\t12.50\r");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(AccountRules, TheRegistrationFormsRules)
{
    EXPECT_TRUE(validScreenName("bob42"));
    EXPECT_TRUE(validScreenName("abcdefghijklmnop"));
    EXPECT_FALSE(validScreenName("abcdefghijklmnopq"));
    EXPECT_FALSE(validScreenName("bob_42"));
    EXPECT_FALSE(validScreenName(""));
    EXPECT_FALSE(validScreenName("b\xc3\xa9"));
    EXPECT_TRUE(validPassword("abcdefghij0123456789"));
    EXPECT_FALSE(validPassword("abcdefghij01234567890"));
    EXPECT_TRUE(reservedScreenName("dEaLeR"));
    EXPECT_FALSE(reservedScreenName("Dealer2"));
    const std::pair<const char*, bool> emails[] = {
        {"bob@example.com", true}, {"  bob@example.com  ", true}, {"@example.com", true},
        {"b.o.b.@mail.example.org", true}, {"bob@example", false}, {"bob@.example.com", false},
        {"bob@example..com", false}, {"bob@example.com.", false}, {"bob@example.com extra", false},
        {"b ob@example.com", false}, {"", false}, {"bob@exa]mple.com", false},
    };
    for (const auto& [email, ok] : emails)
        EXPECT_EQ(validEmail(email), ok) << email;
}

TEST(Catalogue, EveryFormattedMessageParses)
{
    using namespace lines;
    InitSnapshot snap;
    snap.phase = kPhaseInHand;
    snap.dealer = 3;
    snap.acting = 5;
    snap.board = {12, 40, 7, 69, 69};
    snap.mainPot = 450;
    snap.players = {{"bob", 1000, 50, 3, kSeatPlaying}, {"ann", 20, 0, 5, kSeatSittingOut}};
    const std::vector<std::string> all{
        loginSuccess(), loginFail(), regSuccess(), regFail(), regEmail(), systemMessage("hi"),
        closingMessage("bye"), yourMoney(1000, 5), cashier("a@b.cd", 1000, 250),
        playerList({{"1", "bob", "10"}, {"4", "ann", "0.50"}}), playerList({}),
        tableList({{5, 10, 200, 1000, "Alder", 1000, 10, "0.05/0.10", 3, 12, 0, 40, 90}}, "12:00", 7),
        chat("Dealer", 3, "1 hand starting"), cleanTable(3), historyClearTable(3), initEmpty(3),
        playerReturned(3, 4), playerOut(3, 4), leftGame(3, 4), clearAction(3), muckShow(3), wakeUp(3),
        youWin(3), youBrag(3), pots(3, {100, 250}), yourCards(3, 4, 0, 51), someCards(3, 4, 12, 13),
        newHand(3, {{1, kSeatPlaying}, {4, kSeatSittingOut}}), init(3, snap), actionCheckOrBet(3, 10),
        actionAllInOrFold(3), actionCallOrRaise(3, 10, 20), actionCallOrAllIn(3, 10), askBigBlind(3, 10),
        askSmallBlind(3, 5), userMoney(3, 4, 0), history(3, 4, History::Call, 20, 80),
        history(3, 4, History::Fold, 0, 80), history(3, 4, History::AllIn, 100, 0),
        history(3, 4, History::InFront, 10, 90), joined(3, 4, "bob", 100), youJoined(3, 4, "bob", 100),
        flop(3, 1, 2, 3), turnOrRiver(3, kTurn, 4), turnOrRiver(3, kRiver, 5), dealer(3, 9), onButton(3, 9, 12),
    };
    for (const std::string& line : all)
        EXPECT_EQ(catalogueError(line), "") << line;
    // A text that would be empty still gives a field.
    EXPECT_EQ(catalogueError(chat("bob", 3, "")), "");
}

TEST(Catalogue, RejectsWhatTheClientWouldMisread)
{
    const std::pair<std::string, std::string> bad[] = {
        {"USER_MONEY:\t3\t4\t12", "no carriage return at the end"},
        {"USER_MONEY:\t3\t\t12\r", "empty field"},
        {"USER_MONEY:\t3\t4\r", "missing field"},
        {"USER_MONEY:\t3\t4\t12\t5\r", "extra fields"},
        {"USER_MONEY:\t50\t4\t12\r", "table id out of range"},
        {"YOUR_CARD:\t3\t4\t52\t1\r", "card out of range"},
        {"USER_MONEY:\t3\t4\t1e3\r", "stack is not an amount"},
        {"NOPE:\t3\r", "unknown keyword NOPE:"},
        {"SM:\ta\nb\r", "carriage return, line feed or NUL inside the line"},
        {"POTS:\t3\t11\r", "pot count out of range"},
        {"START_TABLE\tTE:\tnow\t1\t0\r", "no END_TABLE"},
    };
    for (const auto& [line, why] : bad)
        EXPECT_EQ(catalogueError(line), why) << line;
}

TEST(LineFramer, CutsAtNulAcrossChunksAndDropsOverlongMessages)
{
    LineFramer framer(12);
    std::vector<std::string> out;
    framer.feed(std::string("LIST_TA", 7), out);
    EXPECT_TRUE(out.empty());
    framer.feed(std::string("BLES\0IM_BACK:\t4\r\0", 17), out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], "LIST_TABLES");
    EXPECT_EQ(out[1], "IM_BACK:\t4\r");
    out.clear();
    framer.feed(std::string("0123456789ABC", 13), out); // too long, and no NUL yet
    framer.feed(std::string("DEF\0ok\0", 7), out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], "ok");
    EXPECT_EQ(framer.dropped(), 1u);
}

TEST(ConnectionLog, ShowsControlBytesAndHidesPasswords)
{
    EXPECT_EQ(ConnectionLog::readable("LOGIN:\tbob\tsecret\r", true), "LOGIN:\\tbob\\t*****\\r");
    EXPECT_EQ(ConnectionLog::readable("REGISTER_PLAYER:\tbob\tsecret\tb@c.de\r", true),
              "REGISTER_PLAYER:\\tbob\\t*****\\tb@c.de\\r");
    EXPECT_EQ(ConnectionLog::readable("LOGIN:\tbob\tsecret\r", false), "LOGIN:\\tbob\\tsecret\\r");
    EXPECT_EQ(ConnectionLog::readable(std::string("a\x01", 2), true), "a\\x01");
}

TEST(Options, CommandLine)
{
    std::string error;
    auto o = parseOptions({"--game-port", "0", "--web-port=0", "--bots", "4", "--fast", "--seed", "7",
                           "--turn-timeout", "5", "--hands", "100", "--data", "/tmp/x"},
                          &error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->gamePort, 0);
    EXPECT_EQ(o->webPort, 0);
    EXPECT_EQ(o->bots, 4);
    EXPECT_TRUE(o->fast);
    EXPECT_EQ(o->seed, "7");
    EXPECT_EQ(o->turnTimeoutSeconds, 5);
    EXPECT_EQ(o->hands, 100);
    EXPECT_EQ(o->dataDir, "/tmp/x");
    const std::vector<std::vector<std::string>> bad{
        {"--game-port", "70000"}, {"--bots"}, {"--bots", "x"}, {"--frob"}, {"--fast=1"}, {"--turn-timeout", "0"}};
    for (const auto& args : bad)
        EXPECT_FALSE(parseOptions(args, &error)) << args[0];
}

TEST(TableConfig, TablesFile)
{
    std::string error;
    const auto tables = parseTables("# game seats sb bb min max name\n"
                                    "NL 10 0.05 0.10 2 10 Alder Grove\n\n"
                                    "FL 6 1 2 20 200 Fox  # fixed\n",
                                    &error);
    ASSERT_EQ(tables.size(), 2u) << error;
    EXPECT_EQ(tables[0].name, "Alder Grove");
    EXPECT_EQ(tables[0].smallBlind, 5);
    EXPECT_EQ(tables[0].stakesText(), "0.05/0.10");
    EXPECT_EQ(tables[1].type, GameType::FixedLimit);
    EXPECT_EQ(tables[1].stakesText(), "2/4");
    const char* bad[] = {"XL 10 1 2 20 200 T\n", "NL 8 1 2 20 200 T\n", "NL 10 2 1 20 200 T\n",
                         "NL 10 1 2 20 10 T\n",  "NL 10 1 2 20 200\n",   "NL 10 1 2\n", "",
                         "NL 10 1 2 20 200 No LOGIN_FAIL here\n"};
    for (const char* text : bad) {
        error.clear();
        EXPECT_TRUE(parseTables(text, &error).empty()) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    const auto room = defaultRoom();
    EXPECT_EQ(room.size(), 8u);
    EXPECT_EQ(room.front().stakesText(), "0.05/0.10");
    EXPECT_EQ(room.back().stakesText(), "5/10");
}

} // namespace
} // namespace tessaly::house
