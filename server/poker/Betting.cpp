#include "server/poker/Betting.h"

#include <algorithm>

namespace tessaly::house {

const char* gameTypeText(GameType type)
{
    switch (type) {
    case GameType::NoLimit:
        return "No Limit";
    case GameType::PotLimit:
        return "Pot Limit";
    case GameType::FixedLimit:
        return "Fixed Limit";
    }
    return "Fixed Limit";
}

BetOptions betOptions(const BetSituation& s)
{
    BetOptions o;
    const Chips owed = std::max<Chips>(0, s.currentBet - s.inFront);
    o.toCall = std::min(owed, s.stack);
    o.allIn = s.stack + s.inFront;
    o.callIsAllIn = owed > 0 && s.stack <= owed;

    const bool capped = s.type == GameType::FixedLimit && s.betsThisRound >= kFixedLimitBetsPerRound;
    o.mayRaise = s.stack > owed && s.raiseReopened && s.opponentCanAct && !capped;
    if (!o.mayRaise)
        return o;

    const Chips step = std::max(s.lastRaise, s.bigBlind);
    switch (s.type) {
    case GameType::NoLimit:
        o.minRaiseTo = s.currentBet + step;
        o.maxRaiseTo = o.allIn;
        break;
    case GameType::PotLimit:
        o.minRaiseTo = s.currentBet + step;
        // The raise may be as large as the pot after the call.
        o.maxRaiseTo = s.currentBet + s.potTotal + owed;
        break;
    case GameType::FixedLimit:
        o.minRaiseTo = s.currentBet + (s.bigStreet ? 2 * s.bigBlind : s.bigBlind);
        o.maxRaiseTo = o.minRaiseTo;
        break;
    }
    o.minRaiseTo = std::min(o.minRaiseTo, o.allIn);
    o.maxRaiseTo = std::clamp(o.maxRaiseTo, o.minRaiseTo, o.allIn);
    return o;
}

PromptKind promptKind(const BetOptions& o)
{
    if (o.toCall == 0)
        return PromptKind::CheckOrBet;
    if (o.callIsAllIn)
        return PromptKind::AllInOrFold;
    if (o.mayRaise && o.minRaiseTo < o.allIn)
        return PromptKind::CallOrRaise;
    return PromptKind::CallOrAllIn;
}

Action legalAction(const BetOptions& o, int replyCode, Chips amount)
{
    const Action checkOrFold{o.toCall == 0 ? ActionType::Check : ActionType::Fold, 0};
    const Action callOrCheck{o.toCall == 0 ? ActionType::Check : ActionType::Call, 0};
    switch (static_cast<ReplyCode>(replyCode)) {
    case ReplyCode::Fold:
        return {ActionType::Fold, 0};
    case ReplyCode::Check:
        return checkOrFold;
    case ReplyCode::Call:
        return callOrCheck;
    case ReplyCode::AllIn:
        amount = o.allIn;
        [[fallthrough]];
    case ReplyCode::Raise:
        if (!o.mayRaise)
            return callOrCheck;
        return {ActionType::Raise, std::clamp(amount, o.minRaiseTo, o.maxRaiseTo)};
    }
    return checkOrFold;
}

} // namespace tessaly::house
