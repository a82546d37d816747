#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/ClientState.h"
#include "client/table/HandHistoryFiles.h"
#include "tests/support/RecordedHands.h"

namespace tessaly {
namespace {

constexpr HandStamp kStamp{2026, 12, 8, 23, 15, 2};

// The hand as the user at Ann's seat sees it: her cards come with the deal.
std::deque<HandRecord> recordHand(const recorded::Hand& hand)
{
    ClientState state;
    EffectRecorder recorder;
    Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
    for (const std::string& line : recorded::seating())
        dispatcher.dispatchLine(line);
    for (const std::string& line : hand.lines) {
        dispatcher.dispatchLine(line);
        if (line.ends_with("Dealing down hole cards"))
            dispatcher.dispatchLine(std::string_view("YOUR_CARD:\t3\t0\t36\t40"));
    }
    return state.tables[3].handHistory.finished;
}

TEST(HandHistory, RecordedHandsReplayToTheirFinishingStacks)
{
    struct Case {
        recorded::Hand hand;
        std::vector<float> finishing;    // by seat order 0, 2, 5
        std::string actions;             // a line the file must hold
    };
    const Case cases[] = {
        {recorded::foldToABet(), {10.8f, 9.4f, 9.8f},
         R"(actions = ["d dh p1 ????", "d dh p2 ????", "d dh p3 JdQd", "p3 cbr 0.60", "p1 cc", "p2 f", )"
         R"("d db 9dTh8s", "p1 cc", "p3 cbr 1", "p1 f"])"},
        {recorded::allInSidePotSplit(), {10.0f, 0.0f, 14.0f}, R"(winnings = [0, 10, 6])"},
    };
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "hand-history-test" / "hand-histories";
    std::filesystem::remove_all(folder);
    const HandHistoryFiles files(folder);
    for (const Case& c : cases) {
        const std::deque<HandRecord> finished = recordHand(c.hand);
        ASSERT_EQ(finished.size(), 1u) << c.hand.name;
        EXPECT_EQ(finished[0].finishingStacks, c.finishing) << c.hand.name;
        EXPECT_EQ(finished[0].userSeat, 0) << c.hand.name;
        const std::string section = phhSection(finished[0], kStamp);
        EXPECT_NE(section.find(c.actions), std::string::npos) << section;
        ASSERT_TRUE(files.append(finished[0], kStamp)) << c.hand.name;
    }
    const std::deque<HandRecord> cancelled = recordHand(recorded::cancelled());
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_TRUE(cancelled[0].cancelled);

    const std::filesystem::path file = files.fileOf("Marsh", kStamp);
    EXPECT_EQ(file, folder / "Marsh" / "2026-12-08.phhs");
    const std::string check = std::string("python3 ") + TESSALY_PHH_REPLAY + " '" + file.string() + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << check;
}

// A hand cut off by a crash in the middle of its write goes; the hands
// before it stay whole.
TEST(HandHistory, ATornHandIsCutBeforeTheNextOne)
{
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "hand-history-torn";
    std::filesystem::remove_all(folder);
    const HandHistoryFiles files(folder);
    const HandRecord hand = recordHand(recorded::foldToABet()).front();
    ASSERT_TRUE(files.append(hand, kStamp));
    const std::filesystem::path file = files.fileOf(hand.tableName, kStamp);
    const auto whole = std::filesystem::file_size(file);
    {
        std::FILE* f = std::fopen(file.c_str(), "a");
        ASSERT_NE(f, nullptr);
        std::fputs("[hand_42_231600]\nvariant = \"NT\"\nantes = [0, ", f);
        std::fclose(f);
    }
    ASSERT_TRUE(files.append(hand, kStamp));
    EXPECT_EQ(std::filesystem::file_size(file), 2 * whole);
}

TEST(HandHistory, FolderFollowsTheDataHome)
{
    EXPECT_EQ(handHistoryFolder("/data", "/home/ann"), "/data/Tessaly/hand-histories");
    EXPECT_EQ(handHistoryFolder("", "/home/ann"), "/home/ann/.local/share/Tessaly/hand-histories");
    EXPECT_EQ(tableFolderName("../Marsh/2"), "_.._Marsh_2");
}

} // namespace
} // namespace tessaly
