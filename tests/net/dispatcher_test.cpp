#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/ClientState.h"
#include "tests/support/EffectPrint.h"

namespace tessaly {

namespace {

using Check = std::function<void(const ClientState&)>;
using Preset = std::function<void(ClientState&)>;

struct Case {
    const char* name;
    Preset preset;
    std::vector<std::string> lines;
    std::vector<Effect> effects;
    Check check;
};

// Table 3 with the window open (prompts are taken) and the user at seat 4.
void openTable(ClientState& s)
{
    s.tables[3].promptSetUp = 0;
    s.tables[3].userSeat = 4;
}

void runCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        ClientState state;
        EffectRecorder recorder;
        if (c.preset)
            c.preset(state);
        Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
        for (const std::string& line : c.lines)
            dispatcher.dispatchLine(line);
        EXPECT_EQ(recorder.effects(), c.effects) << c.name;
        if (c.check) {
            SCOPED_TRACE(c.name);
            c.check(state);
        }
    }
}

const Effect kYourTurn = Effect::sound("sounds\\yourturn.wav");

TEST(Dispatcher, ActionPromptsAndAutomaticAnswers)
{
    runCases({
        {"action in small letters is an action", openTable, {"action:\t3\t2\t10\t40"}, {kYourTurn},
         [](const ClientState& s) {
             const TableState& t = s.tables[3];
             EXPECT_EQ(t.userToAct, 1);
             EXPECT_EQ(t.promptKind, 2);
             EXPECT_EQ(t.callAmount, 10.0f);
             EXPECT_EQ(t.minRaiseTo, 40.0f);
             EXPECT_EQ(t.raiseToCopy, 40.0f);
             EXPECT_EQ(t.bringToFront, 1);
             EXPECT_EQ(t.actionArrived, 1);
         }},
        {"kind 0 has nothing to call", openTable, {"ACTION:\t3\t0\t20"}, {kYourTurn},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].callAmount, 0.0f);
             EXPECT_EQ(s.tables[3].minRaiseTo, 20.0f);
             EXPECT_EQ(s.tables[3].raiseToCopy, 0.0f);
         }},
        {"kind 1 reads nothing more", openTable, {"ACTION:\t3\t1"}, {kYourTurn},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].promptKind, 1);
             EXPECT_EQ(s.tables[3].actionArrived, 1);
         }},
        {"prompt on screen ignores a new one", nullptr, {"ACTION:\t3\t0\t20"}, {kYourTurn},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].userToAct, 0);
             EXPECT_EQ(s.tables[3].actionArrived, 0);
         }},
        {"check-or-fold checks and stays set",
         [](ClientState& s) { openTable(s), s.tables[3].autoCheckFold = 1; },
         {"ACTION:\t3\t0\t20"},
         {kYourTurn, Effect::send(sent("REPLY:\t3\t6\r"))},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].autoCheckFold, 1);
             EXPECT_EQ(s.tables[3].userToAct, 0);
         }},
        {"check-or-fold folds to a bet and clears",
         [](ClientState& s) { openTable(s), s.tables[3].autoCheckFold = 1; },
         {"ACTION:\t3\t2\t10\t20"},
         {kYourTurn, Effect::send(sent("REPLY:\t3\t4\r"))},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].autoCheckFold, 0);
             EXPECT_EQ(s.tables[3].actionArrived, 0);
         }},
        {"automatic big blind sends 0.00 and plays nothing",
         [](ClientState& s) { openTable(s), s.tables[3].autoPostBlinds = 1; },
         {"GBB:\t3\t10"},
         {Effect::send(sent("xPBB:\t3\t4\t0.00\r"))},
         [](const ClientState& s) { EXPECT_EQ(s.tables[3].userToAct, 0); }},
        {"small blind prompt by hand", nullptr, {"GSB:\t3\t5"}, {Effect::sound("sounds\\yourturnBLIND.wav")},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].promptKind, 101);
             EXPECT_EQ(s.tables[3].blindAmount, 5.0f);
             EXPECT_EQ(s.tables[3].userToAct, 1);
             EXPECT_EQ(s.tables[3].promptSetUp, 0);
         }},
        {"prompt for a table that does not exist", nullptr, {"ACTION:\t50\t0\t1", "GBB:\t-1\t1"}, {}, nullptr},
        {"prompt that lacks its amounts is not stored", openTable, {"ACTION:\t3\t2\t10"}, {kYourTurn},
         [](const ClientState& s) { EXPECT_EQ(s.tables[3].actionArrived, 0); }},
    });
}

