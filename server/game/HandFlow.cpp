#include "server/game/HandFlow.h"

#include "server/protocol/Money.h"
#include "server/protocol/ServerLines.h"

#include <algorithm>

namespace tessaly::house {
namespace {

// Dealer pauses in milliseconds; --fast makes them all 0.
constexpr int kFirstHandPause = 1500;
constexpr int kNextHandPause = 2500;
constexpr int kShowdownPause = 5000;
constexpr int kStreetPause = 900;
constexpr int kRunoutPause = 1600;
constexpr int kDealPause = 600;
constexpr int kBotThinkMin = 700;
constexpr int kBotThinkMax = 2200;

} // namespace

HandFlow::HandFlow(const TableConfig& config, const TableSettings& settings, TableChannel& channel, SeatRoster& roster,
                   HandResults& results, TableStats& stats, RandomStream& random, RandomStream& botRandom)
    : config_(config), settings_(settings), channel_(channel), roster_(roster), results_(results), stats_(stats),
      random_(random), botRandom_(botRandom), timers_(channel.host().timers()), dealerTimer_(timers_),
      turnTimer_(timers_), wakeTimer_(timers_)
{
}

Millis HandFlow::pause(int ms) const
{
    return settings_.fast ? Millis(0) : Millis(ms * settings_.pacePercent / 100);
}

void HandFlow::stopTimers()
{
    turnTimer_.stop();
    wakeTimer_.stop();
    dealerTimer_.stop();
}

bool HandFlow::needsToAct(int s) const
{
    const InHand& p = hand_->p[s];
    return p.live() && !p.allIn && (p.actedLevel < hand_->raiseLevel || p.inFront < hand_->currentBet);
}

BetOptions HandFlow::optionsFor(int s) const
{
    const Hand& h = *hand_;
    const InHand& p = h.p[s];
    BetSituation b;
    b.type = config_.type;
    b.bigBlind = config_.bigBlind;
    b.bigStreet = h.street >= 2;
    b.stack = roster_.at(s).stack;
    b.inFront = p.inFront;
    b.currentBet = h.currentBet;
    b.lastRaise = h.lastRaise;
    b.potTotal = h.potTotal();
    b.betsThisRound = h.betsThisRound;
    b.raiseReopened = p.actedLevel < h.raiseLevel;
    b.opponentCanAct = false;
    for (int o = 0; o < kMaxSeats; ++o) {
        if (o != s && h.p[o].live() && !h.p[o].allIn)
            b.opponentCanAct = true;
    }
    return betOptions(b);
}

// ---- requests ---------------------------------------------------------------

void HandFlow::playersChanged()
{
    if (!hand_)
        scheduleHand(pause(kFirstHandPause));
}

void HandFlow::reply(int s, int code, Chips amount)
{
    if (!hand_ || hand_->waiting != Waiting::Action || hand_->actor != s)
        return;
    roster_.at(s).timeouts = 0;
    act(s, legalAction(optionsFor(s), code, amount));
}

void HandFlow::postBlind(int s, bool big)
{
    if (!hand_ || hand_->actor != s)
        return;
    if (hand_->waiting != (big ? Waiting::BigBlind : Waiting::SmallBlind))
        return;
    roster_.at(s).timeouts = 0;
    postBlindAt(s, big);
}

bool HandFlow::refuseBlindAsked(int s)
{
    if (!hand_ || hand_->actor != s || (hand_->waiting != Waiting::SmallBlind && hand_->waiting != Waiting::BigBlind))
        return false;
    refuseBlind(s);
    return true;
}

void HandFlow::leave(int s)
{
    Hand& h = *hand_;
    const Waiting waited = h.waiting;
    const bool wasActor = h.actor == s && waited != Waiting::Nothing;
    if (h.p[s].live()) {
        h.p[s].folded = true;
        channel_.broadcast(lines::history(channel_.table(), s, lines::History::Fold, 0, roster_.at(s).stack));
    }
    roster_.leaveInHand(s);
    const bool blinds = waited == Waiting::SmallBlind || waited == Waiting::BigBlind;
    if (blinds) {
        if (wasActor)
            refuseBlind(s);
        return;
    }
    if (h.liveCount() < 2) {
        stopTimers();
        endRound();
        return;
    }
    if (wasActor) {
        turnTimer_.stop();
        wakeTimer_.stop();
        h.waiting = Waiting::Nothing;
        promptFrom(s);
    }
}

// ---- blinds and cards -------------------------------------------------------

void HandFlow::scheduleHand(Millis delay)
{
    if (closed_ || hand_ || dealerTimer_.active())
        return;
    dealerTimer_.start(delay, [this] { startHand(); });
}

void HandFlow::startHand()
{
    if (closed_ || hand_)
        return;
    results_.forget();
    if (roster_.readyForHand() < 2) {
        channel_.host().tableIdle(channel_.table()); // a sit-down or a return starts the next hand
        return;
    }

    const int t = channel_.table();
    hand_.emplace();
    Hand& h = *hand_;
    h.number = channel_.host().nextHandNumber();
    h.deck = shuffledDeck(random_);
    h.lastRaise = config_.bigBlind;
    button_ = roster_.next(button_ < 0 ? static_cast<int>(random_.uniform(static_cast<std::uint32_t>(config_.seats)))
                                       : button_,
                           [this](int s) { return roster_.eligible(s); });
    h.button = button_;

    std::vector<lines::SeatStateEntry> states;
    for (int s = 0; s < config_.seats; ++s) {
        const Seat* seat = roster_.get(s);
        if (!seat || seat->leaving)
            continue;
        h.p[s].dealt = roster_.eligible(s);
        h.playersDealt += h.p[s].dealt ? 1 : 0;
        states.push_back({s, h.p[s].dealt ? lines::kSeatPlaying : lines::kSeatSittingOut});
    }
    channel_.broadcast(lines::cleanTable(t));
    channel_.dealerSays(std::to_string(h.number) + " hand starting");
    channel_.broadcast(lines::newHand(t, states));
    channel_.broadcast(lines::dealer(t, h.button));

    const auto dealt = [&](int s) { return h.p[s].dealt; };
    h.smallBlind = h.playersDealt == 2 ? h.button : roster_.next(h.button, dealt);
    h.bigBlind = roster_.next(h.smallBlind, dealt);
    askBlind(Waiting::SmallBlind);
}

void HandFlow::askBlind(Waiting which)
{
    Hand& h = *hand_;
    const bool big = which == Waiting::BigBlind;
    const int s = big ? h.bigBlind : h.smallBlind;
    const Seat& seat = roster_.at(s);
    h.actor = s;
    h.waiting = which;
    if (seat.bot()) {
        postBlindAt(s, big);
        return;
    }
    const int t = channel_.table();
    channel_.sendTo(seat.conn, big ? lines::askBigBlind(t, config_.bigBlind) : lines::askSmallBlind(t, config_.smallBlind));
    turnTimer_.start(settings_.turnTimeout, [this, s] { refuseBlind(s); });
}

void HandFlow::postBlindAt(int s, bool big)
{
    turnTimer_.stop();
    Hand& h = *hand_;
    Seat& seat = roster_.at(s);
    InHand& p = h.p[s];
    const int t = channel_.table();
    const Chips amount = std::min(seat.stack, big ? config_.bigBlind : config_.smallBlind);
    seat.stack -= amount;
    p.inFront += amount;
    p.total += amount;
    p.allIn = seat.stack == 0;
    h.waiting = Waiting::Nothing;
    channel_.broadcast(lines::history(t, s, lines::History::InFront, p.inFront, seat.stack));
    channel_.broadcast(lines::userMoney(t, s, seat.stack));
    channel_.dealerSays(seat.name + (big ? " posts the big blind of " : " posts the small blind of ") + moneyText(amount));
    if (!big) {
        askBlind(Waiting::BigBlind);
        return;
    }
    // The whole big blind is to be called, even when its poster is short.
    h.currentBet = config_.bigBlind;
    h.betsThisRound = 1;
    dealHoleCards();
}

void HandFlow::refuseBlind(int s)
{
    turnTimer_.stop();
    Hand& h = *hand_;
    const bool big = h.waiting == Waiting::BigBlind;
    h.waiting = Waiting::Nothing;
    h.p[s].dealt = false;
    --h.playersDealt;
    if (const Seat* seat = roster_.get(s); seat && !seat->leaving)
        roster_.sitOutNow(s);
    if (h.playersDealt < 2) {
        cancelHand();
        return;
    }
    if (!big) {
        h.smallBlind = -1;
        askBlind(Waiting::BigBlind);
        return;
    }
    // The next player in the hand who has not posted takes the big blind.
    const int next = roster_.next(s, [&](int o) { return h.p[o].dealt && o != h.smallBlind; });
    if (next < 0) {
        cancelHand();
        return;
    }
    h.bigBlind = next;
    askBlind(Waiting::BigBlind);
}

void HandFlow::dealHoleCards()
{
    Hand& h = *hand_;
    channel_.dealerSays("Dealing down hole cards");
    for (int round = 0; round < 2; ++round) {
        for (int k = 1; k <= config_.seats; ++k) {
            const int s = (h.button + k) % config_.seats;
            if (h.p[s].dealt)
                h.p[s].cards[round] = h.deck[h.nextCard++];
        }
    }
    for (int s = 0; s < config_.seats; ++s) {
        if (h.p[s].dealt)
            channel_.sendTo(roster_.at(s).conn, lines::yourCards(channel_.table(), s, h.p[s].cards[0], h.p[s].cards[1]));
    }
    const int first = h.playersDealt == 2 && h.smallBlind >= 0
                          ? h.smallBlind
                          : roster_.next(h.bigBlind, [&](int o) { return h.p[o].dealt; });
    dealerTimer_.start(pause(kDealPause), [this, first] { startRound(first); });
}

// ---- betting ----------------------------------------------------------------

void HandFlow::startRound(int first)
{
    // Start just before the first seat to act.
    promptFrom((first - 1 + config_.seats) % config_.seats);
}

void HandFlow::promptFrom(int after)
{
    if (hand_->liveCount() < 2) {
        endRound();
        return;
    }
    const int s = roster_.next(after, [this](int o) { return needsToAct(o); });
    if (s < 0) {
        endRound();
        return;
    }
    prompt(s);
}

void HandFlow::prompt(int s)
{
    Hand& h = *hand_;
    const Seat& seat = roster_.at(s);
    const int t = channel_.table();
    h.actor = s;
    h.waiting = Waiting::Action;
    channel_.broadcast(lines::onButton(t, s, seat.stack));
    if (seat.bot()) {
        const Millis think = settings_.fast ? Millis(0) : pause(botRandom_.between(kBotThinkMin, kBotThinkMax));
        dealerTimer_.start(think, [this, s] { botTurn(s); });
        return;
    }
    const BetOptions o = optionsFor(s);
    switch (promptKind(o)) {
    case PromptKind::CheckOrBet:
        channel_.sendTo(seat.conn, lines::actionCheckOrBet(t, o.mayRaise ? o.minRaiseTo : o.allIn));
        break;
    case PromptKind::AllInOrFold:
        channel_.sendTo(seat.conn, lines::actionAllInOrFold(t));
        break;
    case PromptKind::CallOrRaise:
        channel_.sendTo(seat.conn, lines::actionCallOrRaise(t, o.toCall, o.minRaiseTo));
        break;
    case PromptKind::CallOrAllIn:
        channel_.sendTo(seat.conn, lines::actionCallOrAllIn(t, o.toCall));
        break;
    }
    turnTimer_.start(settings_.turnTimeout, [this, s] { turnTimedOut(s); });
    wakeTimer_.start(settings_.turnTimeout / 2, [this, s] {
        if (hand_ && hand_->actor == s && roster_.get(s))
            channel_.sendTo(roster_.at(s).conn, lines::wakeUp(channel_.table()));
    });
}

void HandFlow::botTurn(int s)
{
    Hand& h = *hand_;
    BotView view;
    view.type = config_.type;
    view.hole = h.p[s].cards;
    view.board = h.board;
    view.opponents = h.liveCount() - 1;
    view.pot = h.potTotal();
    view.currentBet = h.currentBet;
    view.bigBlind = config_.bigBlind;
    view.options = optionsFor(s);
    const BotReply r = decideBot(view, roster_.at(s).style, botRandom_);
    act(s, legalAction(view.options, r.code, r.amount));
}

void HandFlow::turnTimedOut(int s)
{
    Seat& seat = roster_.at(s);
    ++seat.timeouts;
    // Withdraws the prompt that is still on the player's screen.
    channel_.broadcast(lines::playerReturned(channel_.table(), s));
    const BetOptions o = optionsFor(s);
    if (seat.timeouts >= 2) {
        seat.sitOutAfterHand = true;
        act(s, Action{ActionType::Fold, 0});
        return;
    }
    act(s, Action{o.toCall == 0 ? ActionType::Check : ActionType::Fold, 0});
}

void HandFlow::act(int s, Action action)
{
    turnTimer_.stop();
    wakeTimer_.stop();
    Hand& h = *hand_;
    Seat& seat = roster_.at(s);
    InHand& p = h.p[s];
    const int t = channel_.table();
    h.waiting = Waiting::Nothing;
    switch (action.type) {
    case ActionType::Fold:
        p.folded = true;
        channel_.broadcast(lines::history(t, s, lines::History::Fold, 0, seat.stack));
        break;
    case ActionType::Check:
        channel_.broadcast(lines::history(t, s, lines::History::Check, 0, seat.stack));
        break;
    case ActionType::Call: {
        const Chips add = std::min(seat.stack, std::max<Chips>(0, h.currentBet - p.inFront));
        seat.stack -= add;
        p.inFront += add;
        p.total += add;
        p.allIn = seat.stack == 0;
        channel_.broadcast(p.allIn ? lines::history(t, s, lines::History::AllIn, p.inFront, 0)
                                   : lines::history(t, s, lines::History::Call, p.inFront, seat.stack));
        break;
    }
    case ActionType::Raise: {
        const Chips to = std::min(action.raiseTo, seat.stack + p.inFront);
        const Chips add = to - p.inFront;
        const Chips raise = to - h.currentBet;
        seat.stack -= add;
        p.inFront = to;
        p.total += add;
        p.allIn = seat.stack == 0;
        const bool full = config_.type == GameType::FixedLimit
                              ? raise >= (h.street >= 2 ? 2 : 1) * config_.bigBlind
                              : raise >= h.lastRaise;
        if (full) {
            h.lastRaise = std::max(h.lastRaise, raise);
            ++h.raiseLevel;
            ++h.betsThisRound;
        }
        h.currentBet = std::max(h.currentBet, to);
        channel_.broadcast(p.allIn ? lines::history(t, s, lines::History::AllIn, p.inFront, 0)
                                   : lines::history(t, s, lines::History::Raise, p.inFront, seat.stack));
        break;
    }
    }
    p.actedLevel = h.raiseLevel;
    promptFrom(s);
}

void HandFlow::endRound()
{
    Hand& h = *hand_;
    h.waiting = Waiting::Nothing;
    h.actor = -1;
    returnUncalled();
    if (h.liveCount() == 1) {
        const int winner = roster_.next(h.button, [&](int s) { return h.p[s].live(); });
        const Chips pot = results_.awardUncontested(h, winner);
        stats_.record(timers_.now(), pot, h.sawFlop);
        finishHand(pause(kNextHandPause));
        return;
    }
    sendPots();
    for (InHand& p : h.p) {
        p.inFront = 0;
        p.actedLevel = -1;
    }
    h.currentBet = 0;
    h.lastRaise = config_.bigBlind;
    h.raiseLevel = 0;
    h.betsThisRound = 0;
    advanceStreet();
}

void HandFlow::returnUncalled()
{
    Hand& h = *hand_;
    const auto uncalled = uncalledBet(h.inFront());
    if (!uncalled || !roster_.get(uncalled->seat))
        return;
    const int top = uncalled->seat;
    const Chips back = uncalled->amount;
    InHand& p = h.p[top];
    p.inFront -= back;
    p.total -= back;
    Seat& seat = roster_.at(top);
    if (seat.leaving) {
        // The chips go to the account of a player who has already left.
        channel_.accounts().leaveInHand(seat.account, channel_.table(), back);
    } else {
        seat.stack += back;
        p.allIn = false;
        channel_.broadcast(lines::userMoney(channel_.table(), top, seat.stack));
    }
    channel_.dealerSays("Uncalled bet of " + moneyText(back) + " returned to " + seat.name);
}

void HandFlow::sendPots()
{
    Hand& h = *hand_;
    std::vector<Chips> amounts;
    for (const Pot& pot : buildPots(h.totals(), h.live()))
        amounts.push_back(pot.amount);
    // Pots shown before and now empty must be cleared on the client.
    while (amounts.size() < h.potsShown)
        amounts.push_back(0);
    h.potsShown = std::max(h.potsShown, amounts.size());
    if (!amounts.empty())
        channel_.broadcast(lines::pots(channel_.table(), amounts));
}

// ---- streets ----------------------------------------------------------------

void HandFlow::advanceStreet()
{
    Hand& h = *hand_;
    if (h.street == 3) {
        const Chips won = results_.showdown(h);
        stats_.record(timers_.now(), won, h.sawFlop);
        finishHand(pause(kShowdownPause));
        return;
    }
    const bool runout = h.canActCount() < 2;
    if (runout)
        showAllLive();
    dealerTimer_.start(pause(runout ? kRunoutPause : kStreetPause), [this] { dealStreet(); });
}

void HandFlow::showAllLive()
{
    Hand& h = *hand_;
    if (h.allInShown)
        return;
    h.allInShown = true;
    for (int s = 0; s < kMaxSeats; ++s) {
        if (h.p[s].live() && !h.p[s].shown) {
            h.p[s].shown = true;
            channel_.broadcast(lines::someCards(channel_.table(), s, h.p[s].cards[0], h.p[s].cards[1]));
        }
    }
}

void HandFlow::dealStreet()
{
    Hand& h = *hand_;
    const int t = channel_.table();
    ++h.street;
    if (h.street == 1) {
        h.sawFlop = true;
        for (int i = 0; i < 3; ++i)
            h.board.push_back(h.deck[h.nextCard++]);
        channel_.broadcast(lines::flop(t, h.board[0], h.board[1], h.board[2]));
        channel_.dealerSays("The flop: " + cardsText(h.board));
    } else {
        const int card = h.deck[h.nextCard++];
        h.board.push_back(card);
        channel_.broadcast(lines::turnOrRiver(t, h.street == 2 ? lines::kTurn : lines::kRiver, card));
        channel_.dealerSays(std::string(h.street == 2 ? "The turn: " : "The river: ") + cardsText({card}));
    }
    if (h.canActCount() >= 2) {
        startRound(roster_.next(h.button, [&](int s) { return h.p[s].live() && !h.p[s].allIn; }));
        return;
    }
    advanceStreet();
}

// ---- the end of a hand ------------------------------------------------------

void HandFlow::refundHand()
{
    Hand& h = *hand_;
    for (int s = 0; s < kMaxSeats; ++s) {
        InHand& p = h.p[s];
        Seat* seat = roster_.get(s);
        if (p.total == 0 || !seat)
            continue;
        if (seat->leaving) {
            channel_.accounts().leaveInHand(seat->account, channel_.table(), p.total);
        } else {
            seat->stack += p.total;
            channel_.broadcast(lines::userMoney(channel_.table(), s, seat->stack));
        }
        p.total = 0;
        p.inFront = 0;
    }
    if (h.potsShown > 0)
        channel_.broadcast(lines::pots(channel_.table(), std::vector<Chips>(h.potsShown, 0)));
}

void HandFlow::cancelHand()
{
    refundHand();
    channel_.dealerSays("Not enough players: the hand is cancelled");
    finishHand(pause(kNextHandPause));
}

void HandFlow::finishHand(Millis delay)
{
    stopTimers();
    channel_.accounts().handEnded(channel_.table(), roster_.stacksForBooks(), hand_->number);
    hand_.reset();
    roster_.afterHand();
    channel_.host().handEnded(channel_.table());
    scheduleHand(delay);
}

void HandFlow::close()
{
    closed_ = true;
    stopTimers();
    if (hand_) {
        refundHand();
        channel_.dealerSays("The house is closing: every bet of this hand is returned");
        channel_.accounts().handEnded(channel_.table(), {}, hand_->number);
        hand_.reset();
    }
}

} // namespace tessaly::house
