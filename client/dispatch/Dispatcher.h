#pragma once
// Turns each complete server line into changes of the client's state, the
// sounds of its events, the server's message boxes and the few automatic
// answers (check or fold, blind posts). It never calls a window: windows
// poll the state on their timers.
//
// Lines that name a table outside 0 to 49, a seat outside 0 to 9 or a card
// that is no card, or that lack fields their keyword needs, leave the state
// as it was (apart from the line cut that the keyword tests see).

#include <string>
#include <string_view>

#include "client/net/LineReceiver.h"
#include "platform/MessageBoxes.h"

namespace tessaly {

class LineFields;
class LineSender;
class ProcessExit;
class SoundPort;
struct ClientState;
struct TableState;

struct DispatchPorts {
    LineSender& sender;
    SoundPort& sound;
    MessageBoxes& boxes;
    ProcessExit& exit;
};

class Dispatcher final : public LineReceiver {
public:
    Dispatcher(ClientState& state, DispatchPorts ports) : state_(state), ports_(ports) {}

    // Runs the keyword tests in their fixed order over the line (without its
    // carriage return); the line is modified in place.
    void dispatchLine(char* line) override;
    // The same over a copy of the text.
    void dispatchLine(std::string_view line);

private:
    enum class Flow { Next, End };
    struct Test;
    static const Test kTests[];

    Flow cashierFigures(LineFields& f);
    Flow playerList(LineFields& f);
    Flow cleanTable(LineFields& f);
    Flow systemMessage(LineFields& f);
    Flow closingMessage(LineFields& f);
    Flow rake(LineFields& f);
    Flow boxMessage(LineFields& f);
    Flow playerReturned(LineFields& f);
    Flow clearAction(LineFields& f);
    Flow muckShow(LineFields& f);
    Flow wakeUp(LineFields& f);
    Flow youWin(LineFields& f);
    Flow youBrag(LineFields& f);
    Flow playerOut(LineFields& f);
    Flow leftGame(LineFields& f);
    Flow pots(LineFields& f);
    Flow yourCards(LineFields& f);
    Flow newHand(LineFields& f);
    Flow snapshot(LineFields& f);
    Flow action(LineFields& f);
    Flow bigBlind(LineFields& f);
    Flow smallBlind(LineFields& f);
    Flow userMoney(LineFields& f);
    Flow historyPacket(LineFields& f);
    Flow someCards(LineFields& f);
    Flow joinedTable(LineFields& f);
    Flow youJoinedTable(LineFields& f);
    Flow historyClearTable(LineFields& f);
    Flow communityCards(LineFields& f);
    Flow historyDealer(LineFields& f);
    Flow historyOnButton(LineFields& f);
    Flow initEmpty(LineFields& f);
    Flow yourMoney(LineFields& f);
    Flow loginFail(LineFields& f);
    Flow loginSuccess(LineFields& f);
    Flow tableList(LineFields& f);
    Flow registrationSuccess(LineFields& f);
    Flow registrationEmail(LineFields& f);
    Flow registrationFail(LineFields& f);
    Flow chat(LineFields& f);

    Flow blindPrompt(LineFields& f, int kind);
    // Reads a seat and two cards; the table when all are there and valid.
    TableState* cardPair(LineFields& f, int& seat, int& card1, int& card2);
    Flow seatTaken(LineFields& f, bool byUser);
    // Reads the line afresh: the table id after the keyword; nullptr when it
    // is out of range or missing.
    TableState* onlyTable(LineFields& f);
    // The same for a table id and a seat.
    TableState* tableAndSeat(LineFields& f, int& seat);
    TableState* table(int t);
    void play(const char* name);
    // Shows the text field after the keyword; false when there is none.
    bool textBox(LineFields& f, const char* caption, BoxIcon icon);
    void box(std::string text, std::string caption, BoxIcon icon);

    ClientState& state_;
    DispatchPorts ports_;
    std::string copy_;
};

// Fills the table records' descriptive fields, the server time and the
// counts from a "START_TABLE" line: keys and values alternate; "HR" closes a
// record, "END_TABLE" completes the list. Only overwrites: fields the line
// does not carry and records past its count keep what they had. At most 50
// records are kept; the keys of further records are read and dropped.
void parseTableList(LineFields& fields, ClientState& state);
void parseTableList(char* line, ClientState& state);

} // namespace tessaly
