#pragma once
// Every field of a table record and of the session values, by name, in
// declared order: visit(name, field) for each. One list serves printing and
// presetting, so neither can forget a field.

#include "client/table/ClientState.h"

namespace tessaly {

template <class Table, class Visit>
void forEachTableField(Table& t, Visit&& visit)
{
    visit("holeCardsDrawn", t.holeCardsDrawn);
    visit("dealStep", t.dealStep);
    visit("dealing", t.dealing);
    visit("dealOrder", t.dealOrder);
    visit("minBuyIn", t.minBuyIn);
    visit("maxBuyIn", t.maxBuyIn);
    visit("thisHandText", t.thisHandText);
    visit("lastHandText", t.lastHandText);
    visit("bringToFront", t.bringToFront);
    visit("bragOffered", t.bragOffered);
    visit("showLostOffered", t.showLostOffered);
    visit("userWon", t.userWon);
    visit("historyPending", t.historyPending);
    visit("historySeat", t.historySeat);
    visit("actionLabelFade", t.actionLabelFade);
    visit("historyKind", t.historyKind);
    visit("callAmount", t.callAmount);
    visit("minRaiseTo", t.minRaiseTo);
    visit("actionArrived", t.actionArrived);
    visit("userToAct", t.userToAct);
    visit("promptKind", t.promptKind);
    visit("blindAmount", t.blindAmount);
    visit("promptSetUp", t.promptSetUp);
    visit("autoPostBlinds", t.autoPostBlinds);
    visit("autoMuckLosing", t.autoMuckLosing);
    visit("sittingOut", t.sittingOut);
    visit("autoCheckFold", t.autoCheckFold);
    visit("allIn", t.allIn);
    visit("boardAnimation", t.boardAnimation);
    visit("dealerSeat", t.dealerSeat);
    visit("actingSeat", t.actingSeat);
    visit("blinkWord", t.blinkWord);
    visit("flopDrawn", t.flopDrawn);
    visit("turnDrawn", t.turnDrawn);
    visit("riverDrawn", t.riverDrawn);
    visit("rake", t.rake);
    visit("closed", t.closed);
    visit("tableName", t.tableName);
    visit("stakesText", t.stakesText);
    visit("gameType", t.gameType);
    visit("smallBlind", t.smallBlind);
    visit("bigBlind", t.bigBlind);
    visit("seatCount", t.seatCount);
    visit("playersSeated", t.playersSeated);
    visit("averagePot", t.averagePot);
    visit("board", t.board);
    visit("pots", t.pots);
    visit("chatSender", t.chatSender);
    visit("chatText", t.chatText);
    visit("chatQueue", t.chatQueue);
    visit("playersInHand", t.playersInHand);
    visit("handInProgress", t.handInProgress);
    visit("userSeatedHere", t.userSeatedHere);
    visit("seatOccupied", t.seatOccupied);
    visit("stack", t.stack);
    visit("playerName", t.playerName);
    visit("inFront", t.inFront);
    visit("raiseToCopy", t.raiseToCopy);
    visit("userSeat", t.userSeat);
    visit("seatState", t.seatState);
    visit("ownCardsLive", t.ownCardsLive);
    visit("ownCards", t.ownCards);
    visit("cardsShown", t.cardsShown);
    visit("ownCardSeat", t.ownCardSeat);
    visit("shownCards", t.shownCards);
}

template <class Session, class Visit>
void forEachSessionField(Session& s, Visit&& visit)
{
    visit("loggedIn", s.loggedIn);
    visit("screenName", s.screenName);
    visit("registrationDone", s.registrationDone);
    visit("playMoneyBalance", s.playMoneyBalance);
    visit("balanceSecondAmount", s.balanceSecondAmount);
    visit("balanceArrived", s.balanceArrived);
    visit("seatedSomewhere", s.seatedSomewhere);
    visit("cashierEmail", s.cashierEmail);
    visit("cashierAvailable", s.cashierAvailable);
    visit("cashierInAction", s.cashierInAction);
    visit("cashierTotal", s.cashierTotal);
    visit("cashierReplyState", s.cashierReplyState);
    visit("playerList", s.playerList);
    visit("playerListCount", s.playerListCount);
    visit("playerListReady", s.playerListReady);
    visit("tableCount", s.tableCount);
    visit("tableListRequested", s.tableListRequested);
    visit("tableListComplete", s.tableListComplete);
    visit("serverTimeText", s.serverTimeText);
    visit("liveUsers", s.liveUsers);
    visit("liveTables", s.liveTables);
    visit("openTableNames", s.openTableNames);
    visit("pendingJoin", s.pendingJoin);
    visit("pendingSeat", s.pendingSeat);
    visit("smileysShown", s.smileysShown);
}

} // namespace tessaly
