#include "client/dispatch/Dispatcher.h"

#include <algorithm>
#include <array>

#include "client/net/Fields.h"
#include "client/net/Protocol.h"
#include "client/table/ClientState.h"
#include "client/table/HandEventRules.h"
#include "platform/SoundPort.h"
#include "platform/sys/Process.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

enum class Match { AtStart, Anywhere };

std::string withoutLineBreaks(std::string_view text)
{
    std::string out(text);
    out.erase(std::remove_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }), out.end());
    return out;
}

} // namespace

struct Dispatcher::Test {
    const char* keyword;
    Match match;
    Flow (Dispatcher::*block)(LineFields&);
};

// In this order. A test that matches runs its block and the later tests
// still run; they see the line cut after the keyword by the block's first
// read, so in practice only second-group keywords in a text that no earlier
// block has read match again (a chat line that contains "LOGIN_SUCCESS").
const Dispatcher::Test Dispatcher::kTests[] = {
    {"RQC:", Match::AtStart, &Dispatcher::cashierFigures},
    {"LIST:", Match::AtStart, &Dispatcher::playerList},
    {"CLEAN_TABLE", Match::AtStart, &Dispatcher::cleanTable},
    {"SM:", Match::AtStart, &Dispatcher::systemMessage},
    {"CA:", Match::AtStart, &Dispatcher::closingMessage},
    {"RAKE:", Match::AtStart, &Dispatcher::rake},
    {"BOX_SEND:", Match::AtStart, &Dispatcher::boxMessage},
    {"PRD:", Match::AtStart, &Dispatcher::playerReturned},
    {"CLEAR_ACTION:", Match::AtStart, &Dispatcher::clearAction},
    {"MUCK_SHOW:", Match::AtStart, &Dispatcher::muckShow},
    {"WAKEUP:", Match::AtStart, &Dispatcher::wakeUp},
    {"YOU_WIN:", Match::AtStart, &Dispatcher::youWin},
    {"YOU_BRAG:", Match::AtStart, &Dispatcher::youBrag},
    {"PLAYER_OUT:", Match::AtStart, &Dispatcher::playerOut},
    {"LEFT_GAME:", Match::AtStart, &Dispatcher::leftGame},
    {"POTS:", Match::AtStart, &Dispatcher::pots},
    {"YOUR_CARD:", Match::AtStart, &Dispatcher::yourCards},
    {"NEW_HAND:", Match::AtStart, &Dispatcher::newHand},
    {"INIT:", Match::AtStart, &Dispatcher::snapshot},
    {"ACTION:", Match::AtStart, &Dispatcher::action},
    {"GBB:", Match::AtStart, &Dispatcher::bigBlind},
    {"GSB:", Match::AtStart, &Dispatcher::smallBlind},
    {"USER_MONEY:", Match::Anywhere, &Dispatcher::userMoney},
    {"HISTORY_PACKET:", Match::Anywhere, &Dispatcher::historyPacket},
    {"SOME_CARDS:", Match::AtStart, &Dispatcher::someCards},
    {"JOINED_TABLE:", Match::AtStart, &Dispatcher::joinedTable},
    {"YOU_JOINED_TABLE:", Match::AtStart, &Dispatcher::youJoinedTable},
    {"HISTORY_CLEARTABLE:", Match::Anywhere, &Dispatcher::historyClearTable},
    {"COMM_CARDS:", Match::Anywhere, &Dispatcher::communityCards},
    {"HISTORY_DEALER:", Match::Anywhere, &Dispatcher::historyDealer},
    {"HISTORY_ONBUTTON:", Match::Anywhere, &Dispatcher::historyOnButton},
    {"INIT_EMPTY:", Match::Anywhere, &Dispatcher::initEmpty},
    {"YOUR_MONEY_PM:", Match::Anywhere, &Dispatcher::yourMoney},
    {"LOGIN_FAIL", Match::Anywhere, &Dispatcher::loginFail},
    {"LOGIN_SUCCESS", Match::Anywhere, &Dispatcher::loginSuccess},
    {"START_TABLE", Match::Anywhere, &Dispatcher::tableList},
    {"REG_SUCCESS", Match::Anywhere, &Dispatcher::registrationSuccess},
    {"REG_EMAIL", Match::Anywhere, &Dispatcher::registrationEmail},
    {"REG_FAIL", Match::Anywhere, &Dispatcher::registrationFail},
    {"SEND_MESSAGE:", Match::Anywhere, &Dispatcher::chat},
};

void Dispatcher::dispatchLine(char* line)
{
    trace("%s", line);
    LineFields fields(line);
    for (const Test& test : kTests) {
        const bool matches = test.match == Match::AtStart ? startsWithKeyword(fields.visible(), test.keyword)
                                                          : containsKeyword(fields.visible(), test.keyword);
        if (matches && (this->*test.block)(fields) == Flow::End)
            return;
    }
}

void Dispatcher::dispatchLine(std::string_view line)
{
    copy_.assign(line);
    dispatchLine(copy_.data());
}

TableState* Dispatcher::table(int t)
{
    return isTableId(t) ? &state_.tables[static_cast<std::size_t>(t)] : nullptr;
}

TableState* Dispatcher::onlyTable(LineFields& f)
{
    f.first();
    TableState* T = table(f.nextInt());
    return f.missing() ? nullptr : T;
}

