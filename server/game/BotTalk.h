#pragma once
// What the bots at a table say, and when: hello on sitting down, a word
// after a big win or a big loss, and now and then a winning hand turned up
// that nobody called.

#include "server/game/BotBrain.h"
#include "server/game/SeatRoster.h"
#include "server/game/TableChannel.h"
#include "server/poker/Random.h"

#include <string_view>

namespace tessaly::house {

class BotTalk {
public:
    // random: the table's bot stream, shared with the bots' play.
    BotTalk(TableChannel& channel, RandomStream& random) : channel_(channel), random_(random) {}

    void say(std::string_view bot, BotMood mood);
    // After a showdown: a bot that won, or lost what it put in, of 20 big
    // blinds or more may say so.
    void afterWin(const Seat& seat, Chips won, Chips bigBlind);
    void afterLoss(const Seat& seat, Chips putIn, Chips bigBlind);
    // Whether a bot that won without a showdown shows its cards.
    bool showsUncalledHand();

private:
    TableChannel& channel_;
    RandomStream& random_;
};

} // namespace tessaly::house
