#pragma once
// What a screen reader says about a table that is drawn, not made of
// widgets: its name, the board, the pots and whose turn it is.

#include <string>
#include <string_view>

namespace tessaly {

struct TableState;

// "ace of spades", "10 of hearts"; empty for a code that is no card.
std::string spokenCardName(int code);

// "Table Marsh. Board: 7 of hearts, jack of spades, 2 of clubs. Pots: 40,
// 12.50. To act: ann." Parts with nothing to say are left out.
std::string tableDescription(const TableState& table, std::string_view tableName);

} // namespace tessaly