TEST(Dispatcher, HistoryPacketsByKind)
{
    const Preset inHand = [](ClientState& s) {
        s.tables[1].playersInHand = {2, 5};
        s.tables[1].dealOrder = {2, 5, 2, 5, 2, 5};
        s.tables[1].ownCardsLive[2] = 1;
    };
    const auto stackAndFront = [](float stack, float front) {
        return [=](const ClientState& s) {
            EXPECT_EQ(s.tables[1].stack[2], stack);
            EXPECT_EQ(s.tables[1].inFront[2], front);
            EXPECT_EQ(s.tables[1].historyPending, 1);
            EXPECT_EQ(s.tables[1].historySeat, 2);
        };
    };
    runCases({
        {"10 puts chips in front", nullptr, {"HISTORY_PACKET:\t1\t2\t10\t5"},
         {Effect::sound("sounds\\chipsbetting.wav")}, stackAndFront(0, 5)},
        {"8 updates the stack silently", nullptr, {"HISTORY_PACKET:\t1\t2\t8\t95"}, {}, stackAndFront(95, 0)},
        {"3 calls", nullptr, {"HISTORY_PACKET:\t1\t2\t3\t10\t90"}, {Effect::sound("sounds\\calling.wav")},
         stackAndFront(90, 10)},
        {"5 raises", nullptr, {"HISTORY_PACKET:\t1\t2\t5\t30\t70"}, {Effect::sound("sounds\\chipsbetting.wav")},
         stackAndFront(70, 30)},
        {"7 is all-in", nullptr, {"HISTORY_PACKET:\t1\t2\t7\t100"}, {Effect::sound("sounds\\chipsbetting.wav")},
         [&](const ClientState& s) {
             stackAndFront(0, 100)(s);
             EXPECT_EQ(s.tables[1].allIn[2], 1);
         }},
        {"6 checks", nullptr, {"HISTORY_PACKET:\t1\t2\t6\t80"}, {Effect::sound("sounds\\CHECK.wav")},
         stackAndFront(80, 0)},
        {"4 folds out of the hand and the deal order", inHand, {"HISTORY_PACKET:\t1\t2\t4\t60"},
         {Effect::sound("sounds\\Folding.wav")},
         [&](const ClientState& s) {
             stackAndFront(60, 0)(s);
             EXPECT_EQ(s.tables[1].playersInHand, std::vector<std::int32_t>{5});
             EXPECT_EQ(s.tables[1].dealOrder, (std::vector<std::int32_t>{5, 5, 5}));
             EXPECT_EQ(s.tables[1].ownCardsLive[2], 0);
         }},
        {"9 sets the history fields only", nullptr, {"HISTORY_PACKET:\t1\t2\t9\t60"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[1].historyPending, 1);
             EXPECT_EQ(s.tables[1].historyKind, 9);
             EXPECT_EQ(s.tables[1].stack[2], 0.0f);
         }},
        {"seat 10 has no slot", nullptr, {"HISTORY_PACKET:\t1\t10\t6\t80"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[1].historyPending, 0); }},
    });
}

