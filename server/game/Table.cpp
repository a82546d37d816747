#include "server/game/Table.h"

#include "server/poker/Cards.h"
#include "server/poker/HandEvaluator.h"
#include "server/protocol/Money.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tessaly::house {
namespace {

constexpr const char* kDealer = "Dealer";
constexpr int kRecentHands = 20;

// Dealer pauses in milliseconds; --fast makes them all 0.
constexpr int kFirstHandPause = 1500;
constexpr int kNextHandPause = 2500;
constexpr int kShowdownPause = 5000;
constexpr int kStreetPause = 900;
constexpr int kRunoutPause = 1600;
constexpr int kDealPause = 600;
constexpr int kBotThinkMin = 700;
constexpr int kBotThinkMax = 2200;

std::string cardsText(const std::vector<int>& cards)
{
    std::string out;
    for (int c : cards) {
        if (!out.empty())
            out += ' ';
        out += cardChatText(c);
    }
    return out;
}

} // namespace

Table::Table(int id, TableConfig config, TableHost& host, TableSettings settings, RandomStream random)
    : id_(id), config_(std::move(config)), host_(host), settings_(settings), random_(std::move(random)),
      botRandom_(random_.derive("bots")), dealerTimer_(host.timers()), turnTimer_(host.timers()),
      wakeTimer_(host.timers())
{
}

Table::~Table() = default;
Table::Seat::Seat() = default;
Table::Hand::Hand() = default;

// ---- helpers ---------------------------------------------------------------

void Table::broadcast(const std::string& line)
{
    for (ConnId c : watchers_)
        host_.send(c, line);
}

void Table::sendTo(const Seat& seat, const std::string& line)
{
    if (!seat.bot())
        host_.send(seat.conn, line);
}

void Table::dealerSays(const std::string& text)
{
    broadcast(lines::chat(kDealer, id_, text));
}

Table::Seat* Table::seatFor(AccountId account)
{
    for (auto& s : seats_) {
        if (s && s->account == account && !s->leaving)
            return &*s;
    }
    return nullptr;
}

const Table::Seat* Table::seatFor(AccountId account) const
{
    return const_cast<Table*>(this)->seatFor(account);
}

int Table::seatIndex(const Seat* seat) const
{
    for (int i = 0; i < kMaxSeats; ++i) {
        if (seats_[i] && &*seats_[i] == seat)
            return i;
    }
    return -1;
}

int Table::nextSeat(int from, const std::function<bool(int)>& pred) const
{
    for (int k = 1; k <= config_.seats; ++k) {
        const int s = (from + k) % config_.seats;
        if (pred(s))
            return s;
    }
    return -1;
}

bool Table::eligible(int s) const
{
    const auto& seat = seats_[s];
    return seat && !seat->leaving && !seat->sittingOut && seat->stack > 0;
}

std::optional<int> Table::seatOf(AccountId account) const
{
    const Seat* s = seatFor(account);
    if (!s)
        return std::nullopt;
    return seatIndex(s);
}

bool Table::sittingOut(AccountId account) const
{
    const Seat* s = seatFor(account);
    return s && (s->sittingOut || s->sitOutAfterHand);
}

Chips Table::stackOf(AccountId account) const
{
    const Seat* s = seatFor(account);
    return s ? s->stack : 0;
}

std::optional<int> Table::freeSeat(RandomStream& random) const
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

int Table::botCount() const
{
    return static_cast<int>(bots().size());
}

int Table::personCount() const
{
    int n = 0;
    for (const auto& s : seats_)
        n += (s && !s->leaving && !s->bot()) ? 1 : 0;
    return n;
}

std::vector<AccountId> Table::bots() const
{
    std::vector<AccountId> out;
    for (const auto& s : seats_) {
        if (s && !s->leaving && s->bot())
            out.push_back(s->account);
    }
    return out;
}

bool Table::needsToAct(int s) const
{
    const InHand& p = hand_->p[s];
    return p.live() && !p.allIn && (p.actedLevel < hand_->raiseLevel || p.inFront < hand_->currentBet);
}

int Table::liveCount() const
{
    int n = 0;
    for (const InHand& p : hand_->p)
        n += p.live() ? 1 : 0;
    return n;
}

int Table::canActCount() const
{
    int n = 0;
    for (const InHand& p : hand_->p)
        n += (p.live() && !p.allIn) ? 1 : 0;
    return n;
}

Chips Table::potTotal() const
{
    Chips total = 0;
    for (const InHand& p : hand_->p)
        total += p.total;
    return total;
}

Chips Table::chipsAtTable() const
{
    Chips total = hand_ ? potTotal() : 0;
    for (const auto& s : seats_) {
        if (s)
            total += s->stack;
    }
    return total;
}

