// The table chat's rules without a window: line styles, hand numbers, the
// chat input's verdict, and the notes file of a player's name.

#include <gtest/gtest.h>

#include <set>

#include "client/table/NotesFileName.h"
#include "client/table/TableChatRules.h"
#include "client/table/TableState.h"

namespace tessaly {
namespace {

TEST(TableChatRules, TheLabelDecidesTheDealerAndTheTextItsResults)
{
    struct Case {
        const char* sender;
        const char* text;
        ChatLineKind kind;
    };
    const Case cases[] = {
        {"Dealer", "ann wins with a flush", ChatLineKind::DealerResult},
        {"Dealer", "bob looses with two pair", ChatLineKind::DealerResult},
        {"Dealer", "ann collects 40 chips with a pair", ChatLineKind::DealerResult},
        {"dEALER", "#12 hand starting", ChatLineKind::Dealer},
        {"Dealer", "Dealing down hole cards", ChatLineKind::Dealer},
        // A player who calls himself "Dealer" gets the dealer's style.
        {"Dealer", "gl all", ChatLineKind::Dealer},
        {"Dealers", "I win with a flush", ChatLineKind::Player},
        {"DealerBob", "ann wins with a flush", ChatLineKind::Player},
        {"ann", "ann wins with a flush", ChatLineKind::Player},
        {"Deal", "er:", ChatLineKind::Player},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chatLineKind(c.sender, c.text), c.kind) << c.sender << ": " << c.text;
}

TEST(TableChatRules, HandStartingLinesMoveTheHandNumbers)
{
    TableState table;
    takeHandNumbers(table, "Seat 3 wins with a pair");
    EXPECT_TRUE(table.thisHandText.empty());
    takeHandNumbers(table, "#1041 hand starting");
    EXPECT_EQ(table.thisHandText, "#1041");
    EXPECT_TRUE(table.lastHandText.empty());
    takeHandNumbers(table, "#1042 hand starting now");
    EXPECT_EQ(table.thisHandText, "#1042");
    EXPECT_EQ(table.lastHandText, "#1041");
    takeHandNumbers(table, "  #1043  hand starting");
    EXPECT_EQ(table.thisHandText, "#1043");
    EXPECT_EQ(table.lastHandText, "#1042");
}

TEST(TableChatRules, TheChatInputIsSentOnlyLoggedInAndUnderTwoHundredCharacters)
{
    struct Case {
        std::string text;
        bool loggedIn;
        ChatInputVerdict verdict;
    };
    std::string accented;
    for (int i = 0; i < 199; ++i)
        accented += "é";
    const Case cases[] = {
        {"", true, ChatInputVerdict::Nothing},
        {"", false, ChatInputVerdict::Nothing},
        {"hi", false, ChatInputVerdict::LogIn},
        {std::string(300, 'x'), false, ChatInputVerdict::LogIn},
        {"hi", true, ChatInputVerdict::Send},
        {std::string(199, 'x'), true, ChatInputVerdict::Send},
        {std::string(200, 'x'), true, ChatInputVerdict::TooLong},
        // Characters, not bytes: 199 two-byte letters are 199 characters.
        {accented, true, ChatInputVerdict::Send},
        {accented + "é", true, ChatInputVerdict::TooLong},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chatInputVerdict(c.text, c.loggedIn), c.verdict) << c.text.size() << " bytes";
    EXPECT_EQ(chatWireText("a\tb\rc\nd"), "a b c d");
}

TEST(NotesFileName, OrdinaryNamesKeepTheirFileAndOthersStayInsideNotes)
{
    EXPECT_EQ(notesPath("ann"), "notes/ann.txt");
    EXPECT_EQ(notesPath("Jo Ann-2"), "notes/Jo Ann-2.txt");
    EXPECT_EQ(notesPath("José"), "notes/José.txt");
    EXPECT_EQ(notesPath("a.b"), "notes/a.b.txt");
    EXPECT_EQ(notesPath(std::string(251, 'n')), "notes/" + std::string(251, 'n') + ".txt");

    const std::string nul("a\0b", 3);
    const std::vector<std::string> names{
        "../x", "/etc/passwd", "a/b", "..", ".", ".hidden", nul, std::string("a\0", 2), "a", "a%2Fb", "a%2fb",
        "a\\b", "", "%", "a..b", "a.%2Eb", "x\xff", "x\xc3", "tab\tname", "C:", std::string(252, 'n'),
        std::string(255, '/'), std::string(255, '.'), std::string(254, '.') + "x",
        std::string(85, '/') + "\xe2\x82\xac" + std::string(100, 'y'),
        std::string(200, 'y') + "." + std::string(100, 'z'),
    };
    std::set<std::string> paths;
    for (const std::string& name : names) {
        const std::string path = notesPath(name);
        SCOPED_TRACE(path);
        EXPECT_TRUE(paths.insert(path).second) << "shared file";
        ASSERT_TRUE(path.starts_with("notes/"));
        ASSERT_TRUE(path.ends_with(".txt"));
        EXPECT_EQ(path.find('\0'), std::string::npos);
        EXPECT_EQ(path.find('\\'), std::string::npos);
        // Every part below notes/ is a plain, visible name a file system takes.
        std::string_view rest = std::string_view(path).substr(6);
        while (!rest.empty()) {
            const std::size_t slash = rest.find('/');
            const std::string_view part = rest.substr(0, slash);
            EXPECT_FALSE(part.empty());
            EXPECT_NE(part.front(), '.');
            EXPECT_LE(part.size(), 255u);
            if (slash != std::string_view::npos) {
                EXPECT_EQ(part.back(), '%') << "a folder ends in %";
            }
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        }
    }
}

} // namespace
} // namespace tessaly
