// The blocks of the lines that change a table: seats, hands, bets, cards,
// pots and the hand history. The keyword table and the session's lines are
// in Dispatcher.cpp.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "client/net/ClientMessages.h"
#include "client/net/Fields.h"
#include "client/net/LineSender.h"
#include "client/net/Protocol.h"
#include "client/dispatch/Dispatcher.h"
#include "client/table/ClientState.h"
#include "client/table/HandEventRules.h"
#include "platform/SoundPort.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

// Sound files, as the system names them.
constexpr const char* kSoundWakeUp = "sounds\\wakeup1.wav";
constexpr const char* kSoundYourTurn = "sounds\\yourturn.wav";
constexpr const char* kSoundYourTurnBlind = "sounds\\yourturnBLIND.wav";
constexpr const char* kSoundCalling = "sounds\\calling.wav";
constexpr const char* kSoundFolding = "sounds\\Folding.wav";
constexpr const char* kSoundChipsBetting = "sounds\\chipsbetting.wav";
constexpr const char* kSoundCheck = "sounds\\CHECK.wav";
constexpr const char* kSoundJoinSeat = "sounds\\joinseat.wav";
constexpr const char* kSoundCommunityCards = "sounds\\commcardout.wav";

} // namespace

Dispatcher::Flow Dispatcher::cleanTable(LineFields& f)
{
    if (TableState* T = onlyTable(f)) {
        T->handInProgress = 0;
        T->reset();
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::playerReturned(LineFields& f)
{
    int s = 0;
    if (TableState* T = tableAndSeat(f, s))
        T->playerReturned(s);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::clearAction(LineFields& f)
{
    if (TableState* T = onlyTable(f)) {
        T->userSeatedHere = 0;
        T->userToAct = 0;
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::muckShow(LineFields& f)
{
    TableState* T = onlyTable(f);
    if (T != nullptr && T->autoMuckLosing == 0)
        T->showLostOffered = 1;
    return Flow::Next;
}

// The server's warning that the user's time runs out: shown at the seat,
// and the window comes forward.
Dispatcher::Flow Dispatcher::wakeUp(LineFields& f)
{
    if (TableState* T = onlyTable(f)) {
        play(kSoundWakeUp);
        T->turnWarned = 1;
        T->bringToFront = 1;
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::youWin(LineFields& f)
{
    if (TableState* T = onlyTable(f))
        T->userWon = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::youBrag(LineFields& f)
{
    if (TableState* T = onlyTable(f)) {
        T->bragOffered = 1;
        T->userWon = 1;
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::playerOut(LineFields& f)
{
    int s = 0;
    if (TableState* T = tableAndSeat(f, s))
        T->playerSatOut(s);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::leftGame(LineFields& f)
{
    int s = 0;
    if (TableState* T = tableAndSeat(f, s))
        T->playerLeft(s);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::pots(LineFields& f)
{
    f.first();
    TableState* T = table(f.nextInt());
    const int n = std::clamp(f.nextInt(), 0, kMaxPots);
    std::array<float, kMaxPots> amounts{};
    for (int i = 0; i < n; ++i)
        amounts[static_cast<std::size_t>(i)] = f.nextMoney();
    if (f.missing() || T == nullptr)
        return Flow::Next;
    // Pots past n keep their values until the next reset.
    std::copy_n(amounts.begin(), n, T->pots.begin());
    T->handHistory.potsChanged(*T);
    return Flow::Next;
}

TableState* Dispatcher::cardPair(LineFields& f, int& seat, int& card1, int& card2)
{
    TableState* T = tableAndSeat(f, seat);
    card1 = f.nextInt();
    card2 = f.nextInt();
    return !f.missing() && isCard(card1) && isCard(card2) ? T : nullptr;
}

Dispatcher::Flow Dispatcher::yourCards(LineFields& f)
{
    int s = 0, card1 = 0, card2 = 0;
    if (TableState* T = cardPair(f, s, card1, card2))
        T->setOwnCards(s, card1, card2);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::newHand(LineFields& f)
{
    f.first();
    f.skip();
    TableState* T = table(f.nextInt());
    f.skip();
    const int n = f.nextInt();
    f.skip();
    if (n < 0 || n > kSeatCount)
        return Flow::Next;
    std::array<std::array<int, 2>, kSeatCount> seats{};
    for (int i = 0; i < n; ++i) {
        auto& [seat, seatState] = seats[static_cast<std::size_t>(i)];
        seat = f.nextInt();
        seatState = f.nextInt();
        if (!isSeat(seat))
            return Flow::Next;
    }
    if (f.missing() || T == nullptr)
        return Flow::Next;
    T->handInProgress = 0;
    T->reset();
    for (int i = 0; i < n; ++i) {
        const auto [seat, seatState] = seats[static_cast<std::size_t>(i)];
        T->seatState[static_cast<std::size_t>(seat)] = seatState;
        if (seatState != kSeatSittingOut)
            T->addToHand(seat);
    }
    HandEvent start;
    start.hand = T->handEvents.announcedHand;
    T->handEvent(std::move(start));
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::snapshot(LineFields& f)
{
    struct Player {
        std::string_view name;
        float stack, inFront;
        int seat, seatState;
    };
    f.first();
    f.skip();
    const int t = f.nextInt();
    f.skip();
    const int phase = f.nextInt();
    f.skip();
    const int dealer = f.nextInt();
    f.skip();
    const int n = f.nextInt();
    f.skip();
    const int acting = f.nextInt();
    f.skip();
    std::array<std::int32_t, 5> board{};
    for (std::int32_t& card : board) {
        card = f.nextInt();
        if (!isCard(card))
            return Flow::Next;
    }
    f.skip();
    const float amount = f.nextMoney();
    f.skip();
    const int number = f.nextInt();
    f.skip();
    const float pot = f.nextMoney();
    TableState* T = table(t);
    const auto seatOrNone = [](int s) { return isSeat(s) || s == kNoSeat; };
    if (T == nullptr || n < 0 || n > kSeatCount || !seatOrNone(dealer) || !seatOrNone(acting))
        return Flow::Next;
    std::array<Player, kSeatCount> players{};
    for (int q = 0; q < n; ++q) {
        Player& p = players[static_cast<std::size_t>(q)];
        f.skip();
        p.name = f.nextText();
        f.skip();
        p.stack = f.nextMoney();
        f.skip();
        p.inFront = f.nextMoney();
        f.skip();
        p.seat = f.nextInt();
        f.skip();
        p.seatState = f.nextInt();
        if (!isSeat(p.seat))
            return Flow::Next;
    }
    if (f.missing())
        return Flow::Next;

    // A snapshot does not reset the record: seats it does not list keep what
    // they had.
    T->flopDrawn = T->turnDrawn = T->riverDrawn = 0;
    T->handInProgress = (phase == kPhaseIdle1 || phase == kPhaseIdle2) ? 0 : 1;
    T->board = board;
    if (pot != 0.0f)
        T->pots[0] = pot;
    T->clearBets();
    T->setDealerAndActing(phase, dealer, acting, amount, number, pot);
    for (int q = 0; q < n; ++q) {
        const Player& p = players[static_cast<std::size_t>(q)];
        trace("q = %d chips_in_front: %g", q, static_cast<double>(p.inFront));
        T->seatPlayer(p.seat, p.name, p.stack, p.inFront, p.seatState);
    }
    // The seat to act holds cards; the others show theirs from their first action.
    T->holdsCards(acting);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::action(LineFields& f)
{
    f.first();
    const int t = f.nextInt();
    const int kind = f.nextInt();
    TableState* T = table(t);
    if (f.missing() || T == nullptr)
        return Flow::Next;
    play(kSoundYourTurn);
    if (T->autoCheckFold == 1) {
        if (kind == kPromptCheckOrBet) {
            ports_.sender.sendLine(replyMessage(t, kReplyCheck));
        } else {
            ports_.sender.sendLine(replyMessage(t, kReplyFold));
            T->autoCheckFold = 0;
        }
        return Flow::End;
    }
    if (T->promptSetUp == 1)
        return Flow::Next;
    // Kind 0: minimum bet; kind 2: amount to call, minimum raise-to; kind 22:
    // amount to call; other kinds carry nothing more.
    float first = 0.0f;
    float second = 0.0f;
    if (kind == kPromptCheckOrBet || kind == kPromptCallOnly) {
        first = f.nextMoney();
    } else if (kind == kPromptCallOrRaise) {
        first = f.nextMoney();
        second = f.nextMoney();
    }
    if (f.missing())
        return Flow::Next;
    T->userToAct = 1;
    T->promptKind = kind;
    T->promptSetUp = 0;
    T->bringToFront = 1;
    if (kind == kPromptCheckOrBet) {
        T->callAmount = 0.0f;
        T->minRaiseTo = first;
    } else if (kind == kPromptCallOrRaise) {
        T->callAmount = first;
        T->minRaiseTo = T->raiseToCopy = second;
    } else if (kind == kPromptCallOnly) {
        T->callAmount = first;
    }
    T->actionArrived = 1;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::blindPrompt(LineFields& f, int kind)
{
    f.first();
    const int t = f.nextInt();
    TableState* T = table(t);
    if (f.missing() || T == nullptr)
        return Flow::Next;
    if (T->autoPostBlinds == 1) {
        T->autoPostBlind(ports_.sender, t, kind);
        return Flow::Next;
    }
    const float amount = f.nextMoney();
    if (f.missing())
        return Flow::Next;
    play(kSoundYourTurnBlind);
    T->promptKind = kind;
    T->showBlindPrompt(amount, kind);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::bigBlind(LineFields& f) { return blindPrompt(f, kPromptBigBlind); }

Dispatcher::Flow Dispatcher::smallBlind(LineFields& f) { return blindPrompt(f, kPromptSmallBlind); }

Dispatcher::Flow Dispatcher::userMoney(LineFields& f)
{
    int s = 0;
    TableState* T = tableAndSeat(f, s);
    const float amount = f.nextMoney();
    if (!f.missing() && T != nullptr)
        T->setStack(s, amount);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::historyPacket(LineFields& f)
{
    int s = 0;
    TableState* T = tableAndSeat(f, s);
    const int kind = f.nextInt();
    float first = 0.0f;
    float second = 0.0f;
    switch (kind) {
    case kHistoryCall:
    case kHistoryRaise:
        first = f.nextMoney();
        second = f.nextMoney();
        break;
    case kHistoryAllIn:
    case kHistoryFold:
    case kHistoryCheck:
    case kHistoryStack:
    case kHistoryInFront:
        first = f.nextMoney();
        break;
    default:
        break;
    }
    if (f.missing() || T == nullptr)
        return Flow::Next;
    if (std::optional<HandEvent> event = historyEvent(*T, s, kind, first, second))
        T->handEvent(std::move(*event));
    if (s == T->userSeat)
        T->turnWarned = 0;
    if (kind == kHistoryCall || kind == kHistoryRaise || kind == kHistoryAllIn || kind == kHistoryCheck)
        T->holdsCards(s);
    T->historyPending = 1;
    T->historySeat = s;
    T->historyKind = kind;
    switch (kind) {
    case kHistoryInFront:
        play(kSoundChipsBetting);
        T->setInFront(s, first);
        break;
    case kHistoryStack:
        T->setStack(s, first);
        break;
    case kHistoryCall:
        play(kSoundCalling);
        T->setBet(s, first, second);
        break;
    case kHistoryAllIn:
        play(kSoundChipsBetting);
        T->allIn[static_cast<std::size_t>(s)] = 1;
        T->setBet(s, first, 0.0f);
        break;
    case kHistoryRaise:
        play(kSoundChipsBetting);
        T->setBet(s, first, second);
        break;
    case kHistoryFold:
        play(kSoundFolding);
        T->fold(s, first);
        break;
    case kHistoryCheck:
        play(kSoundCheck);
        T->setStack(s, first);
        break;
    default:
        break;
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::someCards(LineFields& f)
{
    int s = 0, card1 = 0, card2 = 0;
    if (TableState* T = cardPair(f, s, card1, card2)) {
        T->showCards(s, card1, card2);
        T->handEvent(showEvent(*T, s, card1, card2));
    }
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::seatTaken(LineFields& f, bool byUser)
{
    int s = 0;
    TableState* T = tableAndSeat(f, s);
    const std::string_view name = f.nextText();
    const float stack = f.nextMoney();
    if (f.missing() || T == nullptr)
        return Flow::Next;
    if (byUser) {
        state_.session.seatedSomewhere = 1;
        trace("YOU_JOINED_TABLE:!");
    }
    T->seatPlayer(s, name, stack, 0.0f, 0);
    // userSeat stays as the window set it when the user chose the seat.
    if (byUser)
        T->userSeatedHere = 1;
    play(kSoundJoinSeat);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::joinedTable(LineFields& f) { return seatTaken(f, false); }

Dispatcher::Flow Dispatcher::youJoinedTable(LineFields& f) { return seatTaken(f, true); }

Dispatcher::Flow Dispatcher::historyClearTable(LineFields& f)
{
    if (TableState* T = onlyTable(f))
        T->reset();
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::communityCards(LineFields& f)
{
    f.first();
    TableState* T = table(f.nextInt());
    const int code = f.nextInt();
    std::array<int, 3> cards{};
    const std::size_t count = code == kBoardFlop ? 3 : (code == kBoardTurn || code == kBoardRiver) ? 1 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        cards[i] = f.nextInt();
        if (!isCard(cards[i]))
            return Flow::Next;
    }
    if (f.missing() || T == nullptr)
        return Flow::Next;
    play(kSoundCommunityCards);
    if (count == 0)
        return Flow::Next;
    if (std::optional<HandEvent> event = boardEvent(code, std::span<const int>(cards.data(), count)))
        T->handEvent(std::move(*event));
    T->clearBets();
    const std::size_t at = code == kBoardFlop ? 0 : code == kBoardTurn ? 3 : 4;
    std::copy_n(cards.begin(), count, T->board.begin() + static_cast<std::ptrdiff_t>(at));
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::historyDealer(LineFields& f)
{
    int s = 0;
    if (TableState* T = tableAndSeat(f, s))
        T->dealerSeat = s;
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::historyOnButton(LineFields& f)
{
    f.first();
    TableState* T = table(f.nextInt());
    const int s = f.nextInt();
    if (f.missing() || T == nullptr)
        return Flow::Next;
    if (!isSeat(s)) {
        // The record has no slot for the seat: the amount and the acting
        // seat are skipped after the notice.
        box("HISTORY_ONBUTTON error", "", BoxIcon::None);
        return Flow::Next;
    }
    const float amount = f.nextMoney();
    if (f.missing())
        return Flow::Next;
    T->stack[static_cast<std::size_t>(s)] = amount;
    T->actingSeat = s;
    T->turnWarned = 0;
    trace("Toplayer: %d\n", s);
    return Flow::Next;
}

Dispatcher::Flow Dispatcher::initEmpty(LineFields& f)
{
    if (TableState* T = onlyTable(f)) {
        T->closed = 1;
        T->handInProgress = 0;
        T->reset();
        T->seatOccupied.fill(0);
    }
    return Flow::Next;
}

} // namespace tessaly
