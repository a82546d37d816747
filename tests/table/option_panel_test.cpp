// The pre-action options, "Deal Me Out" and "I am back", and the show/muck
// offers, offscreen.

#include <gmock/gmock.h>

#include "tests/table/BettingFixture.h"

namespace tessaly {
namespace {

using namespace betting;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using OptionPanelTest = BettingTest;

TEST_F(OptionPanelTest, LabelsToggleTheirOptionsAndMarks)
{
    const struct {
        int label;
        int mark;
        std::int32_t TableState::*option;
        const char* text;
    } cases[] = {
        {kFoldCheckLabel, kFoldCheckMark, &TableState::autoCheckFold, kFoldCheckText},
        {kAutoPostLabel, kAutoPostMark, &TableState::autoPostBlinds, kAutoPostText},
        {kMuckLosingLabel, kMuckLosingMark, &TableState::autoMuckLosing, kMuckLosingText},
    };
    frame();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(host.control(c.label)->accessibleName(), QString::fromLatin1(c.text));
        EXPECT_EQ(host.control(c.mark)->accessibleName(), QString::fromLatin1(c.text));
        click(c.label);
        EXPECT_EQ(table.*c.option, 1);
        EXPECT_TRUE(host.checkBox(c.mark)->isChecked());
        frame();
        EXPECT_TRUE(host.checkBox(c.mark)->isChecked());
        // The mark takes a click as its label does.
        click(c.mark);
        EXPECT_EQ(table.*c.option, 0);
        EXPECT_FALSE(host.checkBox(c.mark)->isChecked());
    }
    EXPECT_THAT(sender.lines, IsEmpty());
}

TEST_F(OptionPanelTest, OptionsShowOnlyWhileSeated)
{
    const int ids[] = {kFoldCheckMark, kAutoPostMark, kMuckLosingMark, kDealMeOutMark,
                       kFoldCheckLabel, kAutoPostLabel, kMuckLosingLabel, kDealMeOutLabel};
    frame();
    for (int id : ids)
        EXPECT_TRUE(visible(id)) << id;
    table.userSeatedHere = 0;
    frame();
    for (int id : ids)
        EXPECT_FALSE(visible(id)) << id;
}

TEST_F(OptionPanelTest, TheMarkFollowsTheAutomaticAnswer)
{
    frame();
    click(kFoldCheckLabel);
    table.autoCheckFold = 0;   // the dispatcher folded and turned it off
    frame();
    EXPECT_FALSE(host.checkBox(kFoldCheckMark)->isChecked());
}

TEST_F(OptionPanelTest, DealMeOutAndBack)
{
    const struct {
        const char* name;
        int seated;
        float stack;
        std::deque<BoxAnswer> answers;
        std::vector<std::string> sent;   // out, then back
        bool asked;
        int moreChips;
    } cases[] = {
        {"with chips", 1, 40, {}, {"DEAL_ME_OUT:\t4\r", "IM_BACK:\t4\r"}, false, 0},
        {"broke, OK", 1, 0, {BoxAnswer::Ok}, {"DEAL_ME_OUT:\t4\r"}, true, 1},
        {"broke, Cancel", 1, 0, {BoxAnswer::Cancel}, {"DEAL_ME_OUT:\t4\r"}, true, 0},
        {"watching", 0, 40, {}, {}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        nextCase(c.answers);
        table.userSeatedHere = c.seated;
        table.stack[kSeat] = c.stack;
        table.sittingOut = 0;
        options.showStep(true);   // the labels, whatever the seat
        options.markStep();
        click(kDealMeOutLabel);
        EXPECT_EQ(table.sittingOut, 1);
        EXPECT_TRUE(host.checkBox(kDealMeOutMark)->isChecked());
        options.markStep();
        EXPECT_TRUE(visible(kImBack));
        click(kDealMeOutLabel);
        EXPECT_EQ(table.sittingOut, 0);
        EXPECT_FALSE(host.checkBox(kDealMeOutMark)->isChecked());
        EXPECT_EQ(sender.lines, c.sent);
        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].text, "To return to the table, you must get more Chips.");
            EXPECT_EQ(boxes.shown[0].caption, "Tessaly Message");
            EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::OkCancel);
        }
        EXPECT_EQ(moreChipsCommands, c.moreChips);
        EXPECT_EQ(rebuyDialogs, 0);
    }
}

TEST_F(OptionPanelTest, IAmBackReturnsFromSittingOut)
{
    const struct {
        float stack;
        std::deque<BoxAnswer> answers;
        std::vector<std::string> sent;
        int rebuys;
    } cases[] = {
        {12.5f, {}, {"IM_BACK:\t4\r"}, 0},
        {0, {BoxAnswer::Ok}, {}, 1},
        {0, {BoxAnswer::Cancel}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stack);
        nextCase(c.answers);
        table.stack[kSeat] = c.stack;
        table.sittingOut = 1;
        frame();
        EXPECT_TRUE(host.checkBox(kDealMeOutMark)->isChecked());
        EXPECT_EQ(host.control(kImBack)->accessibleName(), QStringLiteral("I am back"));
        screenshot(QStringLiteral("bet-sitting-out.png"));
        click(kImBack);
        EXPECT_EQ(table.sittingOut, 0);
        EXPECT_FALSE(host.checkBox(kDealMeOutMark)->isChecked());
        EXPECT_EQ(sender.lines, c.sent);
        EXPECT_EQ(boxes.shown.size(), c.stack > 0 ? 0u : 1u);
        EXPECT_EQ(rebuyDialogs, c.rebuys);
        EXPECT_EQ(moreChipsCommands, 0);
        frame();
        EXPECT_FALSE(visible(kImBack));
    }
}

TEST_F(OptionPanelTest, ShowOrMuckOffers)
{
    const struct {
        std::int32_t TableState::*offer;
        int show;
        int muck;
        int clicked;
        std::vector<std::string> sent;
    } cases[] = {
        {&TableState::bragOffered, kShow, kMuck, kShow, {"BRAG_OKAY:\t4\r"}},
        {&TableState::bragOffered, kShow, kMuck, kMuck, {}},
        {&TableState::showLostOffered, kShowLost, kMuckLost, kShowLost, {"SHOW_LOST:\t4\t3\r"}},
        {&TableState::showLostOffered, kShowLost, kMuckLost, kMuckLost, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicked);
        nextCase();
        frame();
        EXPECT_FALSE(visible(c.show));
        table.*c.offer = 1;
        frame();
        EXPECT_TRUE(visible(c.show));
        EXPECT_TRUE(visible(c.muck));
        EXPECT_EQ(host.control(c.clicked)->accessibleName(), caption(c.clicked));
        click(c.clicked);
        EXPECT_EQ(sender.lines, c.sent);
        EXPECT_EQ(table.*c.offer, 0);
        EXPECT_FALSE(visible(c.show));
        EXPECT_FALSE(visible(c.muck));
    }
}

} // namespace
} // namespace tessaly
