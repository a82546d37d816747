#pragma once
// Table records in the middle of a hand, for drawing tests, benchmarks and
// screenshots. Header-only and free of Qt.

#include <string>

#include "client/table/TableState.h"

namespace tessaly::scenes {

inline constexpr const char* kNames[kSeatCount] = {"ann", "Bartholomew", "cy", "dee_44", "eve",
                                                   "Fitzgerald", "gus", "hal", "ivy", "jo"};

// Every seat of the layout taken and dealt two cards (the user's own face
// up at `ownSeat`), the whole board out, a bet in front of every seat, the
// pots, the dealer, the player to act with the marker on, and an
// announcement fading in front of seat 1.
inline TableState midHand(int seatCount, int ownSeat = 4)
{
    TableState t;
    t.seatCount = seatCount;
    const int seats = seatCount == 10 ? 10 : 6;
    for (int seat = 0; seat < seats; ++seat) {
        t.seatPlayer(seat, kNames[seat], 100.0f + 37.25f * static_cast<float>(seat), 0.0f, kSeatPlaying);
        t.seatState[static_cast<std::size_t>(seat)] = kSeatPlaying;
        t.addToHand(seat);
        t.setInFront(seat, 0.5f + 2.25f * static_cast<float>(seat));
    }
    t.dealerSeat = 2;
    t.startDeal();
    for (int seat = 0; seat < seats; ++seat)
        t.holeCardsDrawn[static_cast<std::size_t>(seat)] = 2;
    t.dealStep = 2 * seats;
    t.userSeatedHere = 1;
    t.userSeat = ownSeat;
    t.setOwnCards(ownSeat, 48, 45);   // ace of diamonds, king of hearts
    t.board = {12, 25, 38, 51, 0};
    t.flopDrawn = t.turnDrawn = t.riverDrawn = 1;
    const float pots[] = {125.5f, 40.0f, 12.25f, 7.0f, 3.5f, 1.0f, 0.5f};
    for (std::size_t pot = 0; pot < std::size(pots); ++pot)
        t.pots[pot] = pots[pot];
    t.rake = 1.5f;
    t.actingSeat = 5;
    t.blinkWord = 1;
    t.historyPending = 1;
    t.historySeat = 1;
    t.historyKind = kHistoryRaise;
    t.allIn[7 % seats] = 1;
    t.thisHandText = "#200714";
    t.lastHandText = "#200713";
    return t;
}

// The end of a hand: two players show their cards, one shows only one, the
// user has won the pot and the banner is up.
inline TableState showdown(int seatCount)
{
    TableState t = midHand(seatCount, 0);
    t.clearBets();
    t.historyPending = 0;
    t.actingSeat = kNoSeat;
    t.showCards(1, 40, 41);
    t.showCards(3, 8, kNoCard);
    t.pots = {};
    t.pots[0] = 212.75f;
    t.userWon = 1;
    t.playerSatOut(5);
    return t;
}

// The start of a hand: blinds in, the hole cards on their way (three frames
// into the second card of the deal) and the button gliding from the last
// dealer to this one.
inline TableState dealing(int seatCount)
{
    TableState t = midHand(seatCount);
    t.board.fill(kNoCard);
    t.flopDrawn = t.turnDrawn = t.riverDrawn = 0;
    t.pots = {};
    t.clearBets();
    t.setInFront(3, 0.5f);
    t.setInFront(4, 1.0f);
    t.historyPending = 0;
    t.holeCardsDrawn = {};
    t.holeCardsDrawn[3] = 1;
    t.dealStep = 1;
    return t;
}

} // namespace tessaly::scenes
