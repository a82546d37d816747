#pragma once
// The dealer of one table: a hold'em hand after the other, as a state
// machine on timers. It picks the button, asks for the blinds, deals,
// prompts each player in turn (bots think, people have a turn clock),
// runs the betting rounds and streets, and hands a finished hand to
// HandResults before the books are written and the next hand is set.

#include "server/game/BotTalk.h"
#include "server/game/HandResults.h"
#include "server/game/HandState.h"
#include "server/game/SeatRoster.h"
#include "server/game/TableChannel.h"
#include "server/game/TableConfig.h"
#include "server/game/TableStats.h"
#include "server/game/Timers.h"
#include "server/poker/Betting.h"
#include "server/poker/Random.h"

#include <optional>

namespace tessaly::house {

class HandFlow {
public:
    // random: decks and the first button; botRandom: the bots' play and talk.
    HandFlow(const TableConfig& config, const TableSettings& settings, TableChannel& channel, SeatRoster& roster,
             HandResults& results, TableStats& stats, RandomStream& random, RandomStream& botRandom);

    const Hand* hand() const { return hand_ ? &*hand_ : nullptr; }
    // The button of the last hand; -1 before the first.
    int button() const { return button_; }
    bool dealtIn(int s) const { return hand_ && hand_->p[s].dealt; }
    bool live(int s) const { return hand_ && hand_->p[s].live(); }
    Chips potTotal() const { return hand_ ? hand_->potTotal() : 0; }
    bool closed() const { return closed_; }

    // Someone sat down or came back: a hand starts soon unless one runs.
    void playersChanged();

    // A seated person's requests; anything that does not fit the moment is ignored.
    void reply(int s, int code, Chips amount);
    void postBlind(int s, bool big);
    // Refuses the blind the dealer waits for from s; false when it waits for none.
    bool refuseBlindAsked(int s);
    // The player at s leaves inside the hand he was dealt: he folds, what is
    // behind goes home, and the seat stays taken until the hand is over.
    void leave(int s);

    // Ends the hand in progress with every bet returned; no more hands.
    void close();

private:
    Millis pause(int ms) const;
    void scheduleHand(Millis delay);
    void startHand();
    void askBlind(Waiting which);
    void postBlindAt(int s, bool big);
    void refuseBlind(int s);
    void dealHoleCards();
    void startRound(int first);
    void promptFrom(int after);
    void prompt(int s);
    void botTurn(int s);
    void turnTimedOut(int s);
    void act(int s, Action action);
    void endRound();
    void returnUncalled();
    void sendPots();
    void advanceStreet();
    void dealStreet();
    void showAllLive();
    void finishHand(Millis delay);
    void cancelHand();
    void refundHand();
    void stopTimers();

    bool needsToAct(int s) const;
    BetOptions optionsFor(int s) const;

    const TableConfig& config_;
    const TableSettings& settings_;
    TableChannel& channel_;
    SeatRoster& roster_;
    HandResults& results_;
    TableStats& stats_;
    RandomStream& random_;
    RandomStream& botRandom_;
    Timers& timers_;
    std::optional<Hand> hand_;
    int button_ = -1;
    bool closed_ = false;
    Timer dealerTimer_;
    Timer turnTimer_;
    Timer wakeTimer_;
};

} // namespace tessaly::house
