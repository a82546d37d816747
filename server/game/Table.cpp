#include "server/game/Table.h"

#include <cstring>

namespace tessaly::house {

Table::Table(int id, TableConfig config, TableHost& host, TableSettings settings, RandomStream random)
    : id_(id), config_(std::move(config)), host_(host), settings_(settings), random_(std::move(random)),
      botRandom_(random_.derive("bots")), channel_(id_, host_), roster_(config_, channel_),
      talk_(channel_, botRandom_), results_(config_, channel_, roster_, talk_),
      flow_(config_, settings_, channel_, roster_, results_, stats_, random_, botRandom_)
{
}

Table::~Table() = default;

// ---- watching and seats ---------------------------------------------------

void Table::watch(ConnId conn, AccountId viewer)
{
    channel_.watch(conn);
    const Hand* hand = flow_.hand();
    lines::InitSnapshot snap;
    for (int s = 0; s < config_.seats; ++s) {
        const Seat* seat = roster_.get(s);
        if (!seat || seat->leaving)
            continue;
        const Chips front = hand ? hand->p[s].inFront : 0;
        snap.players.push_back({seat->name, seat->stack, front, s,
                                seat->sittingOut ? lines::kSeatSittingOut : lines::kSeatPlaying});
    }
    if (snap.players.empty() && !hand) {
        host_.send(conn, lines::initEmpty(id_));
        return;
    }
    if (hand) {
        snap.phase = lines::kPhaseInHand;
        snap.dealer = hand->button;
        snap.acting = hand->waiting == Waiting::Action ? hand->actor : lines::kNoSeat;
        for (std::size_t i = 0; i < hand->board.size() && i < 5; ++i)
            snap.board[i] = hand->board[i];
        Chips inPots = 0;
        for (const InHand& p : hand->p)
            inPots += p.total - p.inFront;
        snap.mainPot = inPots;
    } else if (flow_.button() >= 0) {
        snap.dealer = flow_.button();
    }
    host_.send(conn, lines::init(id_, snap));
    if (hand && viewer) {
        if (const auto s = seatOf(viewer); s && hand->p[*s].live())
            host_.send(conn, lines::yourCards(id_, *s, hand->p[*s].cards[0], hand->p[*s].cards[1]));
    }
}

void Table::unwatch(ConnId conn)
{
    channel_.unwatch(conn);
}

JoinResult Table::join(const Sitter& who, int seat, Chips amount)
{
    if (flow_.closed())
        return JoinResult::BadSeat;
    const JoinResult result = roster_.sit(who, seat, amount);
    if (result != JoinResult::Joined)
        return result;
    if (who.conn == 0)
        talk_.say(who.name, BotMood::SatDown);
    flow_.playersChanged();
    return result;
}

void Table::leave(AccountId account)
{
    const auto s = seatOf(account);
    if (!s)
        return;
    if (flow_.dealtIn(*s))
        flow_.leave(*s);
    else
        roster_.standUp(*s);
}

// ---- requests ---------------------------------------------------------------

void Table::reply(AccountId account, int code, Chips amount)
{
    if (const auto s = seatOf(account))
        flow_.reply(*s, code, amount);
}

void Table::postBlind(AccountId account, int seat, bool big)
{
    if (const auto s = seatOf(account); s && *s == seat)
        flow_.postBlind(seat, big);
}

void Table::noPost(AccountId account)
{
    const auto s = seatOf(account);
    if (!s || flow_.refuseBlindAsked(*s))
        return;
    dealMeOut(account);
}

void Table::dealMeOut(AccountId account)
{
    if (const auto s = seatOf(account))
        roster_.dealOut(*s, flow_.live(*s));
}

void Table::imBack(AccountId account)
{
    if (roster_.comeBack(account))
        flow_.playersChanged();
}

void Table::bragOkay(AccountId account)
{
    results_.bragOkay(account);
}

void Table::showLost(AccountId account, int seat)
{
    results_.showLost(account, seat);
}

bool Table::quickChips(AccountId account, int seat, Chips amount)
{
    const auto s = seatOf(account);
    return s && *s == seat && roster_.addChips(seat, amount, flow_.dealtIn(seat));
}

void Table::chat(std::string_view sender, std::string_view text)
{
    channel_.chat(sender, text);
}

void Table::mixEntropy(long value)
{
    if (!settings_.mixEntropy)
        return;
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    random_.mix(bytes);
}

void Table::close()
{
    flow_.close();
    roster_.standEveryoneUp();
}

// ---- what the room and the lobby see -----------------------------------------

std::optional<int> Table::seatOf(AccountId account) const { return roster_.seatOf(account); }
bool Table::sittingOut(AccountId account) const { return roster_.sittingOut(account); }
Chips Table::stackOf(AccountId account) const { return roster_.stackOf(account); }
std::optional<int> Table::freeSeat(RandomStream& random) const { return roster_.freeSeat(random); }
int Table::botCount() const { return static_cast<int>(roster_.bots().size()); }
int Table::personCount() const { return roster_.personCount(); }
std::vector<AccountId> Table::bots() const { return roster_.bots(); }
Chips Table::chipsAtTable() const { return flow_.potTotal() + roster_.stacks(); }

lines::ListedTable Table::listing() const
{
    return stats_.listing(config_, roster_.seatedCount(), host_.timers().now());
}

std::vector<lines::ListedPlayer> Table::players() const
{
    return listedPlayers(roster_, config_.seats);
}

} // namespace tessaly::house
