#include "client/table/TableDescription.h"

#include <array>

#include "client/table/TableState.h"
#include "client/ui/AmountText.h"

namespace tessaly {

std::string spokenCardName(int code)
{
    if (code < 0 || code >= kCardCount)
        return {};
    static constexpr std::array<const char*, 13> kRanks{"2",  "3",    "4",     "5",    "6",   "7",  "8",
                                                        "9",  "10",   "jack",  "queen", "king", "ace"};
    static constexpr std::array<const char*, 4> kSuits{"diamonds", "hearts", "clubs", "spades"};
    return std::string(kRanks[static_cast<std::size_t>(code / 4)]) + " of " + kSuits[static_cast<std::size_t>(code % 4)];
}

std::string tableDescription(const TableState& table, std::string_view tableName)
{
    std::string text = "Table " + std::string(tableName) + ".";
    std::string board;
    for (const int card : table.board) {
        const std::string name = spokenCardName(card);
        if (!name.empty())
            board += (board.empty() ? "" : ", ") + name;
    }
    if (!board.empty())
        text += " Board: " + board + ".";
    std::string pots;
    for (const float pot : table.pots) {
        if (pot != 0.0f)
            pots += (pots.empty() ? "" : ", ") + amountText(pot);
    }
    if (!pots.empty())
        text += " Pots: " + pots + ".";
    if (isSeat(table.actingSeat) && table.seatOccupied[static_cast<std::size_t>(table.actingSeat)] == 1)
        text += " To act: " + table.playerName[static_cast<std::size_t>(table.actingSeat)].str() + ".";
    return text;
}

} // namespace tessaly
