#pragma once
// The betting rules of the three game types: what a player to act may do,
// which prompt kind the client gets for it, and how a client's answer (or a
// bot's choice) becomes a legal action.

#include "server/poker/Chips.h"

namespace tessaly::house {

enum class GameType { NoLimit = 1000, PotLimit = 1001, FixedLimit = 1002 };

const char* gameTypeText(GameType type);

// Fixed limit: a bet and three raises per betting round.
constexpr int kFixedLimitBetsPerRound = 4;

struct BetSituation {
    GameType type = GameType::NoLimit;
    Chips bigBlind = 0;
    bool bigStreet = false;     // turn and river: the fixed-limit bet doubles
    Chips stack = 0;            // the player's chips behind
    Chips inFront = 0;          // the player's bet in this round
    Chips currentBet = 0;       // the highest bet in this round
    Chips lastRaise = 0;        // size of the last full bet or raise (at least the big blind)
    Chips potTotal = 0;         // every chip in the middle, this round's bets included
    int betsThisRound = 0;      // fixed limit: bets and raises so far (the big blind counts)
    bool raiseReopened = true;  // false after a short all-in when the player has already acted
    bool opponentCanAct = true; // someone else still has chips to answer a raise
};

struct BetOptions {
    Chips toCall = 0;     // chips the call puts in (at most the stack)
    bool mayRaise = false;
    Chips minRaiseTo = 0; // smallest legal bet or raise, as a round total
    Chips maxRaiseTo = 0; // largest legal bet or raise, as a round total
    Chips allIn = 0;      // the player's whole stack as a round total
    bool callIsAllIn = false;
};

BetOptions betOptions(const BetSituation& s);

// Prompt kinds of "ACTION:".
enum class PromptKind { CheckOrBet = 0, AllInOrFold = 1, CallOrRaise = 2, CallOrAllIn = 22 };

PromptKind promptKind(const BetOptions& o);

enum class ActionType { Fold, Check, Call, Raise };

struct Action {
    ActionType type = ActionType::Fold;
    Chips raiseTo = 0; // for Raise: the round total
};

// Reply codes of "REPLY:".
enum class ReplyCode { Call = 3, Fold = 4, Raise = 5, Check = 6, AllIn = 7 };

// Takes any answer to the nearest legal action: a raise outside the limits
// is brought inside them, an answer that cannot stand is a check when that
// is free and a fold otherwise.
Action legalAction(const BetOptions& o, int replyCode, Chips amount);

} // namespace tessaly::house
