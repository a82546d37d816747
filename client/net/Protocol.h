#pragma once
// The code tables that the client and the game server share, and the limits
// of the client's records.

#include <cstdint>

namespace tessaly {

inline constexpr int kTableCount = 50;   // table ids 0 to 49
inline constexpr int kSeatCount = 10;    // seats 0 to 9 (six-seat tables use 0 to 5)
inline constexpr int kNoSeat = 69;       // seat fields: no seat
inline constexpr int kNoCard = 69;       // card fields: face down or not dealt
inline constexpr int kCardCount = 52;    // card = (rank - 2) * 4 + suit
inline constexpr int kMaxPots = 10;
inline constexpr int kMaxPlayerListEntries = 10;

// Seat state codes.
inline constexpr int kSeatPlaying = 2002;
inline constexpr int kSeatSittingOut = 2003;
inline constexpr int kSeatLeft = 2004;

// Phase codes of "INIT:" that mean no hand is in progress.
inline constexpr int kPhaseIdle1 = 1001;
inline constexpr int kPhaseIdle2 = 1002;

// Board codes of "COMM_CARDS:".
inline constexpr int kBoardFlop = 1004;
inline constexpr int kBoardTurn = 1005;
inline constexpr int kBoardRiver = 1006;

// Game type codes of the table list; any other code is fixed limit.
inline constexpr int kGameNoLimit = 1000;
inline constexpr int kGamePotLimit = 1001;
inline constexpr int kGameFixedLimit = 1002;

// Prompt kinds.
inline constexpr int kPromptCheckOrBet = 0;
inline constexpr int kPromptAllInOrFold = 1;
inline constexpr int kPromptCallOrRaise = 2;
inline constexpr int kPromptCallOnly = 22;
inline constexpr int kPromptBigBlind = 100;
inline constexpr int kPromptSmallBlind = 101;

// Reply codes of "REPLY:".
inline constexpr int kReplyCall = 3;
inline constexpr int kReplyFold = 4;
inline constexpr int kReplyRaise = 5;
inline constexpr int kReplyCheck = 6;
inline constexpr int kReplyAllIn = 7;

// History kinds of "HISTORY_PACKET:".
inline constexpr int kHistoryCall = 3;
inline constexpr int kHistoryFold = 4;
inline constexpr int kHistoryRaise = 5;
inline constexpr int kHistoryCheck = 6;
inline constexpr int kHistoryAllIn = 7;
inline constexpr int kHistoryStack = 8;
inline constexpr int kHistoryInFront = 10;

inline constexpr bool isTableId(int t) { return t >= 0 && t < kTableCount; }
inline constexpr bool isSeat(int s) { return s >= 0 && s < kSeatCount; }
inline constexpr bool isCard(int c) { return (c >= 0 && c < kCardCount) || c == kNoCard; }

} // namespace tessaly