TEST(Dispatcher, ChatLinesAndKeywordsFoundInsideThem)
{
    const Preset twoInHand = [](ClientState& s) {
        s.tables[2].playersInHand = {4, 1};
        s.tables[2].dealerSeat = 1;
        s.tables[2].chatText = "earlier";
    };
    runCases({
        {"chat is stored", nullptr, {"SEND_MESSAGE:\tbob\t2\thello there"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[2].chatSender.str(), "bob");
             EXPECT_EQ(s.tables[2].chatText.str(), "hello there");
         }},
        {"LOGIN_SUCCESS inside chat logs in", nullptr, {"SEND_MESSAGE:\tbob\t2\tLOGIN_SUCCESS lol"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.loggedIn, 1);
             EXPECT_EQ(s.tables[2].chatText.str(), "LOGIN_SUCCESS lol");
         }},
        {"LOGIN_FAIL inside chat shows the refusal",
         [](ClientState& s) { s.session.loggedIn = 1; },
         {"SEND_MESSAGE:\tbob\t2\tI got LOGIN_FAIL"},
         {Effect::box("Tessaly",
                      "Incorrect username and/or password.\rIf you do not have an account, please make a new one",
                      BoxIcon::Stop)},
         [](const ClientState& s) { EXPECT_EQ(s.session.loggedIn, 0); }},
        {"START_TABLE inside chat runs the table list parser over the chat line",
         [](ClientState& s) { s.session.tableCount = 5; },
         {"SEND_MESSAGE:\tT\tstakes\tSTART_TABLE now"},
         {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.tableCount, 0);
             EXPECT_EQ(s.tables[0].tableName.str(), "stakes");
             EXPECT_EQ(s.tables[0].chatText.str(), "START_TABLE now");
         }},
        {"USER_MONEY: inside chat reads the chat's fields", [](ClientState& s) { s.tables[0].stack[3] = 50; }, {"SEND_MESSAGE:\tbob\t3\tUSER_MONEY: 9"}, {},
         [](const ClientState& s) {
             // Table "bob" reads 0, seat 3, stack "USER_MONEY: 9" reads 0.
             EXPECT_EQ(s.tables[0].stack[3], 0.0f);
             EXPECT_EQ(s.tables[3].chatText.str(), "USER_MONEY: 9");
         }},
        {"hand starting ends the hand", [](ClientState& s) { s.tables[2].handInProgress = 1; },
         {"SEND_MESSAGE:\tDealer\t2\t#17 hand starting"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[2].handInProgress, 0); }},
        {"deal with one player starts the flags but is not stored",
         [](ClientState& s) {
             s.tables[2].playersInHand = {4};
             s.tables[2].chatText = "earlier";
         },
         {"SEND_MESSAGE:\tDealer\t2\tDealing down hole cards"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[2].dealing, 1);
             EXPECT_EQ(s.tables[2].handInProgress, 1);
             EXPECT_EQ(s.tables[2].chatText.str(), "earlier");
             EXPECT_TRUE(s.tables[2].dealOrder.empty());
         }},
        {"deal with two players builds the order and stores the line", twoInHand,
         {"SEND_MESSAGE:\tDealer\t2\tDealing down hole cards"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[2].dealOrder, (std::vector<std::int32_t>{4, 1, 4, 1, 4, 1}));
             EXPECT_EQ(s.tables[2].chatText.str(), "Dealing down hole cards");
         }},
        {"chat for table 50 is dropped", nullptr, {"SEND_MESSAGE:\tbob\t50\thi"}, {}, nullptr},
        {"an empty field shifts the later ones", nullptr, {"JOINED_TABLE:\t3\t\tAlice\t100\t5"},
         {Effect::sound("sounds\\joinseat.wav")},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[3].seatOccupied[0], 1);
             EXPECT_EQ(s.tables[3].playerName[0].str(), "100");
             EXPECT_EQ(s.tables[3].stack[0], 5.0f);
         }},
    });
}

std::vector<std::string> waitingLines(const TableState& t)
{
    std::vector<std::string> lines;
    for (const ChatLine& line : t.chatQueue)
        lines.push_back(line.sender.str() + ": " + line.text.str());
    return lines;
}

TEST(Dispatcher, EveryChatLineWaitsForTheNextFrameInOrder)
{
    runCases({
        {"lines of one frame all wait, the newest also in chatSender and chatText", nullptr,
         {"SEND_MESSAGE:\tDealer\t2\t#5 hand starting", "SEND_MESSAGE:\tbob\t2\tgl",
          "SEND_MESSAGE:\tDealer\t2\tbob wins with a pair", "SEND_MESSAGE:\tann\t3\telsewhere"},
         {},
         [](const ClientState& s) {
             EXPECT_EQ(waitingLines(s.tables[2]), (std::vector<std::string>{"Dealer: #5 hand starting", "bob: gl",
                                                                             "Dealer: bob wins with a pair"}));
             EXPECT_EQ(s.tables[2].chatSender.str(), "Dealer");
             EXPECT_EQ(s.tables[2].chatText.str(), "bob wins with a pair");
             EXPECT_EQ(waitingLines(s.tables[3]), (std::vector<std::string>{"ann: elsewhere"}));
         }},
        {"a deal with one player is not stored", [](ClientState& s) { s.tables[2].playersInHand = {4}; },
         {"SEND_MESSAGE:\tbob\t2\thi", "SEND_MESSAGE:\tDealer\t2\tDealing down hole cards"}, {},
         [](const ClientState& s) { EXPECT_EQ(waitingLines(s.tables[2]), (std::vector<std::string>{"bob: hi"})); }},
        {"long texts are cut like chatText", nullptr,
         {"SEND_MESSAGE:\tbob\t2\thello " + std::string(2000, 'x')}, {},
         [](const ClientState& s) {
             ASSERT_EQ(s.tables[2].chatQueue.size(), 1u);
             EXPECT_EQ(s.tables[2].chatQueue[0].sender.str(), "bob");
             EXPECT_EQ(s.tables[2].chatQueue[0].text, s.tables[2].chatText);
             EXPECT_EQ(s.tables[2].chatText.size(), 1023u);
         }},
    });
}