BetOptions Table::optionsFor(int s) const
{
    const Hand& h = *hand_;
    const InHand& p = h.p[s];
    BetSituation b;
    b.type = config_.type;
    b.bigBlind = config_.bigBlind;
    b.bigStreet = h.street >= 2;
    b.stack = seats_[s]->stack;
    b.inFront = p.inFront;
    b.currentBet = h.currentBet;
    b.lastRaise = h.lastRaise;
    b.potTotal = potTotal();
    b.betsThisRound = h.betsThisRound;
    b.raiseReopened = p.actedLevel < h.raiseLevel;
    b.opponentCanAct = false;
    for (int o = 0; o < kMaxSeats; ++o) {
        if (o != s && h.p[o].live() && !h.p[o].allIn)
            b.opponentCanAct = true;
    }
    return betOptions(b);
}

// ---- watching and seats ---------------------------------------------------

void Table::watch(ConnId conn, AccountId viewer)
{
    watchers_.insert(conn);
    lines::InitSnapshot snap;
    for (int s = 0; s < config_.seats; ++s) {
        const auto& seat = seats_[s];
        if (!seat || seat->leaving)
            continue;
        const Chips front = hand_ ? hand_->p[s].inFront : 0;
        snap.players.push_back({seat->name, seat->stack, front, s,
                                seat->sittingOut ? lines::kSeatSittingOut : lines::kSeatPlaying});
    }
    if (snap.players.empty() && !hand_) {
        host_.send(conn, lines::initEmpty(id_));
        return;
    }
    if (hand_) {
        snap.phase = lines::kPhaseInHand;
        snap.dealer = hand_->button;
        snap.acting = hand_->waiting == Waiting::Action ? hand_->actor : lines::kNoSeat;
        for (std::size_t i = 0; i < hand_->board.size() && i < 5; ++i)
            snap.board[i] = hand_->board[i];
        Chips inPots = 0;
        for (const InHand& p : hand_->p)
            inPots += p.total - p.inFront;
        snap.mainPot = inPots;
    } else if (button_ >= 0) {
        snap.dealer = button_;
    }
    host_.send(conn, lines::init(id_, snap));
    if (hand_ && viewer) {
        if (const auto s = seatOf(viewer); s && hand_->p[*s].live())
            host_.send(conn, lines::yourCards(id_, *s, hand_->p[*s].cards[0], hand_->p[*s].cards[1]));
    }
}

void Table::unwatch(ConnId conn)
{
    watchers_.erase(conn);
}

JoinResult Table::join(const Sitter& who, int seat, Chips amount)
{
    if (closed_ || seat < 0 || seat >= config_.seats)
        return JoinResult::BadSeat;
    if (seats_[seat])
        return JoinResult::SeatTaken;
    for (const auto& s : seats_) {
        if (s && s->account == who.account)
            return JoinResult::AlreadySeated;
    }
    if (amount < config_.minBuyIn || amount > config_.maxBuyIn)
        return JoinResult::BadAmount;
    if (!host_.accounts().sitDown(who.account, id_, amount))
        return JoinResult::NoFunds;

    Seat s;
    s.account = who.account;
    s.name = who.name;
    s.conn = who.conn;
    s.style = who.style;
    s.stack = amount;
    seats_[seat] = std::move(s);
    if (who.conn) {
        watchers_.insert(who.conn);
        host_.send(who.conn, lines::youJoined(id_, seat, who.name, amount));
    }
    for (ConnId c : watchers_) {
        if (c != who.conn)
            host_.send(c, lines::joined(id_, seat, who.name, amount));
    }
    if (who.conn == 0) {
        if (const std::string line = botChat(BotMood::SatDown, botRandom_); !line.empty())
            chat(who.name, line);
    }
    if (!hand_)
        scheduleHand(pause(kFirstHandPause));
    return JoinResult::Joined;
}

