#pragma once
// The rules that turn what a server line says into hand events. Each reads
// the table's record as it was before the line changed it (a call's amount
// is what it adds to the seat's bet in front).

#include <optional>
#include <span>
#include <string_view>

#include "client/table/HandEvents.h"

namespace tessaly {

struct TableState;

// A "HISTORY_PACKET:" of seat s with its kind and its one or two amounts;
// none for stack updates and unknown kinds.
std::optional<HandEvent> historyEvent(const TableState& table, int seat, int kind, float first, float second);

// "COMM_CARDS:" with its board code and cards; none for other codes.
std::optional<HandEvent> boardEvent(int code, std::span<const int> cards);

// "SOME_CARDS:".
HandEvent showEvent(const TableState& table, int seat, int card1, int card2);

// A dealer line that tells a winner ("Nimbus wins 4.35 chips with a
// straight (main pot)"), an uncalled bet given back or a cancelled hand.
std::optional<HandEvent> dealerEvent(const TableState& table, std::string_view text);

// The hand number of a dealer line "1234 hand starting"; 0 for none.
int announcedHandNumber(std::string_view text);

// Whether a chat line's sender is the dealer.
bool isDealer(std::string_view sender);

// The seat whose player has this name; kNoSeat for none.
int seatOfName(const TableState& table, std::string_view name);

} // namespace tessaly
