#include "client/table/TableChatRules.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "client/table/TableState.h"

namespace tessaly {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != text.npos; }

std::size_t codePoints(std::string_view text)
{
    // Every byte that does not continue a UTF-8 sequence starts a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

ChatLineKind chatLineKind(std::string_view sender, std::string_view text)
{
    std::string label(sender);
    label += ": ";
    if (!startsWithNoCase(label, "Dealer:"))
        return ChatLineKind::Player;
    constexpr std::array<std::string_view, 3> kResults{"chips with", "wins with", "looses with"};
    const bool result =
        std::any_of(kResults.begin(), kResults.end(), [&](std::string_view r) { return contains(text, r); });
    return result ? ChatLineKind::DealerResult : ChatLineKind::Dealer;
}

void takeHandNumbers(TableState& table, std::string_view dealerText)
{
    if (!contains(dealerText, "hand starting"))
        return;
    const std::size_t start = dealerText.find_first_not_of(' ');
    const std::size_t end = dealerText.find(' ', start);
    const std::string_view word = dealerText.substr(start, end == dealerText.npos ? dealerText.npos : end - start);
    if (!table.thisHandText.empty())
        table.lastHandText = table.thisHandText;
    table.thisHandText = std::string(word);
}

ChatInputVerdict chatInputVerdict(std::string_view text, bool loggedIn)
{
    if (text.empty())
        return ChatInputVerdict::Nothing;
    if (!loggedIn)
        return ChatInputVerdict::LogIn;
    if (codePoints(text) > static_cast<std::size_t>(kMaxChatCharacters))
        return ChatInputVerdict::TooLong;
    return ChatInputVerdict::Send;
}

std::string chatWireText(std::string_view text)
{
    std::string wire(text);
    std::replace_if(wire.begin(), wire.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return wire;
}

} // namespace tessaly