TEST(Dispatcher, ATableWithoutAWindowKeepsOnlyTheNewestWaitingLines)
{
    ClientState state;
    EffectRecorder recorder;
    Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
    const std::size_t sent = kMaxWaitingChatLines + 10;
    for (std::size_t i = 0; i < sent; ++i)
        dispatcher.dispatchLine("SEND_MESSAGE:\tbob\t1\tline " + std::to_string(i));
    const std::deque<ChatLine>& queue = state.tables[1].chatQueue;
    ASSERT_EQ(queue.size(), kMaxWaitingChatLines);
    EXPECT_EQ(queue.front().text.str(), "line 10");
    EXPECT_EQ(queue.back().text.str(), "line " + std::to_string(sent - 1));
}

TEST(Dispatcher, SeatsCardsBoardAndPots)
{
    runCases({
        {"a new hand resets and lists the players not sitting out",
         [](ClientState& s) {
             s.tables[4].board = {1, 2, 3, 4, 5};
             s.tables[4].handInProgress = 1;
         },
         {"NEW_HAND:\tHand\t4\tPlayers\t3\tSeats\t1\t2002\t6\t2003\t8\t2002"}, {},
         [](const ClientState& s) {
             const TableState& t = s.tables[4];
             EXPECT_EQ(t.playersInHand, (std::vector<std::int32_t>{1, 8}));
             EXPECT_EQ(t.seatState[6], 2003);
             EXPECT_EQ(t.board[0], 69);
             EXPECT_EQ(t.handInProgress, 0);
         }},
        {"a new hand naming seat 12 is ignored", [](ClientState& s) { s.tables[4].board[0] = 7; },
         {"NEW_HAND:\tH\t4\tP\t2\tS\t1\t2002\t12\t2002"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[4].board[0], 7); }},
        {"own cards", nullptr, {"YOUR_CARD:\t4\t3\t51\t0"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].ownCards, (std::array<std::int16_t, 2>{51, 0}));
             EXPECT_EQ(s.tables[4].ownCardSeat[3], 1);
             EXPECT_EQ(s.tables[4].ownCardsLive[3], 1);
         }},
        {"a card that is no card is ignored", nullptr, {"YOUR_CARD:\t4\t3\t52\t0", "SOME_CARDS:\t4\t3\t-1\t0"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].ownCardSeat[3], 0);
             EXPECT_EQ(s.tables[4].cardsShown[3], 0);
         }},
        {"shown cards", nullptr, {"SOME_CARDS:\t4\t7\t12\t69"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].shownCards[7], (std::array<std::int16_t, 2>{12, 69}));
             EXPECT_EQ(s.tables[4].cardsShown[7], 1);
         }},
        {"flop, turn and river clear the bets",
         [](ClientState& s) { s.tables[4].inFront[2] = 10; },
         {"COMM_CARDS:\t4\t1004\t1\t2\t3", "COMM_CARDS:\t4\t1005\t4", "COMM_CARDS:\t4\t1006\t5"},
         {Effect::sound("sounds\\commcardout.wav"), Effect::sound("sounds\\commcardout.wav"),
          Effect::sound("sounds\\commcardout.wav")},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].board, (std::array<std::int32_t, 5>{1, 2, 3, 4, 5}));
             EXPECT_EQ(s.tables[4].inFront[2], 0.0f);
         }},
        {"an unknown board code only plays the sound",
         [](ClientState& s) { s.tables[4].inFront[2] = 10; },
         {"COMM_CARDS:\t4\t1007\t9"}, {Effect::sound("sounds\\commcardout.wav")},
         [](const ClientState& s) { EXPECT_EQ(s.tables[4].inFront[2], 10.0f); }},
        {"two pots after three leave the third",
         [](ClientState& s) { s.tables[4].pots = {10, 20, 30}; },
         {"POTS:\t4\t2\t100\t50"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].pots[0], 100.0f);
             EXPECT_EQ(s.tables[4].pots[1], 50.0f);
             EXPECT_EQ(s.tables[4].pots[2], 30.0f);
         }},
        {"more than ten pots keep ten", nullptr, {"POTS:\t4\t12\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[4].pots[9], 10.0f); }},
        {"a pot list shorter than its count is ignored", nullptr, {"POTS:\t4\t3\t1\t2"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[4].pots[0], 0.0f); }},
        {"the user joins a seat", nullptr, {"YOU_JOINED_TABLE:\t4\t6\talice\t200"},
         {Effect::sound("sounds\\joinseat.wav")},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.seatedSomewhere, 1);
             EXPECT_EQ(s.tables[4].userSeatedHere, 1);
             EXPECT_EQ(s.tables[4].stack[6], 200.0f);
             EXPECT_EQ(s.tables[4].userSeat, 0);
         }},
        {"state messages for seats", [](ClientState& s) { s.tables[4].userSeat = 5; },
         {"PLAYER_OUT:\t4\t5", "LEFT_GAME:\t4\t2", "PRD:\t4\t5"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].seatState[5], 2002);
             EXPECT_EQ(s.tables[4].sittingOut, 0);
             EXPECT_EQ(s.tables[4].promptSetUp, 0);
             EXPECT_EQ(s.tables[4].seatState[2], 2004);
         }},
        {"dealer, acting seat and stack", nullptr, {"HISTORY_DEALER:\t4\t3", "HISTORY_ONBUTTON:\t4\t5\t150"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].dealerSeat, 3);
             EXPECT_EQ(s.tables[4].actingSeat, 5);
             EXPECT_EQ(s.tables[4].stack[5], 150.0f);
         }},
        {"acting seat outside the table shows the error and skips the rest", nullptr,
         {"HISTORY_ONBUTTON:\t4\t12\t150"}, {Effect::box("", "HISTORY_ONBUTTON error", BoxIcon::None)},
         [](const ClientState& s) { EXPECT_EQ(s.tables[4].actingSeat, 69); }},
        {"an empty table is cleared", [](ClientState& s) { s.tables[4].seatOccupied = {1, 1, 1}; },
         {"INIT_EMPTY:\t4"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].closed, 1);
             EXPECT_EQ(s.tables[4].seatOccupied, PerSeat<std::int32_t>{});
         }},
        {"clean table and clear action",
         [](ClientState& s) {
             s.tables[4].handInProgress = s.tables[4].userToAct = s.tables[4].userSeatedHere = 1;
             s.tables[4].rake = 2;
         },
         {"CLEAN_TABLE\t4", "CLEAR_ACTION:\t4"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].handInProgress, 0);
             EXPECT_EQ(s.tables[4].rake, 0.0f);
             EXPECT_EQ(s.tables[4].userSeatedHere, 0);
         }},
        {"end of hand offers", [](ClientState& s) { s.tables[5].autoMuckLosing = 1; },
         {"YOU_BRAG:\t4", "MUCK_SHOW:\t4", "MUCK_SHOW:\t5", "RAKE:\t4\t1.5", "WAKEUP:\t4"},
         {Effect::sound("sounds\\wakeup1.wav")},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[4].bragOffered, 1);
             EXPECT_EQ(s.tables[4].userWon, 1);
             EXPECT_EQ(s.tables[4].showLostOffered, 1);
             EXPECT_EQ(s.tables[5].showLostOffered, 0);
             EXPECT_EQ(s.tables[4].rake, 1.5f);
         }},
        {"lines that lack fields or name no table change nothing", nullptr,
         {"USER_MONEY:\t3\t2", "RAKE:\t50\t1", "PRD:\t3\t10", "YOU_WIN:", "JOINED_TABLE:\t3\t1\tbob", "LIST:\t2\ta\tb"},
         {},
         [](const ClientState& s) { EXPECT_EQ(s, ClientState{}); }},
    });
}

