#include "client/table/TableState.h"

#include <algorithm>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"

namespace tessaly {
namespace {

void removeFirst(std::vector<std::int32_t>& list, int seat)
{
    const auto it = std::find(list.begin(), list.end(), seat);
    if (it != list.end())
        list.erase(it);
}

void removeAll(std::vector<std::int32_t>& list, int seat)
{
    list.erase(std::remove(list.begin(), list.end(), seat), list.end());
}

} // namespace

void TableState::reset()
{
    board.fill(kNoCard);
    rake = 0.0f;
    pots.fill(0.0f);
    bragOffered = showLostOffered = userWon = 0;
    flopDrawn = turnDrawn = riverDrawn = 0;
    boardAnimation.fill(0);
    cardsShown.fill(0);
    ownCardSeat.fill(0);
    ownCardsLive.fill(0);
    inFront.fill(0.0f);
    allIn.fill(0);
    playersInHand.clear();
    dealerSeat = kNoSeat;
    actingSeat = kNoSeat;
    userToAct = 0;
    wonAmount.fill(0.0f);
    winnerFrames.fill(0);
    turnWarned = 0;
}

void TableState::queueChatLine(std::string_view sender, std::string_view text)
{
    chatSender = sender;
    chatText = text;
    if (chatQueue.size() == kMaxWaitingChatLines)
        chatQueue.pop_front();
    chatQueue.push_back({chatSender, chatText});
}

void TableState::handEvent(HandEvent event)
{
    if (event.kind == HandEventKind::Wins && isSeat(event.seat)) {
        float& won = wonAmount[static_cast<std::size_t>(event.seat)];
        won = (winnerFrames[static_cast<std::size_t>(event.seat)] > 0 ? won : 0.0f) + event.amount;
        winnerFrames[static_cast<std::size_t>(event.seat)] = kWinnerFrames;
    }
    handHistory.take(*this, event);
    handEvents.push(std::move(event));
}

void TableState::clearBets() { inFront.fill(0.0f); }

void TableState::seatPlayer(int seat, std::string_view name, float stackAmount, float inFrontAmount, int /*state*/)
{
    if (!isSeat(seat))
        return;
    seatOccupied[seat] = 1;
    playerName[seat] = name;
    stack[seat] = stackAmount;
    inFront[seat] = inFrontAmount;
}

void TableState::setDealerAndActing(int /*phase*/, int dealer, int acting, float /*amount*/, int /*number*/, float /*pot*/)
{
    dealerSeat = dealer;
    actingSeat = acting;
}

void TableState::playerReturned(int seat)
{
    if (!isSeat(seat))
        return;
    seatState[seat] = kSeatPlaying;
    if (seat == userSeat) {
        userToAct = 0;
        sittingOut = 0;
        promptSetUp = 0;
    }
}

void TableState::playerSatOut(int seat)
{
    if (!isSeat(seat))
        return;
    seatState[seat] = kSeatSittingOut;
    if (seat == userSeat) {
        userToAct = 0;
        sittingOut = 1;
    }
    removeFirst(playersInHand, seat);
}

void TableState::playerLeft(int seat)
{
    if (!isSeat(seat))
        return;
    seatOccupied[seat] = 0;
    stack[seat] = 0.0f;
    ownCardsLive[seat] = 0;
    seatState[seat] = kSeatLeft;
    const auto it = std::find(playersInHand.begin(), playersInHand.end(), seat);
    if (it != playersInHand.end())
        playersInHand.erase(it);
    else if (userSeatedHere == 1 && seat == userSeat)
        userSeatedHere = 0;
}

void TableState::setStack(int seat, float amount)
{
    if (isSeat(seat))
        stack[seat] = amount;
}

void TableState::setBet(int seat, float inFrontAmount, float stackAmount)
{
    if (!isSeat(seat))
        return;
    inFront[seat] = inFrontAmount;
    stack[seat] = stackAmount;
}

void TableState::setInFront(int seat, float amount)
{
    if (isSeat(seat))
        inFront[seat] = amount;
}

void TableState::fold(int seat, float stackAmount)
{
    if (!isSeat(seat))
        return;
    stack[seat] = stackAmount;
    ownCardsLive[seat] = 0;
    removeAll(playersInHand, seat);
    removeAll(dealOrder, seat);
}

void TableState::holdsCards(int seat)
{
    if (!isSeat(seat) || handInProgress != 1 || std::find(dealOrder.begin(), dealOrder.end(), seat) != dealOrder.end())
        return;
    if (std::find(playersInHand.begin(), playersInHand.end(), seat) == playersInHand.end())
        playersInHand.push_back(seat);
    dealOrder.push_back(seat);
    holeCardsDrawn[seat] = 2;
}

void TableState::showCards(int seat, int card1, int card2)
{
    if (!isSeat(seat))
        return;
    shownCards[seat] = {static_cast<std::int16_t>(card1), static_cast<std::int16_t>(card2)};
    cardsShown[seat] = 1;
}

void TableState::setOwnCards(int seat, int card1, int card2)
{
    if (!isSeat(seat))
        return;
    ownCardSeat.fill(0);
    ownCards = {static_cast<std::int16_t>(card1), static_cast<std::int16_t>(card2)};
    ownCardSeat[seat] = 1;
    ownCardsLive[seat] = 1;
}

void TableState::addToHand(int seat)
{
    if (isSeat(seat))
        playersInHand.push_back(seat);
}

void TableState::showBlindPrompt(float amount, int kind)
{
    userToAct = 1;
    promptKind = kind;
    blindAmount = amount;
    promptSetUp = 0;
}

void TableState::autoPostBlind(LineSender& sender, int tableId, int kind) const
{
    if (kind == kPromptBigBlind)
        sender.sendLine(postBigBlindMessage(tableId, userSeat));
    else if (kind == kPromptSmallBlind)
        sender.sendLine(postSmallBlindMessage(tableId, userSeat));
}

void TableState::startDeal()
{
    dealing = 1;
    handInProgress = 1;
    holeCardsDrawn.fill(0);
    if (playersInHand.size() < 2)
        return;
    std::vector<std::int32_t> order = playersInHand;
    std::sort(order.begin(), order.end());
    const auto last = std::find(order.rbegin(), order.rend(), dealerSeat);
    const std::size_t p = last == order.rend() ? 0 : static_cast<std::size_t>(order.rend() - last - 1);
    // Rotating by the whole length (dealer last) leaves the order as it is.
    std::rotate(order.begin(), order.begin() + static_cast<std::ptrdiff_t>((p + 1) % order.size()), order.end());
    dealOrder.clear();
    for (int copy = 0; copy < 3; ++copy)
        dealOrder.insert(dealOrder.end(), order.begin(), order.end());
    dealStep = 0;
}

} // namespace tessaly
