#include "server/game/SeatRoster.h"

#include "server/protocol/ServerLines.h"

#include <algorithm>

namespace tessaly::house {

Seat* SeatRoster::find(AccountId account)
{
    const auto s = seatOf(account);
    return s ? &*seats_[*s] : nullptr;
}

const Seat* SeatRoster::find(AccountId account) const
{
    return const_cast<SeatRoster*>(this)->find(account);
}

std::optional<int> SeatRoster::seatOf(AccountId account) const
{
    for (int i = 0; i < kMaxSeats; ++i) {
        if (seats_[i] && seats_[i]->account == account && !seats_[i]->leaving)
            return i;
    }
    return std::nullopt;
}

int SeatRoster::next(int from, const std::function<bool(int)>& pred) const
{
    for (int k = 1; k <= config_.seats; ++k) {
        const int s = (from + k) % config_.seats;
        if (pred(s))
            return s;
    }
    return -1;
}

bool SeatRoster::eligible(int s) const
{
    const auto& seat = seats_[s];
    return seat && !seat->leaving && !seat->sittingOut && seat->stack > 0;
}

bool SeatRoster::sittingOut(AccountId account) const
{
    const Seat* s = find(account);
    return s && (s->sittingOut || s->sitOutAfterHand);
}

Chips SeatRoster::stackOf(AccountId account) const
{
    const Seat* s = find(account);
    return s ? s->stack : 0;
}

std::optional<int> SeatRoster::freeSeat(RandomStream& random) const
{
    std::vector<int> free;
    for (int s = 0; s < config_.seats; ++s) {
        if (!seats_[s])
            free.push_back(s);
    }
    if (free.empty())
        return std::nullopt;
    return free[random.uniform(static_cast<std::uint32_t>(free.size()))];
}

std::vector<AccountId> SeatRoster::bots() const
{
    std::vector<AccountId> out;
    for (const auto& s : seats_) {
        if (s && !s->leaving && s->bot())
            out.push_back(s->account);
    }
    return out;
}

int SeatRoster::personCount() const
{
    int n = 0;
    for (const auto& s : seats_)
        n += (s && !s->leaving && !s->bot()) ? 1 : 0;
    return n;
}

int SeatRoster::seatedCount() const
{
    int n = 0;
    for (const auto& s : seats_)
        n += (s && !s->leaving) ? 1 : 0;
    return n;
}

Chips SeatRoster::stacks() const
{
    Chips total = 0;
    for (const auto& s : seats_) {
        if (s)
            total += s->stack;
    }
    return total;
}

std::vector<SeatStack> SeatRoster::stacksForBooks() const
{
    std::vector<SeatStack> out;
    for (const auto& s : seats_) {
        if (s && !s->leaving)
            out.push_back({s->account, s->stack});
    }
    return out;
}

JoinResult SeatRoster::sit(const Sitter& who, int seat, Chips amount)
{
    if (seat < 0 || seat >= config_.seats)
        return JoinResult::BadSeat;
    if (seats_[seat])
        return JoinResult::SeatTaken;
    // Leaving seats count too: the last hand's chips are not settled yet.
    for (const auto& s : seats_) {
        if (s && s->account == who.account)
            return JoinResult::AlreadySeated;
    }
    if (amount < config_.minBuyIn || amount > config_.maxBuyIn)
        return JoinResult::BadAmount;
    const int table = channel_.table();
    if (!channel_.accounts().sitDown(who.account, table, amount))
        return JoinResult::NoFunds;

    Seat s;
    s.account = who.account;
    s.name = who.name;
    s.conn = who.conn;
    s.style = who.style;
    s.stack = amount;
    seats_[seat] = std::move(s);
    if (who.conn) {
        channel_.watch(who.conn);
        channel_.sendTo(who.conn, lines::youJoined(table, seat, who.name, amount));
    }
    for (ConnId c : channel_.watchers()) {
        if (c != who.conn)
            channel_.sendTo(c, lines::joined(table, seat, who.name, amount));
    }
    return JoinResult::Joined;
}

void SeatRoster::standUp(int s)
{
    Seat& seat = *seats_[s];
    channel_.accounts().standUp(seat.account, channel_.table(), seat.stack);
    channel_.broadcast(lines::leftGame(channel_.table(), s));
    seats_[s].reset();
}

void SeatRoster::leaveInHand(int s)
{
    Seat& seat = *seats_[s];
    channel_.accounts().leaveInHand(seat.account, channel_.table(), seat.stack);
    seat.stack = 0;
    seat.pending = 0;
    seat.leaving = true;
    channel_.broadcast(lines::leftGame(channel_.table(), s));
}

void SeatRoster::dealOut(int s, bool stillInHand)
{
    Seat& seat = *seats_[s];
    if (seat.sittingOut)
        return;
    if (stillInHand)
        seat.sitOutAfterHand = true;
    else
        sitOutNow(s);
}

void SeatRoster::sitOutNow(int s)
{
    Seat& seat = *seats_[s];
    seat.sittingOut = true;
    seat.sitOutAfterHand = false;
    channel_.broadcast(lines::playerOut(channel_.table(), s));
}

bool SeatRoster::comeBack(AccountId account)
{
    const auto s = seatOf(account);
    if (!s)
        return false;
    Seat& seat = *seats_[*s];
    if (!seat.sittingOut && !seat.sitOutAfterHand)
        return false;
    if (seat.stack + seat.pending <= 0)
        return false;
    seat.sittingOut = false;
    seat.sitOutAfterHand = false;
    seat.timeouts = 0;
    channel_.broadcast(lines::playerReturned(channel_.table(), *s));
    return true;
}

bool SeatRoster::addChips(int s, Chips amount, bool dealtIn)
{
    Seat& seat = *seats_[s];
    if (amount <= 0 || seat.stack + seat.pending + amount > config_.maxBuyIn)
        return false;
    seat.pending += amount;
    if (!dealtIn)
        applyPending(s);
    return true;
}

void SeatRoster::applyPending(int s)
{
    Seat& seat = *seats_[s];
    if (seat.pending <= 0)
        return;
    const Chips room = std::max<Chips>(0, config_.maxBuyIn - seat.stack);
    const Chips moved = channel_.accounts().addChips(seat.account, channel_.table(), std::min(seat.pending, room));
    seat.pending = 0;
    if (moved > 0) {
        seat.stack += moved;
        channel_.broadcast(lines::userMoney(channel_.table(), s, seat.stack));
    }
}

int SeatRoster::readyForHand()
{
    for (int s = 0; s < config_.seats; ++s) {
        if (seats_[s]) {
            applyPending(s);
            if (!seats_[s]->sittingOut && seats_[s]->stack <= 0)
                sitOutNow(s);
        }
    }
    int ready = 0;
    for (int s = 0; s < config_.seats; ++s)
        ready += eligible(s) ? 1 : 0;
    return ready;
}

void SeatRoster::afterHand()
{
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!seats_[s])
            continue;
        Seat& seat = *seats_[s];
        if (seat.leaving) {
            seats_[s].reset();
            continue;
        }
        if (seat.sitOutAfterHand || (!seat.sittingOut && seat.stack <= 0))
            sitOutNow(s);
        seat.handsSatOut = seat.sittingOut ? seat.handsSatOut + 1 : 0;
        if (!seat.bot() && seat.handsSatOut >= kMaxHandsSittingOut) {
            // Away too long: the chair goes to someone who plays.
            channel_.sendTo(seat.conn, lines::clearAction(channel_.table()));
            channel_.dealerSays(seat.name + " has been sitting out too long and leaves the table");
            standUp(s);
        }
    }
}

void SeatRoster::standEveryoneUp()
{
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!seats_[s])
            continue;
        if (!seats_[s]->leaving)
            channel_.accounts().standUp(seats_[s]->account, channel_.table(), seats_[s]->stack);
        channel_.broadcast(lines::leftGame(channel_.table(), s));
        seats_[s].reset();
    }
}

} // namespace tessaly::house
