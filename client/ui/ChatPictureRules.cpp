#include "client/ui/ChatPictureRules.h"

#include <algorithm>
#include <utility>

namespace tessaly {

const std::array<ChatPictureToken, kChatPictureCount>& chatPictureTokens()
{
    static constexpr std::array<ChatPictureToken, kChatPictureCount> kTokens{{
        {":)", "images/chat_smile.bmp"},
        {";)", "images/chat_wink.bmp"},
        {":/", "images/chat_think.bmp"},
        {":|", "images/chat_neutral.bmp"},
        {":\\", "images/chat_think2.bmp"},
        {":D", "images/chat_grin.bmp"},
        {":(", "images/chat_sad.bmp"},
        {":o", "images/chat_shock.bmp"},
        {":O", "images/chat_shock.bmp"},
        {":p", "images/chat_tongue.bmp"},
        {":P", "images/chat_tongue.bmp"},
        {":x", "images/chat_crossedlips.bmp"},
        {":X", "images/chat_crossedlips.bmp"},
        {";(", "images/chat_cry.bmp"},
        {"B)", "images/chat_cool.bmp"},
        {"8-)", "images/chat_cool.bmp"},
        {"O:)", "images/chat_angel.bmp"},
        {":h", "images/chat_suit_h.bmp"},
        {":s", "images/chat_suit_s.bmp"},
        {":d", "images/chat_suit_d.bmp"},
        {":c", "images/chat_suit_c.bmp"},
        {"[card]", "images/chat_card.bmp"},
        {"[chip]", "images/chat_chip.bmp"},
        {"[n]", "images/chat_n.bmp"},
        {"[y]", "images/chat_y.bmp"},
    }};
    return kTokens;
}

std::vector<ChatRun> chatRuns(std::string_view message, bool picturesShown)
{
    std::vector<ChatRun> runs;
    if (!picturesShown) {
        std::string text(message);
        constexpr std::array<std::string_view, 4> kSuits{":s", ":d", ":h", ":c"};
        const bool suit = std::any_of(kSuits.begin(), kSuits.end(),
                                      [&](std::string_view token) { return message.find(token) != message.npos; });
        if (suit)
            text.erase(std::remove(text.begin(), text.end(), ':'), text.end());
        if (!text.empty())
            runs.push_back({std::move(text)});
        return runs;
    }
    const auto& tokens = chatPictureTokens();
    std::string pending;
    for (std::size_t p = 0; p < message.size();) {
        const std::string_view rest = message.substr(p);
        const auto match = std::find_if(tokens.begin(), tokens.end(),
                                        [&](const ChatPictureToken& entry) { return rest.starts_with(entry.token); });
        if (match == tokens.end()) {
            pending += message[p++];
            continue;
        }
        if (!pending.empty())
            runs.push_back({std::exchange(pending, {})});
        runs.push_back({std::string(match->token), static_cast<int>(match - tokens.begin())});
        p += match->token.size();
    }
    if (!pending.empty())
        runs.push_back({std::move(pending)});
    return runs;
}

} // namespace tessaly
