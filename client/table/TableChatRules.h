#pragma once
// The table chat's rules that need no window: how a line is styled, the hand
// numbers the dealer announces, and what becomes of the user's chat input.

#include <string>
#include <string_view>

namespace tessaly {

struct TableState;

enum class ChatLineKind {
    DealerResult,   // "Dealer: " bold black, the text bold blue
    Dealer,         // "Dealer: " bold black, the text black
    Player,         // "name: " bold blue, the text blue
};

// The label "sender: " begins with "Dealer:" in any case: the dealer (so a
// player named "Dealer" is styled as the dealer). Results are dealer lines
// that hold "chips with", "wins with" or "looses with".
ChatLineKind chatLineKind(std::string_view sender, std::string_view text);

// A dealer line holding "hand starting": its first blank-separated word
// becomes thisHandText, the former one (if any) lastHandText.
void takeHandNumbers(TableState& table, std::string_view dealerText);

inline constexpr int kMaxChatCharacters = 199;

enum class ChatInputVerdict { Nothing, LogIn, TooLong, Send };

// Empty: nothing; logged out: log in first; 200 characters or more: too
// long; otherwise send. Characters are Unicode code points of the UTF-8 text.
ChatInputVerdict chatInputVerdict(std::string_view text, bool loggedIn);

// The text as it goes on the wire: tabs and line breaks, which would cut the
// message's fields, become blanks.
std::string chatWireText(std::string_view text);

} // namespace tessaly
