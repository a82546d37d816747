#include "server/game/BotBrain.h"

#include "server/poker/HandEvaluator.h"

#include <algorithm>
#include <cmath>

namespace tessaly::house {
namespace {

constexpr int kTrials = 160;

Chips roundTo(Chips amount, Chips unit)
{
    return unit > 0 ? std::max(unit, (amount + unit / 2) / unit * unit) : amount;
}

} // namespace

double estimateEquity(const std::array<int, 2>& hole, const std::vector<int>& board, int opponents, int trials,
                      RandomStream& random)
{
    opponents = std::clamp(opponents, 1, 9);
    bool used[52] = {};
    used[hole[0]] = used[hole[1]] = true;
    for (int c : board)
        used[c] = true;
    int rest[52];
    int restCount = 0;
    for (int c = 0; c < 52; ++c) {
        if (!used[c])
            rest[restCount++] = c;
    }
    const int boardNeeded = 5 - static_cast<int>(board.size());
    const int draw = boardNeeded + 2 * opponents;

    double share = 0;
    int mine[7];
    int theirs[7];
    for (int t = 0; t < trials; ++t) {
        // A partial Fisher-Yates gives the cards this trial needs.
        for (int i = 0; i < draw; ++i)
            std::swap(rest[i], rest[i + static_cast<int>(random.uniform(static_cast<std::uint32_t>(restCount - i)))]);
        int full[5];
        std::copy(board.begin(), board.end(), full);
        std::copy(rest, rest + boardNeeded, full + board.size());
        std::copy(full, full + 5, mine);
        std::copy(full, full + 5, theirs);
        mine[5] = hole[0];
        mine[6] = hole[1];
        const HandValue me = evaluateSeven(mine);
        int ties = 0;
        bool lost = false;
        for (int o = 0; o < opponents && !lost; ++o) {
            theirs[5] = rest[boardNeeded + 2 * o];
            theirs[6] = rest[boardNeeded + 2 * o + 1];
            const HandValue them = evaluateSeven(theirs);
            if (them > me)
                lost = true;
            else if (them == me)
                ++ties;
        }
        if (!lost)
            share += 1.0 / (1 + ties);
    }
    return share / trials;
}

BotReply decideBot(const BotView& v, const BotStyle& style, RandomStream& random)
{
    const BetOptions& o = v.options;
    const double equity =
        estimateEquity(v.hole, v.board, v.opponents, kTrials, random) + (random.unit() - 0.5) * 0.08;
    // What a fair share of the pot would be with this many players in.
    const double fair = 1.0 / (v.opponents + 1);
    const double strength = equity / fair; // 1.0: an average hand here

    // A raise to the current bet plus a fraction of the pot after calling,
    // in round amounts.
    const auto raiseTo = [&](double potFraction) {
        const Chips wanted = v.currentBet + static_cast<Chips>(potFraction * static_cast<double>(v.pot + o.toCall));
        const Chips unit = v.bigBlind >= 100 ? 100 : 5;
        return BotReply{5, std::clamp(roundTo(wanted, unit), o.minRaiseTo, o.maxRaiseTo)};
    };
    const double aggressive = 0.7 + 0.6 * style.aggression; // scales the bar for betting
    const bool bluff = random.chance(0.04 + 0.06 * style.aggression);

    if (o.toCall == 0) {
        if (o.mayRaise && (strength > 1.6 / aggressive || bluff))
            return raiseTo(0.4 + 0.5 * random.unit());
        return {6, 0};
    }
    const double price = static_cast<double>(o.toCall) / static_cast<double>(v.pot + o.toCall);
    if (o.mayRaise && strength > 2.1 / aggressive && random.chance(0.5 + 0.4 * style.aggression))
        return o.maxRaiseTo == o.allIn && strength > 2.8 && random.chance(0.3) ? BotReply{7, 0}
                                                                               : raiseTo(0.5 + 0.6 * random.unit());
    const double margin = 0.08 * (1.0 - style.looseness) - 0.04;
    if (equity >= price + margin || (bluff && price < 0.25))
        return {o.callIsAllIn ? 7 : 3, 0};
    return {4, 0};
}

std::string botChat(BotMood mood, RandomStream& random)
{
    static const std::vector<std::string> satDown{"hi all", "hello :)", "evening all", "gl everyone", "hey B)"};
    static const std::vector<std::string> wonBig{"ty :D", "ship it B)", "nice pot :)", "finally :p", "[chip][chip]"};
    static const std::vector<std::string> lostBig{"ouch :(", "nh", "unreal :o", "that river ;(", "sigh :/"};
    static const std::vector<std::string> leaving{"gn all", "off to bed, gl", "cya :)", "thx all, bye"};
    static const std::vector<std::string> sittingOut{"brb", "back in 5", "phone, brb :x"};
    static const std::vector<std::string> idle{"anyone seen a flush today?", "this table is cold :|",
                                               "nice deck tonight :h", "lol", "gl all O:)"};
    const std::vector<std::string>* lines = nullptr;
    double chance = 0;
    switch (mood) {
    case BotMood::SatDown: lines = &satDown, chance = 0.4; break;
    case BotMood::WonBig: lines = &wonBig, chance = 0.3; break;
    case BotMood::LostBig: lines = &lostBig, chance = 0.25; break;
    case BotMood::Leaving: lines = &leaving, chance = 0.6; break;
    case BotMood::SittingOut: lines = &sittingOut, chance = 0.6; break;
    case BotMood::Idle: lines = &idle, chance = 0.02; break;
    }
    if (!random.chance(chance))
        return {};
    return (*lines)[random.uniform(static_cast<std::uint32_t>(lines->size()))];
}

} // namespace tessaly::house
