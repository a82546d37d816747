#include "server/protocol/ServerLines.h"

#include "server/protocol/Money.h"

namespace tessaly::house::lines {
namespace {

class Line {
public:
    explicit Line(std::string_view keyword) : text_(keyword) {}
    Line& num(long v)
    {
        text_ += '\t';
        text_ += std::to_string(v);
        return *this;
    }
    Line& money(Chips v)
    {
        text_ += '\t';
        text_ += moneyText(v);
        return *this;
    }
    Line& text(std::string_view v)
    {
        text_ += '\t';
        text_ += fieldText(v);
        return *this;
    }
    std::string done() { return text_ + '\r'; }

private:
    std::string text_;
};

std::string tableOnly(std::string_view keyword, int t)
{
    return Line(keyword).num(t).done();
}

std::string tableSeat(std::string_view keyword, int t, int seat)
{
    return Line(keyword).num(t).num(seat).done();
}

} // namespace

std::string fieldText(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return out.empty() ? "-" : out;
}

std::string loginSuccess() { return "LOGIN_SUCCESS\r"; }
std::string loginFail() { return "LOGIN_FAIL\r"; }
std::string regSuccess() { return "REG_SUCCESS\r"; }
std::string regFail() { return "REG_FAIL\r"; }
std::string regEmail() { return "REG_EMAIL\r"; }

std::string systemMessage(std::string_view text) { return Line("SM:").text(text).done(); }
std::string closingMessage(std::string_view text) { return Line("CA:").text(text).done(); }

std::string yourMoney(Chips balance, Chips inPlay)
{
    return Line("YOUR_MONEY_PM:").money(balance).money(inPlay).done();
}

std::string cashier(std::string_view email, Chips available, Chips inPlay)
{
    return Line("RQC:").text(email).money(available).money(inPlay).money(available + inPlay).done();
}

std::string playerList(const std::vector<ListedPlayer>& players)
{
    Line line("LIST:");
    line.num(static_cast<long>(players.size()));
    for (const ListedPlayer& p : players)
        line.text(p.number).text(p.name).text(p.amount);
    return line.done();
}

std::string tableList(const std::vector<ListedTable>& tables, std::string_view serverTime, int liveUsers)
{
    Line line("START_TABLE");
    for (const ListedTable& t : tables) {
        line.text("SB:").money(t.smallBlind).text("BB:").money(t.bigBlind);
        line.text("MINB:").money(t.minBuyIn).text("MAXB:").money(t.maxBuyIn);
        line.text("T").text(t.name).text("G").num(t.gameCode).text("M").num(t.seats);
        line.text("S").text(t.stakes).text("PR").num(t.players).text("VX:").num(t.averagePot);
        line.text("WT").num(t.waiting).text("PF").num(t.playersPerFlop).text("HR").num(t.handsPerHour);
    }
    line.text("TE:").text(serverTime).num(liveUsers).num(static_cast<long>(tables.size()));
    line.text("END_TABLE");
    return line.done();
}

std::string chat(std::string_view sender, int table, std::string_view text)
{
    return Line("SEND_MESSAGE:").text(sender).num(table).text(text).done();
}

std::string cleanTable(int t) { return tableOnly("CLEAN_TABLE", t); }
std::string historyClearTable(int t) { return tableOnly("HISTORY_CLEARTABLE:", t); }
std::string initEmpty(int t) { return tableOnly("INIT_EMPTY:", t); }
std::string playerReturned(int t, int seat) { return tableSeat("PRD:", t, seat); }
std::string playerOut(int t, int seat) { return tableSeat("PLAYER_OUT:", t, seat); }
std::string leftGame(int t, int seat) { return tableSeat("LEFT_GAME:", t, seat); }
std::string clearAction(int t) { return tableOnly("CLEAR_ACTION:", t); }
std::string muckShow(int t) { return tableOnly("MUCK_SHOW:", t); }
std::string wakeUp(int t) { return tableOnly("WAKEUP:", t); }
std::string youWin(int t) { return tableOnly("YOU_WIN:", t); }
std::string youBrag(int t) { return tableOnly("YOU_BRAG:", t); }

std::string pots(int t, const std::vector<Chips>& amounts)
{
    Line line("POTS:");
    line.num(t).num(static_cast<long>(amounts.size()));
    for (Chips a : amounts)
        line.money(a);
    return line.done();
}

std::string yourCards(int t, int seat, int card1, int card2)
{
    return Line("YOUR_CARD:").num(t).num(seat).num(card1).num(card2).done();
}

std::string someCards(int t, int seat, int card1, int card2)
{
    return Line("SOME_CARDS:").num(t).num(seat).num(card1).num(card2).done();
}

std::string newHand(int t, const std::vector<SeatStateEntry>& seats)
{
    Line line("NEW_HAND:");
    line.text("table").num(t).text("players").num(static_cast<long>(seats.size())).text("seats");
    for (const SeatStateEntry& s : seats)
        line.num(s.seat).num(s.state);
    return line.done();
}

std::string init(int t, const InitSnapshot& s)
{
    Line line("INIT:");
    line.text("table").num(t).text("phase").num(s.phase).text("dealer").num(s.dealer);
    line.text("players").num(static_cast<long>(s.players.size())).text("acting").num(s.acting);
    line.text("board");
    for (int c : s.board)
        line.num(c);
    line.text("bet").money(0).text("round").num(0).text("pot").money(s.mainPot);
    for (const InitPlayer& p : s.players) {
        line.text("name").text(p.name).text("stack").money(p.stack).text("front").money(p.inFront);
        line.text("seat").num(p.seat).text("state").num(p.state);
    }
    return line.done();
}

std::string actionCheckOrBet(int t, Chips minimumBet)
{
    return Line("ACTION:").num(t).num(0).money(minimumBet).done();
}

std::string actionAllInOrFold(int t) { return Line("ACTION:").num(t).num(1).done(); }

std::string actionCallOrRaise(int t, Chips toCall, Chips minRaiseTo)
{
    return Line("ACTION:").num(t).num(2).money(toCall).money(minRaiseTo).done();
}

std::string actionCallOrAllIn(int t, Chips toCall)
{
    return Line("ACTION:").num(t).num(22).money(toCall).done();
}

std::string askBigBlind(int t, Chips amount) { return Line("GBB:").num(t).money(amount).done(); }
std::string askSmallBlind(int t, Chips amount) { return Line("GSB:").num(t).money(amount).done(); }

std::string userMoney(int t, int seat, Chips stack)
{
    return Line("USER_MONEY:").num(t).num(seat).money(stack).done();
}

std::string history(int t, int seat, History kind, Chips inFront, Chips stack)
{
    Line line("HISTORY_PACKET:");
    line.num(t).num(seat).num(static_cast<int>(kind));
    switch (kind) {
    case History::Call:
    case History::Raise:
        line.money(inFront).money(stack);
        break;
    case History::AllIn:
    case History::InFront:
        line.money(inFront);
        break;
    case History::Fold:
    case History::Check:
    case History::Stack:
        line.money(stack);
        break;
    }
    return line.done();
}

std::string joined(int t, int seat, std::string_view name, Chips stack)
{
    return Line("JOINED_TABLE:").num(t).num(seat).text(name).money(stack).done();
}

std::string youJoined(int t, int seat, std::string_view name, Chips stack)
{
    return Line("YOU_JOINED_TABLE:").num(t).num(seat).text(name).money(stack).done();
}

std::string flop(int t, int c1, int c2, int c3)
{
    return Line("COMM_CARDS:").num(t).num(kFlop).num(c1).num(c2).num(c3).done();
}

std::string turnOrRiver(int t, int code, int card)
{
    return Line("COMM_CARDS:").num(t).num(code).num(card).done();
}

std::string dealer(int t, int seat) { return tableSeat("HISTORY_DEALER:", t, seat); }

std::string onButton(int t, int seat, Chips stack)
{
    return Line("HISTORY_ONBUTTON:").num(t).num(seat).money(stack).done();
}

} // namespace tessaly::house::lines