TEST(Dispatcher, TableSnapshot)
{
    const std::string init = "INIT:\tT\t6\tP\t1003\tD\t2\tN\t2\tA\t5\tB\t10\t20\t30\t69\t69\tX\t1.5\tY\t7\tPot\t0"
                             "\tN\tann\tS\t100\tF\t5\tI\t2\tST\t2002"
                             "\tN\tbo\tS\t50.5\tF\t10\tI\t5\tST\t2002";
    runCases({
        {"a snapshot fills the listed seats and keeps the others",
         [](ClientState& s) {
             s.tables[6].playerName[8] = "kept";
             s.tables[6].pots[0] = 40;
             s.tables[6].flopDrawn = 1;
         },
         {init}, {},
         [](const ClientState& s) {
             const TableState& t = s.tables[6];
             EXPECT_EQ(t.handInProgress, 1);
             EXPECT_EQ(t.dealerSeat, 2);
             EXPECT_EQ(t.actingSeat, 5);
             EXPECT_EQ(t.board, (std::array<std::int32_t, 5>{10, 20, 30, 69, 69}));
             EXPECT_EQ(t.pots[0], 40.0f);
             EXPECT_EQ(t.flopDrawn, 0);
             EXPECT_EQ(t.playerName[2].str(), "ann");
             EXPECT_EQ(t.stack[5], 50.5f);
             EXPECT_EQ(t.inFront[5], 10.0f);
             EXPECT_EQ(t.playerName[8].str(), "kept");
         }},
        {"phase 1001 means no hand", nullptr, {"INIT:\tT\t6\tP\t1001\tD\t2\tN\t0\tA\t69\tB\t69\t69\t69\t69\t69\tX\t0\tY\t0\tPot\t25"},
         {},
         [](const ClientState& s) {
             EXPECT_EQ(s.tables[6].handInProgress, 0);
             EXPECT_EQ(s.tables[6].pots[0], 25.0f);
             EXPECT_EQ(s.tables[6].actingSeat, 69);
         }},
        {"a snapshot short of its records is ignored", nullptr, {init.substr(0, init.rfind("\tN\tbo"))}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[6].dealerSeat, 69); }},
    });
}

