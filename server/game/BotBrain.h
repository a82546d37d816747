#pragma once
// How a house bot plays: it estimates its share of the pot against the
// players still in by dealing out the rest of the hand many times, weighs
// that against the price of staying in, and adds a little randomness and a
// personality so that bots are neither predictable nor all alike.

#include "server/poker/Betting.h"
#include "server/poker/Random.h"

#include <array>
#include <string>
#include <vector>

namespace tessaly::house {

struct BotStyle {
    double looseness = 0.5;  // 0 folds marginal hands, 1 plays them
    double aggression = 0.5; // 0 calls, 1 bets and raises
};

struct BotView {
    GameType type = GameType::NoLimit;
    std::array<int, 2> hole{};
    std::vector<int> board;
    int opponents = 1;      // live players besides the bot
    Chips pot = 0;          // every chip in the middle, bets included
    Chips currentBet = 0;   // the highest bet of this round
    Chips bigBlind = 0;
    BetOptions options;
};

// Estimated share of the pot (ties split) against `opponents` random hands.
double estimateEquity(const std::array<int, 2>& hole, const std::vector<int>& board, int opponents, int trials,
                      RandomStream& random);

// The bot's answer as a reply code and amount, as a client would send it;
// the table takes it through the same legality rule as a person's reply.
struct BotReply {
    int code;
    Chips amount;
};
BotReply decideBot(const BotView& view, const BotStyle& style, RandomStream& random);

// Chat lines, some with the chat's picture tokens; empty when the bot keeps quiet.
enum class BotMood { SatDown, WonBig, LostBig, Leaving, SittingOut, Idle };
std::string botChat(BotMood mood, RandomStream& random);

} // namespace tessaly::house
