#include "server/game/HandResults.h"

#include "server/protocol/Money.h"
#include "server/protocol/ServerLines.h"

#include <algorithm>
#include <numeric>

namespace tessaly::house {

Chips HandResults::showdown(Hand& h)
{
    const int t = channel_.table();
    const ShowdownResult r = settleShowdown(h.holeCards(), h.totals(), h.live(), h.board, h.button);

    std::vector<std::string> winLines;
    for (const Award& a : r.awards) {
        std::string line = roster_.at(a.seat).name + " wins " + moneyText(a.amount) + " chips with " +
                           describeHand(r.value[a.seat]);
        if (r.pots > 1)
            line += a.pot == 0 ? " (main pot)" : " (side pot " + std::to_string(a.pot) + ")";
        winLines.push_back(std::move(line));
    }

    // Winners turn their cards up; the others muck, or are asked.
    for (int k = 1; k <= config_.seats; ++k) {
        const int s = (h.button + k) % config_.seats;
        if (!h.p[s].live())
            continue;
        Seat& seat = roster_.at(s);
        last_.cards[s] = h.p[s].cards;
        if (r.won[s] > 0 || h.p[s].shown) {
            if (!h.p[s].shown)
                channel_.broadcast(lines::someCards(t, s, h.p[s].cards[0], h.p[s].cards[1]));
            h.p[s].shown = true;
            if (r.won[s] == 0)
                channel_.dealerSays(seat.name + " looses with " + describeHand(r.value[s]));
        } else if (!seat.bot()) {
            last_.mayShowLost.insert(seat.account);
            channel_.sendTo(seat.conn, lines::muckShow(t));
        }
    }
    for (const std::string& line : winLines)
        channel_.dealerSays(line);
    for (int s = 0; s < kMaxSeats; ++s) {
        if (r.won[s] == 0)
            continue;
        Seat& seat = roster_.at(s);
        seat.stack += r.won[s];
        channel_.broadcast(lines::userMoney(t, s, seat.stack));
        channel_.sendTo(seat.conn, lines::youWin(t));
        talk_.afterWin(seat, r.won[s], config_.bigBlind);
    }
    for (int s = 0; s < kMaxSeats; ++s) {
        if (h.p[s].live() && r.won[s] == 0)
            talk_.afterLoss(roster_.at(s), h.p[s].total, config_.bigBlind);
    }
    for (InHand& p : h.p)
        p.total = 0;
    h.potsShown = std::max<std::size_t>(h.potsShown, 1);
    channel_.broadcast(lines::pots(t, std::vector<Chips>(h.potsShown, 0)));
    return std::accumulate(r.won.begin(), r.won.end(), Chips(0));
}

Chips HandResults::awardUncontested(Hand& h, int s)
{
    const int t = channel_.table();
    const Chips pot = h.potTotal();
    for (InHand& p : h.p) {
        p.total = 0;
        p.inFront = 0;
    }
    Seat& seat = roster_.at(s);
    seat.stack += pot;
    channel_.broadcast(lines::userMoney(t, s, seat.stack));
    h.potsShown = std::max<std::size_t>(h.potsShown, 1);
    channel_.broadcast(lines::pots(t, std::vector<Chips>(h.potsShown, 0)));
    channel_.dealerSays(seat.name + " wins " + moneyText(pot) + " chips");
    if (!seat.bot()) {
        channel_.sendTo(seat.conn, lines::youWin(t));
        channel_.sendTo(seat.conn, lines::youBrag(t));
        last_.bragger = seat.account;
        last_.cards[s] = h.p[s].cards;
    } else if (talk_.showsUncalledHand()) {
        showCards(s, h.p[s].cards);
    }
    return pot;
}

void HandResults::bragOkay(AccountId account)
{
    if (account == 0 || last_.bragger != account)
        return;
    const auto s = roster_.seatOf(account);
    last_.bragger = 0;
    if (s)
        showCards(*s, last_.cards[*s]);
}

void HandResults::showLost(AccountId account, int seat)
{
    const auto s = roster_.seatOf(account);
    if (!s || *s != seat || last_.mayShowLost.erase(account) == 0)
        return;
    showCards(*s, last_.cards[*s]);
}

void HandResults::showCards(int s, const std::array<int, 2>& cards)
{
    channel_.broadcast(lines::someCards(channel_.table(), s, cards[0], cards[1]));
    channel_.dealerSays(roster_.at(s).name + " shows " + cardsText({cards[0], cards[1]}));
}

} // namespace tessaly::house