TEST(Dispatcher, SessionMessagesAndBoxes)
{
    runCases({
        {"login accepted", nullptr, {"LOGIN_SUCCESS"}, {}, [](const ClientState& s) { EXPECT_EQ(s.session.loggedIn, 1); }},
        {"registration answers", nullptr, {"REG_SUCCESS", "REG_EMAIL", "REG_FAIL"},
         {Effect::box("Tessaly Message", "New account created, Please login.", BoxIcon::Information),
          Effect::box("Tessaly Message", "That E-mail is already registered on our network. Please use another one.",
                      BoxIcon::Stop),
          Effect::box("Tessaly Message", "Please try a different screen name.", BoxIcon::Stop)},
         [](const ClientState& s) { EXPECT_EQ(s.session.registrationDone, 0); }},
        {"server messages", nullptr, {"SM:\tMaintenance soon", "BOX_SEND:\tWelcome"},
         {Effect::box("SM: Tessaly Message", "Maintenance soon", BoxIcon::Exclamation),
          Effect::box("Tessaly", "Welcome", BoxIcon::None)},
         nullptr},
        {"closing message ends with code 0", nullptr, {"CA:\tGoodbye"},
         {Effect::box("CA: Tessaly Message", "Goodbye", BoxIcon::Exclamation), Effect::exit(0)}, nullptr},
        {"cashier figures", [](ClientState& s) { s.session.cashierReplyState = {1, 2, 1, 1}; },
         {"RQC:\ta@b.c\t1500.5\t200\t1700.5"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.cashierEmail.str(), "a@b.c");
             EXPECT_EQ(s.session.playMoneyBalance, 1500.5f);
             EXPECT_EQ(s.session.cashierAvailable, 1500.5f);
             EXPECT_EQ(s.session.cashierInAction, 200.0f);
             EXPECT_EQ(s.session.cashierTotal, 1700.5f);
             EXPECT_EQ(s.session.cashierReplyState, (std::array<std::int32_t, 4>{}));
         }},
        {"balance", nullptr, {"YOUR_MONEY_PM:\t990\t5"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.playMoneyBalance, 990.0f);
             EXPECT_EQ(s.session.balanceArrived, 1);
         }},
        {"player list keeps at most ten and cuts texts",
         nullptr,
         {"LIST:\t12\t1\t" + std::string(300, 'n') + "\t10\t2\tb\t20\t3\tc\t30\t4\td\t40\t5\te\t50\t6\tf\t60\t7\tg\t70"
          "\t8\th\t80\t9\ti\t90\t10\tj\t100\t11\tk\t110"},
         {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.playerListCount, 10);
             EXPECT_EQ(s.session.playerListReady, 1);
             EXPECT_EQ(s.session.playerList[0].name.size(), 255u);
             EXPECT_EQ(s.session.playerList[9].amount.str(), "100");
         }},
        {"a shorter player list after a longer one", nullptr,
         {"LIST:\t3\t1\ta\t1\t2\tb\t2\t3\tc\t3\t4\td\t4", "LIST:\t1\t9\tz\t9"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.playerListCount, 1);
             EXPECT_EQ(s.session.playerList[0].name.str(), "z");
         }},
    });
}

