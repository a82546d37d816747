#pragma once
// Card codes as the wire carries them: (rank - 2) * 4 + suit, rank 2..14
// (ace 14), suit 0 diamonds, 1 hearts, 2 clubs, 3 spades; 69 is no card.

#include <string>

namespace tessaly::house {

constexpr int kNoCard = 69;
constexpr int kDeckSize = 52;

constexpr int cardRank(int card) { return card / 4 + 2; }
constexpr int cardSuit(int card) { return card % 4; }
constexpr int makeCard(int rank, int suit) { return (rank - 2) * 4 + suit; }

// "A:s", "T:h": the suit as the chat's suit token, so the table's chat log
// shows a suit picture after the rank.
std::string cardChatText(int card);

// Parses "As", "Td", "2c" (rank letter, suit letter); -1 when malformed.
int parseCard(const std::string& text);

// "Ace", "Ten"; plural "Aces", "Sixes".
const char* rankName(int rank);
const char* rankPlural(int rank);

} // namespace tessaly::house
