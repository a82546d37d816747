#include "server/game/BotTalk.h"

#include <string>

namespace tessaly::house {
namespace {

// A pot this many big blinds is big enough to talk about.
constexpr Chips kBigPotBlinds = 20;

} // namespace

void BotTalk::say(std::string_view bot, BotMood mood)
{
    if (const std::string line = botChat(mood, random_); !line.empty())
        channel_.chat(bot, line);
}

void BotTalk::afterWin(const Seat& seat, Chips won, Chips bigBlind)
{
    if (seat.bot() && won >= kBigPotBlinds * bigBlind)
        say(seat.name, BotMood::WonBig);
}

void BotTalk::afterLoss(const Seat& seat, Chips putIn, Chips bigBlind)
{
    if (seat.bot() && putIn >= kBigPotBlinds * bigBlind)
        say(seat.name, BotMood::LostBig);
}

bool BotTalk::showsUncalledHand()
{
    return random_.chance(0.08);
}

} // namespace tessaly::house
