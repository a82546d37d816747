#pragma once
// What the table says to a screen reader on its own (the prompts) and when
// asked (the user's cards, the board, the pot, a seat), from the table's
// record alone. Amounts follow the amount-text rule.

#include <optional>
#include <string>

namespace tessaly {

struct HandEvent;
struct TableState;

// "ace of spades, king of hearts": the named cards of a list, skipping
// codes that are no card.
std::string spokenCards(std::initializer_list<int> codes);

// "Your cards: ace of spades, king of hearts" or "You hold no cards".
std::string myCardsText(const TableState& table);
// "Board: 9 of diamonds, 10 of hearts, 8 of spades" or "No board cards".
std::string boardText(const TableState& table);
// "Pot 0.75, to call 0.20" or "Pot 0.75, nothing to call".
std::string potText(const TableState& table);
// "Seat 3: Oberon, 9.60, dealer, folded"; "Seat 4: empty". Seats count
// from 1, as the table shows them.
std::string seatText(const TableState& table, int seat);

// The pending prompt: "Your turn: call 0.20, raise to at least 0.40, pot
// 0.75, 15 seconds" (the seconds when known); the blinds and the show or
// muck offers too. Nothing when no prompt is pending.
std::optional<std::string> promptText(const TableState& table, std::optional<int> seconds = std::nullopt);

// An event of the hand as it is spoken when it happens: "Nimbus raises to
// 0.60", "Flop: 9 of diamonds, 10 of hearts, 8 of spades", "Marlowe wins
// 4.35 with a straight". Nothing for the user's own actions (the user
// chose them), for the start of a hand and for the log's own notices.
std::optional<std::string> spokenEvent(const HandEvent& event, const TableState& table);

} // namespace tessaly
