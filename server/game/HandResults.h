#pragma once
// The end of a hand as the table sees it: the showdown's cards turned up or
// mucked, the dealer's words on who wins what, the chips pushed to the
// winners, and afterwards the cards a player may still choose to show.

#include "server/game/BotTalk.h"
#include "server/game/HandState.h"
#include "server/game/SeatRoster.h"
#include "server/game/TableChannel.h"
#include "server/game/TableConfig.h"

namespace tessaly::house {

class HandResults {
public:
    HandResults(const TableConfig& config, TableChannel& channel, SeatRoster& roster, BotTalk& talk)
        : config_(config), channel_(channel), roster_(roster), talk_(talk)
    {
    }

    // A new hand starts: the last one's cards can no longer be shown.
    void forget() { last_ = LastHand{}; }
    // Settles every pot after the river; returns every chip won.
    Chips showdown(Hand& h);
    // Everyone else folded: the pot goes to seat s; returns it.
    Chips awardUncontested(Hand& h, int s);

    // The winner without a showdown shows his cards.
    void bragOkay(AccountId account);
    // A loser at the showdown shows the cards he was asked to muck or show.
    void showLost(AccountId account, int seat);

private:
    void showCards(int s, const std::array<int, 2>& cards);

    const TableConfig& config_;
    TableChannel& channel_;
    SeatRoster& roster_;
    BotTalk& talk_;
    LastHand last_;
};

} // namespace tessaly::house
