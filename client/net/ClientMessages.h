#pragma once
// Every message the client sends, as the exact text that goes to sendLine
// (which adds the terminating NUL). "t" is a table id, "s" a seat.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

std::string loginMessage(std::string_view name, std::string_view password);
std::string registerPlayerMessage(std::string_view screenName, std::string_view password, std::string_view email);
std::string listTablesMessage();   // no carriage return
std::string requestPlayersMessage(int t);
std::string watchTableMessage(int t);
std::string joinGameMessage(std::string_view name, int t, int seat, float buyIn);   // no carriage return
std::string accountBalanceMessage(std::string_view name);
std::string replyMessage(int t, int replyCode);     // codes 3, 4, 6, 7
std::string raiseReplyMessage(int t, float amount); // code 5 with its amount
std::string postBigBlindMessage(int t, int s);      // amount always "0.00"
std::string postSmallBlindMessage(int t, int s);
std::string noPostMessage(int t);
std::string bragOkayMessage(int t);
std::string showLostMessage(int t, int s);
std::string dealMeOutMessage(int t);
std::string imBackMessage(int t);
std::string closeWindowMessage(int t);
std::string chatMessage(std::string_view name, int t, std::string_view text);
std::string entropyMessage(int t, std::int32_t number);
std::string quickCashierMessage(std::string_view name);
std::string quickChipsMessage(int t, int s, float amount);
std::string reloadMoneyMessage(std::string_view name);

// The client's random number for "ENTROPY:" from the cursor's screen
// position and the low 32 bits of a high-resolution counter. All arithmetic
// wraps at 32 bits; the result is the sum read as a signed 32-bit number,
// as the message prints it.
std::int32_t entropyNumber(std::uint32_t x, std::uint32_t y, std::uint32_t counter);

} // namespace tessaly
