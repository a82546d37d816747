#include "server/protocol/ChatText.h"

#include <array>

namespace tessaly::house {
namespace {

// The client finds these anywhere in a line, with exact case.
constexpr std::array<std::string_view, 17> kTriggers{
    "USER_MONEY:", "HISTORY_PACKET:", "HISTORY_CLEARTABLE:", "COMM_CARDS:", "HISTORY_DEALER:",
    "HISTORY_ONBUTTON:", "INIT_EMPTY:", "YOUR_MONEY_PM:", "LOGIN_FAIL", "LOGIN_SUCCESS",
    "START_TABLE", "REG_SUCCESS", "REG_EMAIL", "REG_FAIL", "SEND_MESSAGE:", "hand starting",
    "Dealing down hole cards",
};

// "_" or " " in each trigger becomes "-": "LOGIN-FAIL", "hand-starting".
// No trigger holds a "-", so the replacement cannot form a new one.
void defuse(std::string& text)
{
    for (std::string_view trigger : kTriggers) {
        for (std::size_t at = text.find(trigger); at != std::string::npos; at = text.find(trigger, at)) {
            text[at + trigger.find_first_of("_ ")] = '-';
        }
    }
}

} // namespace

bool holdsClientTrigger(std::string_view text)
{
    for (std::string_view trigger : kTriggers) {
        if (text.find(trigger) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string cleanChatText(std::string_view text)
{
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool continuation = (c & 0xC0) == 0x80;
        if (!continuation && characters == kMaxChatLength)
            break;
        if (!continuation)
            ++characters;
        out += (c < 32 || c == 127) ? ' ' : static_cast<char>(c);
    }
    defuse(out);
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const std::size_t last = out.find_last_not_of(' ');
    return out.substr(first, last - first + 1);
}

} // namespace tessaly::house
