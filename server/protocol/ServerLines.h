#pragma once
// Every line the house sends, one function per message, each ending with
// its carriage return. Fields are tab-separated and never empty: the client
// drops empty fields and would read every later one in the wrong place.

#include "server/poker/Chips.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::house::lines {

// Seat state codes and phase codes of the table messages.
constexpr int kSeatPlaying = 2002;
constexpr int kSeatSittingOut = 2003;
constexpr int kPhaseIdle = 1001;
constexpr int kPhaseInHand = 1003;
constexpr int kNoSeat = 69;

// History kinds of "HISTORY_PACKET:".
enum class History { Call = 3, Fold = 4, Raise = 5, Check = 6, AllIn = 7, Stack = 8, InFront = 10 };

// Board codes of "COMM_CARDS:".
constexpr int kFlop = 1004, kTurn = 1005, kRiver = 1006;

std::string loginSuccess();
std::string loginFail();
std::string regSuccess();
std::string regFail();
std::string regEmail();
std::string systemMessage(std::string_view text);      // SM:
std::string closingMessage(std::string_view text);     // CA:
std::string yourMoney(Chips balance, Chips inPlay);    // YOUR_MONEY_PM:
std::string cashier(std::string_view email, Chips available, Chips inPlay); // RQC:

struct ListedPlayer {
    std::string number, name, amount;
};
std::string playerList(const std::vector<ListedPlayer>& players); // LIST:

struct ListedTable {
    Chips smallBlind, bigBlind, minBuyIn, maxBuyIn;
    std::string name;
    int gameCode;
    int seats;
    std::string stakes;
    int players;
    long averagePot;
    int waiting;
    int playersPerFlop;
    int handsPerHour;
};
std::string tableList(const std::vector<ListedTable>& tables, std::string_view serverTime, int liveUsers);

std::string chat(std::string_view sender, int table, std::string_view text); // SEND_MESSAGE:

std::string cleanTable(int t);
std::string historyClearTable(int t);
std::string initEmpty(int t);
std::string playerReturned(int t, int seat);  // PRD:
std::string playerOut(int t, int seat);
std::string leftGame(int t, int seat);
std::string clearAction(int t);
std::string muckShow(int t);
std::string wakeUp(int t);
std::string youWin(int t);
std::string youBrag(int t);
std::string pots(int t, const std::vector<Chips>& amounts);
std::string yourCards(int t, int seat, int card1, int card2);
std::string someCards(int t, int seat, int card1, int card2);

struct SeatStateEntry {
    int seat, state;
};
std::string newHand(int t, const std::vector<SeatStateEntry>& seats);

struct InitPlayer {
    std::string name;
    Chips stack, inFront;
    int seat, state;
};
struct InitSnapshot {
    int phase = kPhaseIdle;
    int dealer = kNoSeat;
    int acting = kNoSeat;
    std::array<int, 5> board{69, 69, 69, 69, 69};
    Chips mainPot = 0;
    std::vector<InitPlayer> players;
};
std::string init(int t, const InitSnapshot& snapshot);

std::string actionCheckOrBet(int t, Chips minimumBet);
std::string actionAllInOrFold(int t);
std::string actionCallOrRaise(int t, Chips toCall, Chips minRaiseTo);
std::string actionCallOrAllIn(int t, Chips toCall);
std::string askBigBlind(int t, Chips amount);   // GBB:
std::string askSmallBlind(int t, Chips amount); // GSB:

std::string userMoney(int t, int seat, Chips stack);
std::string history(int t, int seat, History kind, Chips inFront, Chips stack);
std::string joined(int t, int seat, std::string_view name, Chips stack);
std::string youJoined(int t, int seat, std::string_view name, Chips stack);
std::string flop(int t, int c1, int c2, int c3);
std::string turnOrRiver(int t, int code, int card);
std::string dealer(int t, int seat);       // HISTORY_DEALER:
std::string onButton(int t, int seat, Chips stack); // HISTORY_ONBUTTON:

// A text as one field: tabs, line breaks and NULs become blanks, an empty
// text becomes "-".
std::string fieldText(std::string_view text);

} // namespace tessaly::house::lines