void Table::leave(AccountId account)
{
    Seat* seat = seatFor(account);
    if (!seat)
        return;
    const int s = seatIndex(seat);
    if (!hand_ || !hand_->p[s].dealt) {
        host_.accounts().standUp(account, id_, seat->stack);
        broadcast(lines::leftGame(id_, s));
        seats_[s].reset();
        return;
    }
    // In the hand: the player folds, what is behind goes home, and the seat
    // stays taken until the hand is over.
    Hand& h = *hand_;
    const Waiting waited = h.waiting;
    const bool wasActor = h.actor == s && waited != Waiting::Nothing;
    if (h.p[s].live()) {
        h.p[s].folded = true;
        broadcast(lines::history(id_, s, lines::History::Fold, 0, seat->stack));
    }
    host_.accounts().leaveInHand(account, id_, seat->stack);
    seat->stack = 0;
    seat->pending = 0;
    seat->leaving = true;
    broadcast(lines::leftGame(id_, s));
    const bool blinds = waited == Waiting::SmallBlind || waited == Waiting::BigBlind;
    if (blinds) {
        if (wasActor)
            refuseBlind(s);
        return;
    }
    if (liveCount() < 2) {
        turnTimer_.stop();
        wakeTimer_.stop();
        dealerTimer_.stop();
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

void Table::removeSeat(int s)
{
    seats_[s].reset();
}

// ---- requests ---------------------------------------------------------------

void Table::reply(AccountId account, int code, Chips amount)
{
    const auto s = seatOf(account);
    if (!s || !hand_ || hand_->waiting != Waiting::Action || hand_->actor != *s)
        return;
    seats_[*s]->timeouts = 0;
    act(*s, legalAction(optionsFor(*s), code, amount));
}

void Table::postBlind(AccountId account, int seat, bool big)
{
    const auto s = seatOf(account);
    if (!s || *s != seat || !hand_ || hand_->actor != *s)
        return;
    if (hand_->waiting != (big ? Waiting::BigBlind : Waiting::SmallBlind))
        return;
    seats_[*s]->timeouts = 0;
    postBlindAt(*s, big);
}

void Table::noPost(AccountId account)
{
    const auto s = seatOf(account);
    if (!s)
        return;
    if (hand_ && hand_->actor == *s &&
        (hand_->waiting == Waiting::SmallBlind || hand_->waiting == Waiting::BigBlind)) {
        refuseBlind(*s);
        return;
    }
    dealMeOut(account);
}

void Table::dealMeOut(AccountId account)
{
    Seat* seat = seatFor(account);
    if (!seat || seat->sittingOut)
        return;
    const int s = seatIndex(seat);
    if (hand_ && hand_->p[s].live())
        seat->sitOutAfterHand = true;
    else
        sitOutNow(s);
}

void Table::sitOutNow(int s)
{
    Seat& seat = *seats_[s];
    seat.sittingOut = true;
    seat.sitOutAfterHand = false;
    broadcast(lines::playerOut(id_, s));
}

void Table::imBack(AccountId account)
{
    Seat* seat = seatFor(account);
    if (!seat || (!seat->sittingOut && !seat->sitOutAfterHand))
        return;
    if (seat->stack + seat->pending <= 0)
        return;
    seat->sittingOut = false;
    seat->sitOutAfterHand = false;
    seat->timeouts = 0;
    broadcast(lines::playerReturned(id_, seatIndex(seat)));
    if (!hand_)
        scheduleHand(pause(kFirstHandPause));
}

void Table::bragOkay(AccountId account)
{
    if (account == 0 || last_.bragger != account)
        return;
    const auto s = seatOf(account);
    last_.bragger = 0;
    if (!s)
        return;
    const auto& c = last_.cards[*s];
    broadcast(lines::someCards(id_, *s, c[0], c[1]));
    dealerSays(seats_[*s]->name + " shows " + cardsText({c[0], c[1]}));
}

void Table::showLost(AccountId account, int seat)
{
    const auto s = seatOf(account);
    if (!s || *s != seat || last_.mayShowLost.erase(account) == 0)
        return;
    const auto& c = last_.cards[*s];
    broadcast(lines::someCards(id_, *s, c[0], c[1]));
    dealerSays(seats_[*s]->name + " shows " + cardsText({c[0], c[1]}));
}

bool Table::quickChips(AccountId account, int seat, Chips amount)
{
    Seat* st = seatFor(account);
    if (!st || seatIndex(st) != seat || amount <= 0)
        return false;
    if (st->stack + st->pending + amount > config_.maxBuyIn)
        return false;
    st->pending += amount;
    if (!hand_ || !hand_->p[seat].dealt)
        applyPending(*st, seat);
    return true;
}

void Table::applyPending(Seat& seat, int s)
{
    if (seat.pending <= 0)
        return;
    const Chips room = std::max<Chips>(0, config_.maxBuyIn - seat.stack);
    const Chips moved = host_.accounts().addChips(seat.account, id_, std::min(seat.pending, room));
    seat.pending = 0;
    if (moved > 0) {
        seat.stack += moved;
        broadcast(lines::userMoney(id_, s, seat.stack));
    }
}

void Table::chat(std::string_view sender, std::string_view text)
{
    broadcast(lines::chat(sender, id_, text));
}

void Table::mixEntropy(long value)
{
    if (!settings_.mixEntropy)
        return;
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    random_.mix(bytes);
}

// ---- the hand -------------------------------------------------------------

void Table::scheduleHand(Millis delay)
{
    if (closed_ || hand_ || dealerTimer_.active())
        return;
    dealerTimer_.start(delay, [this] { startHand(); });
}

void Table::startHand()
{
    if (closed_ || hand_)
        return;
    last_ = LastHand{};
    for (int s = 0; s < config_.seats; ++s) {
        if (seats_[s]) {
            applyPending(*seats_[s], s);
            if (!seats_[s]->sittingOut && seats_[s]->stack <= 0)
                sitOutNow(s);
        }
    }
    int ready = 0;
    for (int s = 0; s < config_.seats; ++s)
        ready += eligible(s) ? 1 : 0;
    if (ready < 2) {
        host_.tableIdle(id_); // a sit-down or a return starts the next hand
        return;
    }

    hand_.emplace();
    Hand& h = *hand_;
    h.number = host_.nextHandNumber();
    h.deck = shuffledDeck(random_);
    h.lastRaise = config_.bigBlind;
    button_ = nextSeat(button_ < 0 ? static_cast<int>(random_.uniform(static_cast<std::uint32_t>(config_.seats)))
                                   : button_,
                       [this](int s) { return eligible(s); });
    h.button = button_;

    std::vector<lines::SeatStateEntry> states;
    for (int s = 0; s < config_.seats; ++s) {
        if (!seats_[s] || seats_[s]->leaving)
            continue;
        h.p[s].dealt = eligible(s);
        h.playersDealt += h.p[s].dealt ? 1 : 0;
        states.push_back({s, h.p[s].dealt ? lines::kSeatPlaying : lines::kSeatSittingOut});
    }
    broadcast(lines::cleanTable(id_));
    dealerSays(std::to_string(h.number) + " hand starting");
    broadcast(lines::newHand(id_, states));
    broadcast(lines::dealer(id_, h.button));

    if (h.playersDealt == 2) {
        h.smallBlind = h.button;
    } else {
        h.smallBlind = nextSeat(h.button, [&](int s) { return h.p[s].dealt; });
    }
    h.bigBlind = nextSeat(h.smallBlind, [&](int s) { return h.p[s].dealt; });
    askBlind(Waiting::SmallBlind);
}

void Table::askBlind(Waiting which)
{
    Hand& h = *hand_;
    const int s = which == Waiting::SmallBlind ? h.smallBlind : h.bigBlind;
    const Seat& seat = *seats_[s];
    h.actor = s;
    h.waiting = which;
    if (seat.bot()) {
        postBlindAt(s, which == Waiting::BigBlind);
        return;
    }
    const Chips amount = which == Waiting::BigBlind ? config_.bigBlind : config_.smallBlind;
    sendTo(seat, which == Waiting::BigBlind ? lines::askBigBlind(id_, amount) : lines::askSmallBlind(id_, amount));
    turnTimer_.start(settings_.turnTimeout, [this, s] { refuseBlind(s); });
}

void Table::postBlindAt(int s, bool big)
{
    turnTimer_.stop();
    Hand& h = *hand_;
    Seat& seat = *seats_[s];
    InHand& p = h.p[s];
    const Chips amount = std::min(seat.stack, big ? config_.bigBlind : config_.smallBlind);
    seat.stack -= amount;
    p.inFront += amount;
    p.total += amount;
    p.allIn = seat.stack == 0;
    h.waiting = Waiting::Nothing;
    broadcast(lines::history(id_, s, lines::History::InFront, p.inFront, seat.stack));
    broadcast(lines::userMoney(id_, s, seat.stack));
    dealerSays(seat.name + (big ? " posts the big blind of " : " posts the small blind of ") + moneyText(amount));
    if (!big) {
        askBlind(Waiting::BigBlind);
        return;
    }
    // The whole big blind is to be called, even when its poster is short.
    h.currentBet = config_.bigBlind;
    h.betsThisRound = 1;
    dealHoleCards();
}

void Table::refuseBlind(int s)
{
    turnTimer_.stop();
    Hand& h = *hand_;
    const bool big = h.waiting == Waiting::BigBlind;
    h.waiting = Waiting::Nothing;
    h.p[s].dealt = false;
    --h.playersDealt;
    if (seats_[s] && !seats_[s]->leaving)
        sitOutNow(s);
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
    const int next = nextSeat(s, [&](int o) { return h.p[o].dealt && o != h.smallBlind; });
    if (next < 0) {
        cancelHand();
        return;
    }
    h.bigBlind = next;
    askBlind(Waiting::BigBlind);
}

void Table::dealHoleCards()
{
    Hand& h = *hand_;
    dealerSays("Dealing down hole cards");
    for (int round = 0; round < 2; ++round) {
        for (int k = 1; k <= config_.seats; ++k) {
            const int s = (h.button + k) % config_.seats;
            if (h.p[s].dealt)
                h.p[s].cards[round] = h.deck[h.nextCard++];
        }
    }
    for (int s = 0; s < config_.seats; ++s) {
        if (h.p[s].dealt)
            sendTo(*seats_[s], lines::yourCards(id_, s, h.p[s].cards[0], h.p[s].cards[1]));
    }
    const int first = h.playersDealt == 2 && h.smallBlind >= 0
                          ? h.smallBlind
                          : nextSeat(h.bigBlind, [&](int o) { return h.p[o].dealt; });
    dealerTimer_.start(pause(kDealPause), [this, first] { startRound(first); });
}

void Table::startRound(int first)
{
    // Start just before the first seat to act.
    promptFrom((first - 1 + config_.seats) % config_.seats);
}

void Table::promptFrom(int after)
{
    if (liveCount() < 2) {
        endRound();
        return;
    }
    const int s = nextSeat(after, [this](int o) { return needsToAct(o); });
    if (s < 0) {
        endRound();
        return;
    }
    prompt(s);
}

void Table::prompt(int s)
{
    Hand& h = *hand_;
    const Seat& seat = *seats_[s];
    h.actor = s;
    h.waiting = Waiting::Action;
    broadcast(lines::onButton(id_, s, seat.stack));
    if (seat.bot()) {
        const Millis think = settings_.fast ? Millis(0) : pause(botRandom_.between(kBotThinkMin, kBotThinkMax));
        dealerTimer_.start(think, [this, s] { botTurn(s); });
        return;
    }
    const BetOptions o = optionsFor(s);
    switch (promptKind(o)) {
    case PromptKind::CheckOrBet:
        sendTo(seat, lines::actionCheckOrBet(id_, o.mayRaise ? o.minRaiseTo : o.allIn));
        break;
    case PromptKind::AllInOrFold:
        sendTo(seat, lines::actionAllInOrFold(id_));
        break;
    case PromptKind::CallOrRaise:
        sendTo(seat, lines::actionCallOrRaise(id_, o.toCall, o.minRaiseTo));
        break;
    case PromptKind::CallOrAllIn:
        sendTo(seat, lines::actionCallOrAllIn(id_, o.toCall));
        break;
    }
    turnTimer_.start(settings_.turnTimeout, [this, s] { turnTimedOut(s); });
    wakeTimer_.start(settings_.turnTimeout / 2, [this, s] {
        if (hand_ && hand_->actor == s && seats_[s])
            sendTo(*seats_[s], lines::wakeUp(id_));
    });
}

void Table::botTurn(int s)
{
    Hand& h = *hand_;
    BotView view;
    view.type = config_.type;
    view.hole = h.p[s].cards;
    view.board = h.board;
    view.opponents = liveCount() - 1;
    view.pot = potTotal();
    view.currentBet = h.currentBet;
    view.bigBlind = config_.bigBlind;
    view.options = optionsFor(s);
    const BotReply r = decideBot(view, seats_[s]->style, botRandom_);
    act(s, legalAction(view.options, r.code, r.amount));
}

void Table::turnTimedOut(int s)
{
    Seat& seat = *seats_[s];
    ++seat.timeouts;
    // Withdraws the prompt that is still on the player's screen.
    broadcast(lines::playerReturned(id_, s));
    const BetOptions o = optionsFor(s);
    if (seat.timeouts >= 2) {
        seat.sitOutAfterHand = true;
        act(s, Action{ActionType::Fold, 0});
        return;
    }
    act(s, Action{o.toCall == 0 ? ActionType::Check : ActionType::Fold, 0});
}

void Table::act(int s, Action action)
{
    turnTimer_.stop();
    wakeTimer_.stop();
    Hand& h = *hand_;
    Seat& seat = *seats_[s];
    InHand& p = h.p[s];
    h.waiting = Waiting::Nothing;
    switch (action.type) {
    case ActionType::Fold:
        p.folded = true;
        broadcast(lines::history(id_, s, lines::History::Fold, 0, seat.stack));
        break;
    case ActionType::Check:
        broadcast(lines::history(id_, s, lines::History::Check, 0, seat.stack));
        break;
    case ActionType::Call: {
        const Chips add = std::min(seat.stack, std::max<Chips>(0, h.currentBet - p.inFront));
        seat.stack -= add;
        p.inFront += add;
        p.total += add;
        p.allIn = seat.stack == 0;
        broadcast(p.allIn ? lines::history(id_, s, lines::History::AllIn, p.inFront, 0)
                          : lines::history(id_, s, lines::History::Call, p.inFront, seat.stack));
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
        broadcast(p.allIn ? lines::history(id_, s, lines::History::AllIn, p.inFront, 0)
                          : lines::history(id_, s, lines::History::Raise, p.inFront, seat.stack));
        break;
    }
    }
    p.actedLevel = h.raiseLevel;
    promptFrom(s);
}

void Table::returnUncalled()
{
    Hand& h = *hand_;
    int top = -1;
    Chips second = 0;
    for (int s = 0; s < kMaxSeats; ++s) {
        const Chips f = h.p[s].inFront;
        if (top < 0 || f > h.p[top].inFront) {
            if (top >= 0)
                second = std::max(second, h.p[top].inFront);
            top = s;
        } else {
            second = std::max(second, f);
        }
    }
    if (top < 0 || h.p[top].inFront <= second || !seats_[top])
        return;
    const Chips back = h.p[top].inFront - second;
    InHand& p = h.p[top];
    p.inFront -= back;
    p.total -= back;
    Seat& seat = *seats_[top];
    if (seat.leaving) {
        // The chips go to the account of a player who has already left.
        host_.accounts().leaveInHand(seat.account, id_, back);
    } else {
        seat.stack += back;
        p.allIn = false;
        broadcast(lines::userMoney(id_, top, seat.stack));
    }
    dealerSays("Uncalled bet of " + moneyText(back) + " returned to " + seat.name);
}

void Table::sendPots()
{
    Hand& h = *hand_;
    std::array<Chips, kMaxSeats> totals{};
    std::array<bool, kMaxSeats> live{};
    for (int s = 0; s < kMaxSeats; ++s) {
        totals[s] = h.p[s].total;
        live[s] = h.p[s].live();
    }
    std::vector<Chips> amounts;
    for (const Pot& pot : buildPots(totals, live))
        amounts.push_back(pot.amount);
    // Pots shown before and now empty must be cleared on the client.
    while (amounts.size() < h.potsShown)
        amounts.push_back(0);
    h.potsShown = std::max(h.potsShown, amounts.size());
    if (!amounts.empty())
        broadcast(lines::pots(id_, amounts));
}

void Table::endRound()
{
    Hand& h = *hand_;
    h.waiting = Waiting::Nothing;
    h.actor = -1;
    returnUncalled();
    if (liveCount() == 1) {
        const int winner = nextSeat(h.button, [&](int s) { return h.p[s].live(); });
        awardUncontested(winner);
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

void Table::advanceStreet()
{
    Hand& h = *hand_;
    if (h.street == 3) {
        showdown();
        return;
    }
    const bool runout = canActCount() < 2;
    if (runout)
        showAllLive();
    dealerTimer_.start(pause(runout ? kRunoutPause : kStreetPause), [this] { dealStreet(); });
}

void Table::showAllLive()
{
    Hand& h = *hand_;
    if (h.allInShown)
        return;
    h.allInShown = true;
    for (int s = 0; s < kMaxSeats; ++s) {
        if (h.p[s].live() && !h.p[s].shown) {
            h.p[s].shown = true;
            broadcast(lines::someCards(id_, s, h.p[s].cards[0], h.p[s].cards[1]));
        }
    }
}

void Table::dealStreet()
{
    Hand& h = *hand_;
    ++h.street;
    if (h.street == 1) {
        h.sawFlop = true;
        for (int i = 0; i < 3; ++i)
            h.board.push_back(h.deck[h.nextCard++]);
        broadcast(lines::flop(id_, h.board[0], h.board[1], h.board[2]));
        dealerSays("The flop: " + cardsText(h.board));
    } else {
        const int card = h.deck[h.nextCard++];
        h.board.push_back(card);
        broadcast(lines::turnOrRiver(id_, h.street == 2 ? lines::kTurn : lines::kRiver, card));
        dealerSays(std::string(h.street == 2 ? "The turn: " : "The river: ") + cardsText({card}));
    }
    if (canActCount() >= 2) {
        startRound(nextSeat(h.button, [&](int s) { return h.p[s].live() && !h.p[s].allIn; }));
        return;
    }
    advanceStreet();
}

void Table::showdown()
{
    Hand& h = *hand_;
    std::array<HandValue, kMaxSeats> value{};
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!h.p[s].live())
            continue;
        int seven[7] = {h.p[s].cards[0], h.p[s].cards[1], h.board[0], h.board[1], h.board[2], h.board[3], h.board[4]};
        value[s] = evaluateSeven(seven);
    }
    std::array<Chips, kMaxSeats> totals{};
    std::array<bool, kMaxSeats> live{};
    for (int s = 0; s < kMaxSeats; ++s) {
        totals[s] = h.p[s].total;
        live[s] = h.p[s].live();
    }
    const std::vector<Pot> pots = buildPots(totals, live);

    std::array<Chips, kMaxSeats> won{};
    std::vector<std::string> winLines;
    for (std::size_t i = 0; i < pots.size(); ++i) {
        const Pot& pot = pots[i];
        HandValue best = 0;
        for (int s : pot.eligible)
            best = std::max(best, value[s]);
        std::vector<int> winners;
        for (int s : pot.eligible) {
            if (value[s] == best)
                winners.push_back(s);
        }
        for (const Share& share : splitPot(pot.amount, winners, h.button)) {
            won[share.seat] += share.amount;
            std::string line = seats_[share.seat]->name + " wins " + moneyText(share.amount) + " chips with " +
                               describeHand(value[share.seat]);
            if (pots.size() > 1)
                line += i == 0 ? " (main pot)" : " (side pot " + std::to_string(i) + ")";
            winLines.push_back(std::move(line));
        }
    }

    // Winners turn their cards up; the others muck, or are asked.
    for (int k = 1; k <= config_.seats; ++k) {
        const int s = (h.button + k) % config_.seats;
        if (!h.p[s].live())
            continue;
        Seat& seat = *seats_[s];
        last_.cards[s] = h.p[s].cards;
        if (won[s] > 0 || h.p[s].shown) {
            if (!h.p[s].shown)
                broadcast(lines::someCards(id_, s, h.p[s].cards[0], h.p[s].cards[1]));
            h.p[s].shown = true;
            if (won[s] == 0)
                dealerSays(seat.name + " looses with " + describeHand(value[s]));
        } else if (!seat.bot()) {
            last_.mayShowLost.insert(seat.account);
            sendTo(seat, lines::muckShow(id_));
        }
    }
    for (const std::string& line : winLines)
        dealerSays(line);
    for (int s = 0; s < kMaxSeats; ++s) {
        if (won[s] == 0)
            continue;
        Seat& seat = *seats_[s];
        seat.stack += won[s];
        broadcast(lines::userMoney(id_, s, seat.stack));
        sendTo(seat, lines::youWin(id_));
        const bool big = won[s] >= 20 * config_.bigBlind;
        if (seat.bot() && big) {
            if (const std::string line = botChat(BotMood::WonBig, botRandom_); !line.empty())
                chat(seat.name, line);
        }
    }
    for (int s = 0; s < kMaxSeats; ++s) {
        if (h.p[s].live() && won[s] == 0 && seats_[s]->bot() && h.p[s].total >= 20 * config_.bigBlind) {
            if (const std::string line = botChat(BotMood::LostBig, botRandom_); !line.empty())
                chat(seats_[s]->name, line);
        }
    }
    for (InHand& p : h.p)
        p.total = 0;
    h.potsShown = std::max<std::size_t>(h.potsShown, 1);
    broadcast(lines::pots(id_, std::vector<Chips>(h.potsShown, 0)));
    recordStats(std::accumulate(won.begin(), won.end(), Chips(0)));
    finishHand(pause(kShowdownPause));
}

void Table::awardUncontested(int s)
{
    Hand& h = *hand_;
    const Chips pot = potTotal();
    for (InHand& p : h.p) {
        p.total = 0;
        p.inFront = 0;
    }
    Seat& seat = *seats_[s];
    seat.stack += pot;
    broadcast(lines::userMoney(id_, s, seat.stack));
    h.potsShown = std::max<std::size_t>(h.potsShown, 1);
    broadcast(lines::pots(id_, std::vector<Chips>(h.potsShown, 0)));
    dealerSays(seat.name + " wins " + moneyText(pot) + " chips");
    if (!seat.bot()) {
        sendTo(seat, lines::youWin(id_));
        sendTo(seat, lines::youBrag(id_));
        last_.bragger = seat.account;
        last_.cards[s] = h.p[s].cards;
    } else if (seat.bot() && botRandom_.chance(0.08)) {
        broadcast(lines::someCards(id_, s, h.p[s].cards[0], h.p[s].cards[1]));
        dealerSays(seat.name + " shows " + cardsText({h.p[s].cards[0], h.p[s].cards[1]}));
    }
    recordStats(pot);
    finishHand(pause(kNextHandPause));
}

void Table::refundHand()
{
    Hand& h = *hand_;
    for (int s = 0; s < kMaxSeats; ++s) {
        InHand& p = h.p[s];
        if (p.total == 0 || !seats_[s])
            continue;
        Seat& seat = *seats_[s];
        if (seat.leaving) {
            host_.accounts().leaveInHand(seat.account, id_, p.total);
        } else {
            seat.stack += p.total;
            broadcast(lines::userMoney(id_, s, seat.stack));
        }
        p.total = 0;
        p.inFront = 0;
    }
    if (h.potsShown > 0)
        broadcast(lines::pots(id_, std::vector<Chips>(h.potsShown, 0)));
}

void Table::cancelHand()
{
    refundHand();
    dealerSays("Not enough players: the hand is cancelled");
    finishHand(pause(kNextHandPause));
}

void Table::finishHand(Millis delay)
{
    turnTimer_.stop();
    wakeTimer_.stop();
    dealerTimer_.stop();
    std::vector<SeatStack> stacks;
    for (int s = 0; s < kMaxSeats; ++s) {
        if (seats_[s] && !seats_[s]->leaving)
            stacks.push_back({seats_[s]->account, seats_[s]->stack});
    }
    host_.accounts().handEnded(id_, stacks, hand_->number);
    hand_.reset();
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!seats_[s])
            continue;
        Seat& seat = *seats_[s];
        if (seat.leaving) {
            removeSeat(s);
            continue;
        }
        if (seat.sitOutAfterHand || (!seat.sittingOut && seat.stack <= 0))
            sitOutNow(s);
        seat.handsSatOut = seat.sittingOut ? seat.handsSatOut + 1 : 0;
        if (!seat.bot() && seat.handsSatOut >= kMaxHandsSittingOut) {
            // Away too long: the chair goes to someone who plays.
            sendTo(seat, lines::clearAction(id_));
            dealerSays(seat.name + " has been sitting out too long and leaves the table");
            host_.accounts().standUp(seat.account, id_, seat.stack);
            broadcast(lines::leftGame(id_, s));
            removeSeat(s);
        }
    }
    host_.handEnded(id_);
    scheduleHand(delay);
}

