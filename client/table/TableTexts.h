#pragma once
// The texts the table drawing writes: chip counts in the player boxes, the
// action word of the announcement and the hand-number lines; and the game
// type's name that the table list and the buy-in dialogs show.

#include <string>
#include <string_view>

namespace tessaly {

// Chips in front of a player: "%0.2f" when the amount minus its floor is at
// least 0.005, else "%i" of the amount cut toward zero (12.5 -> "12.50",
// 12.004 -> "12"). C locale.
std::string chipCountText(float amount);

// The word of the action announcement for a history kind: "Call", "Fold",
// "Raise", "Check"; empty for every other kind.
std::string_view actionWord(int historyKind);

// Game type code: 1000 "No Limit", 1001 "Pot Limit", any other "Fixed Limit".
const char* gameTypeText(int code);

inline constexpr std::string_view kThisHandPrefix = "This Hand ";
inline constexpr std::string_view kLastHandPrefix = "Last Hand ";
inline constexpr std::string_view kAllInText = "(ALL-IN)";

} // namespace tessaly
