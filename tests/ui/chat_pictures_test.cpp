// Cutting chat messages into text runs and picture tokens.

#include <gtest/gtest.h>

#include <set>

#include "client/ui/ChatPictureRules.h"

namespace tessaly {
namespace {

ChatRun text(std::string t) { return {std::move(t)}; }

// The run of the first table entry whose token is `token`.
ChatRun picture(std::string_view token)
{
    const auto& tokens = chatPictureTokens();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].token == token)
            return {std::string(token), static_cast<int>(i)};
    }
    ADD_FAILURE() << "no token " << token;
    return {};
}

std::string_view fileOf(const ChatRun& run)
{
    return chatPictureTokens().at(static_cast<std::size_t>(run.picture)).file;
}

TEST(ChatPictureRules, TokensBecomePicturesLeftToRightInTableOrder)
{
    struct Case {
        const char* message;
        std::vector<ChatRun> runs;
    };
    const Case cases[] = {
        {"hi :)", {text("hi "), picture(":)")}},
        {":D", {picture(":D")}},
        {":d", {picture(":d")}},
        {"O:)", {picture("O:)")}},
        // The letter stays text, then the angel starts at "O".
        {"xO:)", {text("x"), picture("O:)")}},
        {"8-)", {picture("8-)")}},
        {"B)", {picture("B)")}},
        {"b)", {text("b)")}},
        {":|:\\", {picture(":|"), picture(":\\")}},
        // Only tokens: only pictures, no empty text between them.
        {":):(;)[card][chip][y][n]",
         {picture(":)"), picture(":("), picture(";)"), picture("[card]"), picture("[chip]"), picture("[y]"),
          picture("[n]")}},
        // ":)" is tried before "O:)", but only where it starts: "O" comes first.
        {"O:))", {picture("O:)"), text(")")}},
        {"[card", {text("[card")}},
        {"", {}},
        {"naïve :x", {text("naïve "), picture(":x")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chatRuns(c.message, true), c.runs) << c.message;
}

TEST(ChatPictureRules, CaseDecidesThePictureAndSomeCasesShareOne)
{
    EXPECT_NE(fileOf(chatRuns(":D", true)[0]), fileOf(chatRuns(":d", true)[0]));
    EXPECT_EQ(fileOf(chatRuns(":d", true)[0]), "images/chat_suit_d.bmp");
    EXPECT_EQ(fileOf(chatRuns(":o", true)[0]), "images/chat_shock.bmp");
    EXPECT_EQ(fileOf(chatRuns(":O", true)[0]), "images/chat_shock.bmp");
    EXPECT_EQ(fileOf(chatRuns("8-)", true)[0]), fileOf(chatRuns("B)", true)[0]));
    EXPECT_EQ(chatPictureTokens().size(), 25u);
    std::set<std::string_view> tokens;
    for (const ChatPictureToken& entry : chatPictureTokens())
        tokens.insert(entry.token);
    EXPECT_EQ(tokens.size(), 25u);
}

TEST(ChatPictureRules, WithPicturesOffOnlySuitTokensTouchTheColons)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"nice :h and 10:30", "nice h and 1030"},
        {"see :s", "see s"},
        {"AK:c:d", "AKcd"},
        {"hi :) at 10:30", "hi :) at 10:30"},
        {":D", ":D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chatRuns(c.message, false), std::vector<ChatRun>{text(c.shown)}) << c.message;
    EXPECT_TRUE(chatRuns("", false).empty());
}

} // namespace
} // namespace tessaly