TEST(TableList, FillsRecordsInOrderAndOnlyOverwrites)
{
    const std::string record = "\tSB:\t1\tBB:\t2\tMINB:\t20\tMAXB:\t200\tT\tOak\tG\t1000\tM\t10\tS\t$1/$2\tPR\t4"
                               "\tVX:\t35\tWT\t0\tPF\t50\tHR\t80";
    std::string five = "START_TABLE";
    for (int i = 0; i < 5; ++i)
        five += record;
    runCases({
        {"three records", nullptr,
         {"START_TABLE\tT\tA\tHR\t1\tT\tB\tHR\t1\tTE:\t10:00\t42\t3\tT\tC\tG\t1001\tHR\t1\tEND_TABLE"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.tableCount, 3);
             EXPECT_EQ(s.tables[2].tableName.str(), "C");
             EXPECT_EQ(s.tables[2].gameType, 1001);
             EXPECT_EQ(s.session.serverTimeText.str(), "10:00");
             EXPECT_EQ(s.session.liveUsers, 42);
             EXPECT_EQ(s.session.liveTables, 3);
             EXPECT_EQ(s.session.tableListComplete, 1);
         }},
        {"every key of a record", nullptr, {"START_TABLE" + record}, {},
         [](const ClientState& s) {
             const TableState& t = s.tables[0];
             EXPECT_EQ(t.smallBlind, 1.0f);
             EXPECT_EQ(t.bigBlind, 2.0f);
             EXPECT_EQ(t.minBuyIn, 20.0f);
             EXPECT_EQ(t.maxBuyIn, 200.0f);
             EXPECT_EQ(t.seatCount, 10);
             EXPECT_EQ(t.stakesText.str(), "$1/$2");
             EXPECT_EQ(t.playersSeated, 4);
             EXPECT_EQ(t.averagePot, 35);
             EXPECT_EQ(s.session.tableListComplete, 0);
         }},
        {"two records after five leave records 2 to 4", nullptr,
         {five, "START_TABLE\tT\tX\tHR\t1\tT\tY\tHR\t1"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.tableCount, 2);
             EXPECT_EQ(s.tables[1].tableName.str(), "Y");
             EXPECT_EQ(s.tables[1].smallBlind, 1.0f);
             EXPECT_EQ(s.tables[4].tableName.str(), "Oak");
         }},
        {"a record without HR merges with the next", nullptr, {"START_TABLE\tT\tA\tSB:\t5\tT\tB\tHR\t1"}, {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.tableCount, 1);
             EXPECT_EQ(s.tables[0].tableName.str(), "B");
             EXPECT_EQ(s.tables[0].smallBlind, 5.0f);
         }},
        {"more than fifty records keep fifty", nullptr,
         {[] {
             std::string line = "START_TABLE";
             for (int i = 0; i < 52; ++i)
                 line += "\tT\tt" + std::to_string(i) + "\tHR\t1";
             return line + "\tEND_TABLE";
         }()},
         {},
         [](const ClientState& s) {
             EXPECT_EQ(s.session.tableCount, 50);
             EXPECT_EQ(s.tables[49].tableName.str(), "t49");
             EXPECT_EQ(s.session.tableListComplete, 1);
         }},
        {"a long table name is cut to 127 bytes", nullptr, {"START_TABLE\tT\t" + std::string(200, 'x') + "\tHR\t1"}, {},
         [](const ClientState& s) { EXPECT_EQ(s.tables[0].tableName.size(), 127u); }},
    });
}

} // namespace
} // namespace tessaly
