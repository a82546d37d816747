#include "server/game/TableConfig.h"

#include "server/protocol/ChatText.h"
#include "server/protocol/Money.h"

#include <sstream>

namespace tessaly::house {
namespace {

TableConfig table(std::string name, GameType type, int seats, Chips sb, Chips bb, Chips minBuyIn, Chips maxBuyIn)
{
    return TableConfig{std::move(name), type, seats, sb, bb, minBuyIn, maxBuyIn};
}

std::string moneyPair(Chips a, Chips b)
{
    return moneyText(a) + "/" + moneyText(b);
}

std::string describeLine(int number, const std::string& why)
{
    return "line " + std::to_string(number) + ": " + why;
}

} // namespace

std::string TableConfig::stakesText() const
{
    if (type == GameType::FixedLimit)
        return moneyPair(bigBlind, 2 * bigBlind);
    return moneyPair(smallBlind, bigBlind);
}

std::vector<TableConfig> defaultRoom()
{
    const Chips c = 1; // one cent
    const Chips u = kChipsPerUnit;
    return {
        table("Aldergrove", GameType::NoLimit, 10, 5 * c, 10 * c, 2 * u, 10 * u),
        table("Brackenridge", GameType::PotLimit, 6, 10 * c, 25 * c, 5 * u, 25 * u),
        table("Cinderfall", GameType::FixedLimit, 10, 25 * c, 50 * c, 5 * u, 50 * u),
        table("Driftwood Bay", GameType::NoLimit, 6, 50 * c, 1 * u, 20 * u, 100 * u),
        table("Emberlight", GameType::PotLimit, 10, 1 * u, 2 * u, 40 * u, 200 * u),
        table("Foxhollow", GameType::FixedLimit, 6, 1 * u, 2 * u, 20 * u, 200 * u),
        table("Glasswater", GameType::NoLimit, 10, 2 * u, 5 * u, 100 * u, 500 * u),
        table("Harrowgate High", GameType::NoLimit, 6, 5 * u, 10 * u, 200 * u, 1000 * u),
    };
}

std::vector<TableConfig> parseTables(std::string_view text, std::string* error)
{
    std::vector<TableConfig> out;
    std::istringstream in{std::string(text)};
    std::string line;
    int number = 0;
    const auto fail = [&](const std::string& why) {
        if (error)
            *error = describeLine(number, why);
        out.clear();
        return out;
    };
    while (std::getline(in, line)) {
        ++number;
        if (const std::size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string game, seats, sb, bb, minBuyIn, maxBuyIn;
        if (!(words >> game))
            continue;
        if (!(words >> seats >> sb >> bb >> minBuyIn >> maxBuyIn))
            return fail("expected: game seats small-blind big-blind min-buy-in max-buy-in name");
        std::string name;
        std::getline(words >> std::ws, name);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
            name.pop_back();

        TableConfig t;
        if (game == "NL")
            t.type = GameType::NoLimit;
        else if (game == "PL")
            t.type = GameType::PotLimit;
        else if (game == "FL")
            t.type = GameType::FixedLimit;
        else
            return fail("game must be NL, PL or FL");
        if (seats == "6" || seats == "10")
            t.seats = std::stoi(seats);
        else
            return fail("a table has 6 or 10 seats");
        const auto amount = [](const std::string& w) { return parseMoney(w).value_or(0); };
        t.smallBlind = amount(sb);
        t.bigBlind = amount(bb);
        t.minBuyIn = amount(minBuyIn);
        t.maxBuyIn = amount(maxBuyIn);
        if (t.smallBlind <= 0 || t.bigBlind < t.smallBlind)
            return fail("the blinds must be positive, the small one not above the big one");
        if (t.minBuyIn < t.bigBlind || t.maxBuyIn < t.minBuyIn)
            return fail("the buy-ins must be at least the big blind, the minimum not above the maximum");
        if (name.empty() || name.size() > 127 || name.find('\t') != std::string::npos)
            return fail("a table needs a name of 1 to 127 characters without tabs");
        if (holdsClientTrigger(name))
            return fail("the name holds a word the client acts upon: " + name);
        t.name = name;
        out.push_back(std::move(t));
        if (out.size() > kMaxTables)
            return fail("at most 50 tables");
    }
    if (out.empty() && error && error->empty())
        *error = "no tables";
    return out;
}

} // namespace tessaly::house
