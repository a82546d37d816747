#pragma once
// Everything a table frame is drawn from: the record's fields that the
// drawing reads and the window's animation state. Two frames with equal
// inputs (at the same size and scale) come out the same, so the second need
// not be drawn.

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "client/table/SeatLayout.h"
#include "client/table/TableAnimation.h"
#include "client/table/TableState.h"

namespace tessaly {

// Copies of the record's fields that some layer or animation step reads.
// The turn marker counts only while it is on.
inline auto drawnFields(const TableState& t)
{
    std::array<float, kDrawnPots> pots{};
    std::copy_n(t.pots.begin(), kDrawnPots, pots.begin());
    return std::make_tuple(t.holeCardsDrawn, t.dealStep, t.dealing, t.dealOrder, t.thisHandText, t.lastHandText,
                           t.userWon, t.historyPending, t.historySeat, t.historyKind, t.actionLabelFade[0], t.allIn,
                           t.boardAnimation, t.dealerSeat, t.blinkWord != 0 ? t.actingSeat : kNoSeat, t.flopDrawn,
                           t.turnDrawn, t.riverDrawn, t.rake, t.seatCount, t.board, pots, t.handInProgress,
                           t.userSeatedHere, t.seatOccupied, t.stack, t.playerName, t.inFront, t.seatState,
                           t.ownCardsLive, t.ownCards, t.cardsShown, t.ownCardSeat, t.shownCards, t.wonAmount,
                           t.winnerFrames, t.turnWarned, t.userSeat);
}

struct FrameInputs {
    decltype(drawnFields(std::declval<const TableState&>())) record;
    TableAnimation animation;

    bool operator==(const FrameInputs&) const = default;
};

inline FrameInputs frameInputs(const TableState& table, const TableAnimation& animation)
{
    return {drawnFields(table), animation};
}

} // namespace tessaly
