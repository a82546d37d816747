#include "server/game/Room.h"

#include "server/protocol/AccountRules.h"
#include "server/protocol/ChatText.h"
#include "server/protocol/ClientRequest.h"
#include "server/protocol/Money.h"
#include "server/protocol/ServerLines.h"

#include <ctime>
#include <strings.h>

namespace tessaly::house {
namespace {

// A connection may chat this many lines in kChatWindow.
constexpr std::size_t kChatBurst = 5;
constexpr auto kChatWindow = std::chrono::seconds(10);
// The cashier shows at most 255 characters of it.
constexpr std::size_t kMaxEmailLength = 100;

std::string serverTime()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

} // namespace

Room::Room(std::vector<TableConfig> tables, RoomSettings settings, AccountStore& accounts, PasswordWork& passwords,
           Timers& timers, RoomOutput& output, RandomStream random)
    : settings_(settings), accounts_(accounts), passwords_(passwords), timers_(timers), output_(output),
      random_(std::move(random)),
      crew_(tables_, CrewSettings{settings.botsPerTable, settings.table.fast, kReloadTarget}, accounts, timers, random_)
{
    handNumber_ = accounts_.lastHandNumber();
    for (std::size_t i = 0; i < tables.size() && i < kMaxTables; ++i) {
        tables_.push_back(std::make_unique<Table>(static_cast<int>(i), std::move(tables[i]), static_cast<TableHost&>(*this), settings_.table,
                                                  random_.derive("table " + std::to_string(i))));
    }
}

Room::~Room() = default;

void Room::send(ConnId conn, const std::string& line)
{
    output_.send(conn, line);
}

Room::Session* Room::session(ConnId conn)
{
    const auto it = sessions_.find(conn);
    return it == sessions_.end() ? nullptr : &it->second;
}

Table* Room::tableField(std::string_view field)
{
    const auto id = parseInteger(field);
    if (!id || *id < 0 || *id >= static_cast<long>(tables_.size()))
        return nullptr;
    return tables_[static_cast<std::size_t>(*id)].get();
}

bool Room::nameMatches(const Session& s, std::string_view name) const
{
    return s.account != 0 && name.size() == s.name.size() && strncasecmp(name.data(), s.name.data(), name.size()) == 0;
}

std::optional<int> Room::seatedTable(AccountId account) const
{
    for (const auto& t : tables_) {
        if (t->seatOf(account))
            return t->id();
    }
    return std::nullopt;
}

Chips Room::inPlay(AccountId account) const
{
    Chips total = 0;
    for (const auto& t : tables_)
        total += t->stackOf(account);
    return total;
}

Chips Room::chipsOnTables() const
{
    Chips total = 0;
    for (const auto& t : tables_)
        total += t->chipsAtTable();
    return total;
}

RoomStats Room::stats() const
{
    RoomStats s;
    s.tables = static_cast<int>(tables_.size());
    for (const auto& [conn, session] : sessions_)
        s.persons += session.account != 0 ? 1 : 0;
    for (const auto& t : tables_)
        s.seatedBots += t->botCount();
    s.liveUsers = s.persons + s.seatedBots;
    s.hands = handsPlayed_;
    return s;
}

// ---- connections ----------------------------------------------------------

void Room::connected(ConnId conn)
{
    if (shutDown_) {
        output_.close(conn);
        return;
    }
    sessions_[conn];
}

void Room::disconnected(ConnId conn)
{
    Session* s = session(conn);
    if (!s)
        return;
    logout(*s);
    for (int t : s->watching)
        tables_[static_cast<std::size_t>(t)]->unwatch(conn);
    sessions_.erase(conn);
}

void Room::logout(Session& s)
{
    if (s.account == 0)
        return;
    for (const auto& t : tables_)
        t->leave(s.account);
    s.account = 0;
    s.name.clear();
}

void Room::handle(ConnId conn, std::string_view text)
{
    Session* s = session(conn);
    if (!s || shutDown_)
        return;
    const ClientLine line = parseClientLine(text);
    const std::vector<std::string_view>& f = line.fields;
    const auto field = [&](std::size_t i) { return i < f.size() ? f[i] : std::string_view{}; };
    // The seated player's own table and seat, for requests that name them.
    const auto mine = [&](std::string_view tableText) -> Table* {
        Table* t = tableField(tableText);
        return (t && s->account != 0 && t->seatOf(s->account)) ? t : nullptr;
    };
    const auto code = [&](std::size_t i) { return static_cast<int>(parseInteger(field(i)).value_or(-1)); };
    const auto forMine = [&](void (Table::*request)(AccountId)) {
        if (Table* t = mine(field(0)))
            (t->*request)(s->account);
    };

    switch (line.kind) {
    case Request::Unknown:
        return;
    case Request::Login:
        if (f.size() >= 2)
            login(conn, f[0], f[1]);
        return;
    case Request::Register:
        if (f.size() >= 3)
            registerPlayer(conn, f[0], f[1], f[2]);
        return;
    case Request::ListTables:
        listTables(conn);
        return;
    case Request::RequestPlayers: {
        const Table* t = tableField(field(0));
        send(conn, lines::playerList(t ? t->players() : std::vector<lines::ListedPlayer>{}));
        return;
    }
    case Request::WatchTable:
        if (Table* t = tableField(field(0))) {
            s->watching.insert(t->id());
            t->watch(conn, s->account);
        }
        return;
    case Request::CloseWindow:
        if (Table* t = tableField(field(0))) {
            if (s->account)
                t->leave(s->account);
            t->unwatch(conn);
            s->watching.erase(t->id());
        }
        return;
    case Request::JoinGame:
        join(conn, *s, f);
        return;
    case Request::AccountBalance:
        if (nameMatches(*s, field(0))) {
            if (const auto a = accounts_.get(s->account))
                send(conn, lines::yourMoney(a->balance, inPlay(s->account)));
        }
        return;
    case Request::QuickCashier:
        if (nameMatches(*s, field(0)))
            cashier(conn, *s);
        return;
    case Request::ReloadMoney:
        if (nameMatches(*s, field(0))) {
            accounts_.reload(s->account, inPlay(s->account), kReloadTarget);
            cashier(conn, *s);
        }
        return;
    case Request::Reply:
        if (Table* t = mine(field(0))) {
            const int reply = code(1);
            const Chips amount = reply == 5 ? parseMoney(field(2)).value_or(0) : 0;
            t->reply(s->account, reply, amount);
        }
        return;
    case Request::PostBigBlind:
    case Request::PostSmallBlind:
        if (Table* t = mine(field(0)))
            t->postBlind(s->account, code(1), line.kind == Request::PostBigBlind);
        return;
    case Request::NoPost:
        forMine(&Table::noPost);
        return;
    case Request::DealMeOut:
        forMine(&Table::dealMeOut);
        return;
    case Request::ImBack:
        forMine(&Table::imBack);
        return;
    case Request::BragOkay:
        forMine(&Table::bragOkay);
        return;
    case Request::ShowLost:
        if (Table* t = mine(field(0)))
            t->showLost(s->account, code(1));
        return;
    case Request::QuickChips:
        if (Table* t = mine(field(0))) {
            const auto amount = parseMoney(field(2));
            const auto a = accounts_.get(s->account);
            if (!amount || !a || *amount > a->balance) {
                send(conn, lines::systemMessage("Not enough play money in your account for those chips."));
            } else if (!t->quickChips(s->account, code(1), *amount)) {
                send(conn, lines::systemMessage("That would take you over the table's maximum buy-in of " +
                                                moneyText(t->config().maxBuyIn) + "."));
            }
        }
        return;
    case Request::SendMessage:
        chat(conn, *s, field(0), field(1), chatTextOf(line));
        return;
    case Request::Entropy:
        if (Table* t = tableField(field(0))) {
            if (const auto v = parseInteger(field(1)))
                t->mixEntropy(*v);
        }
        return;
    }
}

// ---- accounts ---------------------------------------------------------------

void Room::login(ConnId conn, std::string_view name, std::string_view password)
{
    Session* s = session(conn);
    if (s->authPending)
        return;
    const std::optional<Account> account = accounts_.find(name);
    if (!account || account->bot || !validPassword(password)) {
        send(conn, lines::loginFail());
        return;
    }
    s->authPending = true;
    passwords_.verify(account->passwordHash, std::string(password), [this, conn, id = account->id](bool ok) {
        Session* again = session(conn);
        if (!again)
            return;
        again->authPending = false;
        const std::optional<Account> a = accounts_.get(id);
        if (!ok || !a || shutDown_) {
            send(conn, lines::loginFail());
            return;
        }
        loggedIn(conn, *a);
    });
}

void Room::loggedIn(ConnId conn, const Account& account)
{
    // The newest login wins: an older connection of the same account ends.
    for (auto& [other, session] : sessions_) {
        if (other != conn && session.account == account.id) {
            logout(session);
            send(other, lines::closingMessage("You have logged in from another place."));
            output_.close(other);
        }
    }
    Session& s = *session(conn);
    if (s.account != account.id)
        logout(s);
    s.account = account.id;
    s.name = account.name;
    send(conn, lines::loginSuccess());
}

void Room::registerPlayer(ConnId conn, std::string_view name, std::string_view password, std::string_view email)
{
    Session* s = session(conn);
    if (s->authPending)
        return;
    if (!validScreenName(name) || reservedScreenName(name) || !validPassword(password) || !validEmail(email) ||
        email.size() > kMaxEmailLength) {
        send(conn, lines::regFail());
        return;
    }
    if (accounts_.find(name)) {
        send(conn, lines::regFail());
        return;
    }
    // The address is kept as the client's rule read it, without the blanks around it.
    std::string address(email);
    address.erase(0, address.find_first_not_of(" \t\n\r\v\f"));
    address.erase(address.find_last_not_of(" \t\n\r\v\f") + 1);
    s->authPending = true;
    passwords_.hash(std::string(password), [this, conn, n = std::string(name), address](std::string hash) {
        Session* again = session(conn);
        if (!again)
            return;
        again->authPending = false;
        switch (accounts_.create(n, address, hash, false)) {
        case CreateResult::Created:
            send(conn, lines::regSuccess());
            break;
        case CreateResult::NameTaken:
            send(conn, lines::regFail());
            break;
        case CreateResult::EmailTaken:
            send(conn, lines::regEmail());
            break;
        }
    });
}

void Room::cashier(ConnId conn, const Session& s)
{
    const auto a = accounts_.get(s.account);
    if (a)
        send(conn, lines::cashier(a->email.empty() ? "-" : a->email, a->balance, inPlay(s.account)));
}

// ---- lobby and tables -----------------------------------------------------

void Room::listTables(ConnId conn)
{
    std::vector<lines::ListedTable> listed;
    for (const auto& t : tables_)
        listed.push_back(t->listing());
    send(conn, lines::tableList(listed, serverTime(), stats().liveUsers));
}

void Room::join(ConnId conn, Session& s, const std::vector<std::string_view>& f)
{
    if (f.size() < 4 || !nameMatches(s, f[0]))
        return;
    Table* t = tableField(f[1]);
    const auto seat = parseInteger(f[2]);
    const auto amount = parseMoney(f[3]);
    if (!t || !seat || !amount)
        return;
    if (seatedTable(s.account)) {
        send(conn, lines::systemMessage("We are sorry, but you can only be seated at one table"));
        return;
    }
    s.watching.insert(t->id());
    Sitter who;
    who.account = s.account;
    who.name = s.name;
    who.conn = conn;
    switch (t->join(who, static_cast<int>(*seat), *amount)) {
    case JoinResult::Joined:
        return;
    case JoinResult::BadSeat:
        send(conn, lines::systemMessage("There is no such seat at this table."));
        return;
    case JoinResult::SeatTaken:
        send(conn, lines::systemMessage("Sorry, that seat has just been taken. Please choose another one."));
        return;
    case JoinResult::AlreadySeated:
        send(conn, lines::systemMessage("Please wait until your last hand at this table is over."));
        return;
    case JoinResult::BadAmount:
        send(conn, lines::systemMessage("The buy-in at this table is from " + moneyText(t->config().minBuyIn) +
                                        " to " + moneyText(t->config().maxBuyIn) + "."));
        return;
    case JoinResult::NoFunds:
        send(conn, lines::systemMessage("Not enough funds in account"));
        return;
    }
}

void Room::chat(ConnId conn, Session& s, std::string_view name, std::string_view tableText, std::string_view text)
{
    Table* t = tableField(tableText);
    if (!t || !nameMatches(s, name))
        return;
    const std::string clean = cleanChatText(text);
    if (clean.empty())
        return;
    const auto now = timers_.now();
    while (!s.chats.empty() && now - s.chats.front() > kChatWindow)
        s.chats.pop_front();
    if (s.chats.size() >= kChatBurst) {
        send(conn, lines::chat("Dealer", t->id(), "Please slow down, " + s.name + ": one line every two seconds."));
        return;
    }
    s.chats.push_back(now);
    t->chat(s.name, clean);
}

// ---- hands and bots ---------------------------------------------------------

void Room::handEnded(int table)
{
    ++handsPlayed_;
    if (settings_.handLimit > 0 && handsPlayed_ == settings_.handLimit && handLimitReached_) {
        // Not from inside the table that is finishing its hand.
        timers_.after(Millis(0), handLimitReached_);
    }
    crew_.handEnded(*tables_[static_cast<std::size_t>(table)]);
}

void Room::tableIdle(int table)
{
    crew_.tableIdle(table);
}

void Room::startBots()
{
    crew_.start();
}

void Room::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    crew_.stop();
    for (const auto& t : tables_)
        t->close();
    for (auto& [conn, s] : sessions_) {
        s.account = 0;
        send(conn, lines::closingMessage("The Tessaly house server is closing. Thank you for playing!"));
        output_.close(conn);
    }
}

} // namespace tessaly::house