void Table::recordStats(Chips pot)
{
    const auto now = host_.timers().now();
    recent_.push_back({now, pot, hand_->sawFlop});
    while (recent_.size() > 200 || (recent_.size() > kRecentHands && now - recent_.front().at > std::chrono::hours(1)))
        recent_.pop_front();
}

void Table::close()
{
    closed_ = true;
    dealerTimer_.stop();
    turnTimer_.stop();
    wakeTimer_.stop();
    if (hand_) {
        refundHand();
        dealerSays("The house is closing: every bet of this hand is returned");
        host_.accounts().handEnded(id_, {}, hand_->number);
        hand_.reset();
    }
    for (int s = 0; s < kMaxSeats; ++s) {
        if (!seats_[s])
            continue;
        if (!seats_[s]->leaving)
            host_.accounts().standUp(seats_[s]->account, id_, seats_[s]->stack);
        broadcast(lines::leftGame(id_, s));
        seats_[s].reset();
    }
}

// ---- the lobby --------------------------------------------------------------

lines::ListedTable Table::listing() const
{
    lines::ListedTable t;
    t.smallBlind = config_.smallBlind;
    t.bigBlind = config_.bigBlind;
    t.minBuyIn = config_.minBuyIn;
    t.maxBuyIn = config_.maxBuyIn;
    t.name = config_.name;
    t.gameCode = static_cast<int>(config_.type);
    t.seats = config_.seats;
    t.stakes = config_.stakesText();
    t.players = 0;
    for (const auto& s : seats_)
        t.players += (s && !s->leaving) ? 1 : 0;
    t.waiting = 0;

    const auto now = host_.timers().now();
    Chips pots = 0;
    int counted = 0, flops = 0, lastHour = 0;
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
        if (counted < kRecentHands) {
            pots += it->pot;
            flops += it->flop ? 1 : 0;
            ++counted;
        }
        lastHour += now - it->at <= std::chrono::hours(1) ? 1 : 0;
    }
    t.averagePot = counted ? static_cast<long>(pots / counted / kChipsPerUnit) : 0;
    t.playersPerFlop = counted ? flops * 100 / counted : 0;
    t.handsPerHour = lastHour;
    return t;
}

std::vector<lines::ListedPlayer> Table::players() const
{
    std::vector<lines::ListedPlayer> out;
    for (int s = 0; s < config_.seats; ++s) {
        const auto& seat = seats_[s];
        if (seat && !seat->leaving)
            out.push_back({std::to_string(s + 1), seat->name, moneyText(seat->stack)});
    }
    return out;
}

} // namespace tessaly::house
