#include "client/net/ClientMessages.h"

#include "client/net/MoneyFormat.h"
#include "client/net/Protocol.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

// Texts go in with their length, so a text may hold any byte but NUL.
std::string withText(const char* keyword, std::string_view text)
{
    std::string out(keyword);
    out += '\t';
    out += text;
    out += '\r';
    return out;
}

} // namespace

std::string loginMessage(std::string_view name, std::string_view password)
{
    std::string out = "LOGIN:\t";
    out.append(name).append("\t").append(password).append("\r");
    return out;
}

std::string registerPlayerMessage(std::string_view screenName, std::string_view password, std::string_view email)
{
    std::string out = "REGISTER_PLAYER:\t";
    out.append(screenName).append("\t").append(password).append("\t").append(email).append("\r");
    return out;
}

std::string listTablesMessage() { return "LIST_TABLES"; }
std::string requestPlayersMessage(int t) { return formatC("REQUEST_PLAYERS:\t%d\r", t); }
std::string watchTableMessage(int t) { return formatC("WATCH_TABLE:\t%d\r", t); }

std::string joinGameMessage(std::string_view name, int t, int seat, float buyIn)
{
    std::string out = "JOIN_GAME:\t";
    out.append(name);
    out += formatC("\t%d\t%d\t", t, seat);
    out += moneyG(buyIn);
    return out;
}

std::string accountBalanceMessage(std::string_view name) { return withText("ACCOUNT_BALANCE_PM:", name); }
std::string replyMessage(int t, int replyCode) { return formatC("REPLY:\t%d\t%d\r", t, replyCode); }

std::string raiseReplyMessage(int t, float amount)
{
    return formatC("REPLY:\t%d\t%d\t%.2f\r", t, kReplyRaise, static_cast<double>(amount));
}

std::string postBigBlindMessage(int t, int s) { return formatC("xPBB:\t%d\t%d\t%.2f\r", t, s, 0.0); }
std::string postSmallBlindMessage(int t, int s) { return formatC("xPSB:\t%d\t%d\t%.2f\r", t, s, 0.0); }
std::string noPostMessage(int t) { return formatC("NO_POST:\t%d\r", t); }
std::string bragOkayMessage(int t) { return formatC("BRAG_OKAY:\t%d\r", t); }
std::string showLostMessage(int t, int s) { return formatC("SHOW_LOST:\t%d\t%d\r", t, s); }
std::string dealMeOutMessage(int t) { return formatC("DEAL_ME_OUT:\t%d\r", t); }
std::string imBackMessage(int t) { return formatC("IM_BACK:\t%d\r", t); }
std::string closeWindowMessage(int t) { return formatC("CLOSE_WINDOW:\t%d\r", t); }

std::string chatMessage(std::string_view name, int t, std::string_view text)
{
    std::string out = "SEND_MESSAGE:\t";
    out.append(name);
    out += formatC("\t%d\t", t);
    out.append(text).append("\t\r");
    return out;
}

// "%ld" of a 32-bit long on the original platform: long is 64 bits here, so
// the number is passed as the signed 32-bit value it printed as.
std::string entropyMessage(int t, std::int32_t number)
{
    return formatC("ENTROPY:\t%d\t%ld\r", t, static_cast<long>(number));
}

std::string quickCashierMessage(std::string_view name) { return withText("QUICK_CASHIER:", name); }

std::string quickChipsMessage(int t, int s, float amount)
{
    return formatC("QUICK_CHIPS:\t%d\t%d\t", t, s) + moneyG(amount) + "\r";
}

std::string reloadMoneyMessage(std::string_view name) { return withText("RELOAD_MONEY", name); }

std::int32_t entropyNumber(std::uint32_t x, std::uint32_t y, std::uint32_t counter)
{
    const std::uint32_t a = (x ^ y) + counter;
    const std::uint32_t b = x * 11u + y * 17u + counter * 23u;
    std::uint32_t r = a;
    for (std::uint32_t i = 0; i < (b & 7u) + 1u; ++i)
        r = (r * 1103515245u + 12345u) & 2147483647u;
    return static_cast<std::int32_t>(r + a);
}

} // namespace tessaly
