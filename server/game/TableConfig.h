#pragma once
// The tables of the room: the built-in default and the "--tables" file.

#include "server/poker/Betting.h"
#include "server/poker/Chips.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly::house {

constexpr int kMaxTables = 50;

struct TableConfig {
    std::string name;
    GameType type = GameType::NoLimit;
    int seats = 10;
    Chips smallBlind = 0;
    Chips bigBlind = 0;
    Chips minBuyIn = 0;
    Chips maxBuyIn = 0;

    // As the lobby shows it: the blinds, or a fixed-limit game's small and
    // big bet ("0.05/0.10", "1/2").
    std::string stakesText() const;
};

std::vector<TableConfig> defaultRoom();

// One table per line: game (NL, PL or FL), seats (6 or 10), small blind,
// big blind, minimum and maximum buy-in, then the name; "#" starts a
// comment. On a fault: an empty list and error says which line and why.
std::vector<TableConfig> parseTables(std::string_view text, std::string* error);

} // namespace tessaly::house