bool Dispatcher::textBox(LineFields& f, const char* caption, BoxIcon icon)
{
    f.first();
    const std::string_view text = f.nextText();
    if (f.missing())
        return false;
    box(std::string(text), caption, icon);
    return true;
}

TableState* Dispatcher::tableAndSeat(LineFields& f, int& seat)
{
    f.first();
    const int t = f.nextInt();
    seat = f.nextInt();
    return f.missing() || !isSeat(seat) ? nullptr : table(t);
}

void Dispatcher::play(const char* name) { ports_.sound.PlaySoundFile(name); }

void Dispatcher::box(std::string text, std::string caption, BoxIcon icon)
{
    BoxRequest request;
    request.text = std::move(text);
    request.caption = std::move(caption);
    request.icon = icon;
    request.systemModal = true;
    ports_.boxes.show(request);
}

Dispatcher::Flow Dispatcher::cashierFigures(LineFields& f)
{
    f.first();
    const std::string_view email = f.nextText();
    const float available = f.nextMoney();
    const float inAction = f.nextMoney();
    const float total = f.nextMoney();
    if (f.missing())
        return Flow::Next;
    SessionValues& s = state_.session;
    s.cashierEmail = email;
    s.playMoneyBalance = s.cashierAvailable = available;
    s.cashierInAction = inAction;
    s.cashierTotal = total;
    trace("RQC: came in");
    s.cashierReplyState.fill(0);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::playerList(LineFields& f)
{
    f.first();
    const int n = std::clamp(f.nextInt(), 0, kMaxPlayerListEntries);
    std::array<PlayerListEntry, kMaxPlayerListEntries> entries{};
    for (int i = 0; i < n; ++i) {
        PlayerListEntry& e = entries[static_cast<std::size_t>(i)];
        e.number = f.nextText();
        e.name = f.nextText();
        e.amount = f.nextText();
    }
    if (f.missing())
        return Flow::Next;
    SessionValues& s = state_.session;
    std::copy_n(entries.begin(), n, s.playerList.begin());
    s.playerListCount = n;
    s.playerListReady = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::systemMessage(LineFields& f)
{
    textBox(f, "SM: Tessaly Message", BoxIcon::Exclamation);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::closingMessage(LineFields& f)
{
    if (!textBox(f, "CA: Tessaly Message", BoxIcon::Exclamation))
        return Flow::Next;
    ports_.exit.exitProcess(0);
    return Flow::End;
}

Dispatcher::Flow Dispatcher::rake(LineFields& f)
{
    f.first();
    TableState* T = table(f.nextInt());
    const float amount = f.nextMoney();
    if (!f.missing() && T != nullptr)
        T->rake = amount;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::boxMessage(LineFields& f)
{
    textBox(f, "Tessaly", BoxIcon::None);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::yourMoney(LineFields& f)
{
    f.first();
    const float balance = f.nextMoney();
    const float second = f.nextMoney();
    if (f.missing())
        return Flow::Next;
    SessionValues& s = state_.session;
    s.playMoneyBalance = balance;
    s.balanceSecondAmount = second;
    s.balanceArrived = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::loginFail(LineFields&)
{
    box("Incorrect username and/or password.\rIf you do not have an account, please make a new one", "Tessaly",
        BoxIcon::Stop);
    state_.session.loggedIn = 0;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::loginSuccess(LineFields&)
{
    state_.session.loggedIn = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::tableList(LineFields& f)
{
    parseTableList(f, state_);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::registrationSuccess(LineFields&)
{
    box("New account created, Please login.", "Tessaly Message", BoxIcon::Information);
    state_.session.registrationDone = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::registrationEmail(LineFields&)
{
    box("That E-mail is already registered on our network. Please use another one.", "Tessaly Message",
        BoxIcon::Stop);
    state_.session.registrationDone = 0;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::registrationFail(LineFields&)
{
    box("Please try a different screen name.", "Tessaly Message", BoxIcon::Stop);
    state_.session.registrationDone = 0;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::chat(LineFields& f)
{
    f.first();
    const std::string_view sender = f.nextText();
    trace("Senders' name: %.*s\n", static_cast<int>(sender.size()), sender.data());
    const char* tableField = f.next();
    trace("table number: %s\n", tableField != nullptr ? tableField : "");
    const std::string_view message = f.nextText();
    trace("message recv: %.*s\n", static_cast<int>(message.size()), message.data());
    TableState* T = table(tableField != nullptr ? readInt(tableField) : -1);
    if (f.missing() || T == nullptr)
        return Flow::Next;
    const std::string text = withoutLineBreaks(message);
    const std::string name = withoutLineBreaks(sender);
    if (text.find("hand starting") != std::string::npos)
        T->handInProgress = 0;
    if (isDealer(name)) {
        if (const int number = announcedHandNumber(text); number != 0)
            T->handEvents.announcedHand = number;
        if (std::optional<HandEvent> event = dealerEvent(*T, text))
            T->handEvent(std::move(*event));
    }
    if (text.find("Dealing down hole cards") != std::string::npos) {
        T->startDeal();
        if (T->playersInHand.size() < 2)
            return Flow::End;
    }
    T->queueChatLine(name, text);
    return Flow::Next;
}

} // namespace tessaly
