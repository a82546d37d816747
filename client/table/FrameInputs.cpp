#include "client/table/FrameInputs.h"

#include <algorithm>

namespace tessaly {

FrameInputs frameInputs(const TableState& table, const TableAnimation& animation)
{
    FrameInputs in;
    in.holeCardsDrawn = table.holeCardsDrawn;
    in.dealStep = table.dealStep;
    in.dealing = table.dealing;
    in.dealOrder = table.dealOrder;
    in.thisHandText = table.thisHandText;
    in.lastHandText = table.lastHandText;
    in.userWon = table.userWon;
    in.historyPending = table.historyPending;
    in.historySeat = table.historySeat;
    in.historyKind = table.historyKind;
    in.fade = table.actionLabelFade[0];
    in.allIn = table.allIn;
    in.boardAnimation = table.boardAnimation;
    in.dealerSeat = table.dealerSeat;
    in.markerSeat = table.blinkWord != 0 ? table.actingSeat : kNoSeat;
    in.flopDrawn = table.flopDrawn;
    in.turnDrawn = table.turnDrawn;
    in.riverDrawn = table.riverDrawn;
    in.rake = table.rake;
    in.seatCount = table.seatCount;
    in.board = table.board;
    std::copy_n(table.pots.begin(), kDrawnPots, in.pots.begin());
    in.handInProgress = table.handInProgress;
    in.userSeatedHere = table.userSeatedHere;
    in.seatOccupied = table.seatOccupied;
    in.stack = table.stack;
    in.playerName = table.playerName;
    in.inFront = table.inFront;
    in.seatState = table.seatState;
    in.ownCardsLive = table.ownCardsLive;
    in.ownCards = table.ownCards;
    in.cardsShown = table.cardsShown;
    in.ownCardSeat = table.ownCardSeat;
    in.shownCards = table.shownCards;
    in.animation = animation;
    return in;
}

} // namespace tessaly
