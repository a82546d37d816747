#pragma once
// What a player's chat line may carry to every other client at the table.

#include <string>
#include <string_view>

namespace tessaly::house {

// The client's chat input sends fewer than 200 characters.
constexpr std::size_t kMaxChatLength = 199;

// Control characters become blanks, the text is cut to kMaxChatLength
// characters (never inside a UTF-8 sequence) and trimmed. Words that the
// client acts upon wherever they stand in a line (its protocol keywords and
// the dealer's "hand starting" and "Dealing down hole cards") are broken
// up, so that a player cannot steer other players' clients. Empty when
// nothing is left to say.
std::string cleanChatText(std::string_view text);

// Whether a text holds one of those words (a table name must not).
bool holdsClientTrigger(std::string_view text);

} // namespace tessaly::house
