// The action bar, offscreen: what each prompt shows, what each click sends,
// the slider and the typed amount, the refusals, the free-check question,
// sitting out instead of posting, and where the focus goes.

#include <gmock/gmock.h>

#include <QAccessible>

#include "tests/table/BettingFixture.h"

namespace tessaly {
namespace {

using namespace betting;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kActionControls[] = {kLeftAction, kMiddleAction, kRightAction, kLeftPost, kRightPost};

class ActionBarTest : public BettingTest {
protected:
    // As the user does it: the slider takes the focus, then moves.
    void slideToTheTop()
    {
        slider()->setFocus();
        QTest::keyClick(slider(), Qt::Key_End);
    }
};

TEST_F(ActionBarTest, EachPromptKindShowsAndLabelsItsControls)
{
    struct Shown {
        int id;
        const char* caption;
    };
    const struct {
        const char* name;
        int kind;
        float first, second;
        int gameType;
        std::vector<Shown> buttons;
        const char* box;   // nullptr: slider and box hidden
    } cases[] = {
        {"check-or-bet", kPromptCheckOrBet, 2, 0, kGameNoLimit,
         {{kLeftAction, "Check"}, {kMiddleAction, "Bet to 2"}, {kRightAction, "Fold"}}, "2"},
        {"call-or-raise", kPromptCallOrRaise, 1.5f, 4, kGameNoLimit,
         {{kLeftAction, "Call 1.50"}, {kMiddleAction, "Raise to 4"}, {kRightAction, "Fold"}}, "4"},
        {"fixed-limit", kPromptCallOrRaise, 2, 4, kGameFixedLimit,
         {{kLeftAction, "Call 2"}, {kMiddleAction, "Raise to 4"}, {kRightAction, "Fold"}}, nullptr},
        {"call-only", kPromptCallOnly, 12.25f, 0, kGameNoLimit,
         {{kLeftAction, "Call 12.25"}, {kMiddleAction, "All In"}, {kRightAction, "Fold"}}, nullptr},
        {"all-in-or-fold", kPromptAllInOrFold, 0, 0, kGameNoLimit,
         {{kLeftPost, "All In"}, {kRightPost, "Fold"}}, nullptr},
        {"big-blind", kPromptBigBlind, 1, 0, kGameNoLimit,
         {{kLeftPost, "Post BB (1)"}, {kRightPost, "Sit Out"}}, nullptr},
        {"small-blind", kPromptSmallBlind, 0.5f, 0, kGameNoLimit,
         {{kLeftPost, "Post SB (0.50)"}, {kRightPost, "Sit Out"}}, nullptr},
    };
    showActive();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        table.gameType = static_cast<std::int16_t>(c.gameType);
        // The big blind is out for the raise prompts, none for the bet.
        table.inFront[0] = c.kind == kPromptCallOrRaise ? 1.0f : 0.0f;
        prompt(c.kind, c.first, c.second);
        frame();
        EXPECT_EQ(table.promptSetUp, 1);
        std::vector<int> shownIds;
        for (const Shown& s : c.buttons) {
            shownIds.push_back(s.id);
            EXPECT_TRUE(visible(s.id)) << s.id;
            EXPECT_EQ(caption(s.id), QString::fromLatin1(s.caption)) << s.id;
            EXPECT_EQ(host.control(s.id)->accessibleName(), QString::fromLatin1(s.caption)) << s.id;
        }
        for (int id : kActionControls) {
            const bool expected = std::find(shownIds.begin(), shownIds.end(), id) != shownIds.end();
            EXPECT_EQ(visible(id), expected) << id;
        }
        EXPECT_EQ(slider()->isVisible(), c.box != nullptr);
        EXPECT_EQ(box()->isVisible(), c.box != nullptr);
        if (c.box != nullptr) {
            EXPECT_EQ(box()->text(), QString::fromLatin1(c.box));
            EXPECT_EQ(box()->selectedText(), box()->text());
            EXPECT_EQ(slider()->value(), 0);
        }
        screenshot(QStringLiteral("bet-%1.png").arg(QString::fromLatin1(c.name)));
        // Answered elsewhere (the server's "CLEAR_ACTION:"): all hidden.
        table.userToAct = 0;
        frame();
        for (int id : kActionControls)
            EXPECT_FALSE(visible(id)) << id;
        EXPECT_FALSE(slider()->isVisible());
        EXPECT_FALSE(box()->isVisible());
    }
    EXPECT_EQ(slider()->accessibleName(), QStringLiteral("Raise amount"));
    EXPECT_EQ(box()->accessibleName(), QStringLiteral("Amount"));
    EXPECT_THAT(sender.lines, IsEmpty());
}

TEST_F(ActionBarTest, APromptIsNotSetUpForAWatcherOrTwice)
{
    table.userSeatedHere = 0;
    prompt(kPromptCheckOrBet, 2);
    frame();
    EXPECT_FALSE(visible(kLeftAction));
    EXPECT_EQ(table.promptSetUp, 0);

    table.userSeatedHere = 1;
    frame();
    ASSERT_TRUE(visible(kMiddleAction));
    // Once set up, the controls keep what the user did to them.
    box()->setText(QStringLiteral("17"));
    frame();
    EXPECT_EQ(box()->text(), QStringLiteral("17"));
}

TEST_F(ActionBarTest, EachClickSendsItsAnswerAndClosesThePrompt)
{
    const struct {
        int kind;
        float first, second;
        int control;
        const char* sent;
    } cases[] = {
        {kPromptCheckOrBet, 2, 0, kLeftAction, "REPLY:\t4\t6\r"},
        {kPromptCheckOrBet, 2, 0, kMiddleAction, "REPLY:\t4\t5\t2.00\r"},
        {kPromptCallOrRaise, 1, 2.5f, kLeftAction, "REPLY:\t4\t3\r"},
        {kPromptCallOrRaise, 1, 2.5f, kMiddleAction, "REPLY:\t4\t5\t2.50\r"},
        {kPromptCallOrRaise, 1, 2.5f, kRightAction, "REPLY:\t4\t4\r"},
        {kPromptCallOnly, 40, 0, kLeftAction, "REPLY:\t4\t3\r"},
        {kPromptCallOnly, 40, 0, kMiddleAction, "REPLY:\t4\t7\r"},
        {kPromptAllInOrFold, 0, 0, kLeftPost, "REPLY:\t4\t7\r"},
        {kPromptAllInOrFold, 0, 0, kRightPost, "REPLY:\t4\t4\r"},
        {kPromptBigBlind, 1, 0, kLeftPost, "xPBB:\t4\t3\t0.00\r"},
        {kPromptSmallBlind, 0.5f, 0, kLeftPost, "xPSB:\t4\t3\t0.00\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " control " << c.control);
        nextCase();
        prompt(c.kind, c.first, c.second);
        frame();
        click(c.control);
        EXPECT_THAT(sender.lines, ElementsAre(c.sent));
        EXPECT_EQ(table.userToAct, 0);
        EXPECT_EQ(table.promptSetUp, 0);
        frame();
        EXPECT_FALSE(visible(c.control));
    }
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(ActionBarTest, TypedAmountsAreCheckedBeforeTheyAreSent)
{
    const struct {
        const char* name;
        float stack;
        const char* keys;   // typed over the selected minimum
        const char* caption;
        const char* sent;   // nullptr: refused with `message`
        const char* message;
    } cases[] = {
        {"raise", 100, "25", "Raise to 25", "REPLY:\t4\t5\t25.00\r", nullptr},
        {"cents", 100, "7.5", "Raise to 7.50", "REPLY:\t4\t5\t7.50\r", nullptr},
        {"everything", 100, "100", "All In 100", "REPLY:\t4\t5\t100.00\r", nullptr},
        {"short all-in", 3, "3", "All In 3", "REPLY:\t4\t7\r", nullptr},
        {"too much", 100, "100.01", "All In 100.01", nullptr, "Insufficient funds for that bet"},
        {"below the minimum", 100, "3", "Raise to 3", nullptr, "Incorrect bet amount\r\n"},
    };
    showActive();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        nextCase();
        table.stack[kSeat] = c.stack;
        table.inFront[0] = 1.0f;
        prompt(kPromptCallOrRaise, 1, 4);
        frame();
        box()->setFocus(Qt::TabFocusReason);   // selects the minimum, typed over
        QTest::keyClicks(box(), QString::fromLatin1(c.keys));
        EXPECT_EQ(caption(kMiddleAction), QString::fromLatin1(c.caption));
        EXPECT_FLOAT_EQ(table.raiseToCopy, static_cast<float>(box()->value()));
        click(kMiddleAction);
        if (c.sent != nullptr) {
            EXPECT_THAT(sender.lines, ElementsAre(c.sent));
            EXPECT_THAT(boxes.shown, IsEmpty());
            EXPECT_EQ(table.userToAct, 0);
        } else {
            EXPECT_THAT(sender.lines, IsEmpty());
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, c.message);
            EXPECT_EQ(boxes.shown[0].caption, "Tessaly");
            EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
            EXPECT_EQ(table.userToAct, 1);
            EXPECT_EQ(table.promptSetUp, 1);
        }
        table.userToAct = 0;
        frame();
    }
}

TEST_F(ActionBarTest, TypingMovesTheSliderInProportionToTheStack)
{
    showActive();
    prompt(kPromptCheckOrBet, 2);
    frame();
    box()->setFocus(Qt::TabFocusReason);   // Tab to the box selects its amount
    QTest::keyClicks(box(), QStringLiteral("51"));   // (51 - 2) / 98 of the way
    EXPECT_EQ(slider()->value(), 50);
    EXPECT_EQ(box()->text(), QStringLiteral("51.00"));   // the slider did not write into the box

    // A stack no bigger than the minimum leaves the slider where it is.
    table.userToAct = 0;
    frame();
    table.stack[kSeat] = 2.0f;
    prompt(kPromptCheckOrBet, 2);
    frame();
    slider()->setValue(30);
    box()->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box(), QStringLiteral("2"));
    EXPECT_EQ(slider()->value(), 30);
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("Bet to 2"));
}

TEST_F(ActionBarTest, ANonNumberInTheBoxIsRefused)
{
    prompt(kPromptCheckOrBet, 2);
    frame();
    box()->setText(QString());
    click(kMiddleAction);
    EXPECT_THAT(sender.lines, IsEmpty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Incorrect number value!");
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
}

TEST_F(ActionBarTest, FixedLimitBetsTheMinimum)
{
    table.gameType = kGameFixedLimit;
    prompt(kPromptCheckOrBet, 4);
    frame();
    box()->setText(QStringLiteral("35"));   // hidden, and overwritten
    click(kMiddleAction);
    EXPECT_THAT(sender.lines, ElementsAre("REPLY:\t4\t5\t4.00\r"));
    EXPECT_EQ(box()->text(), QStringLiteral("4.00"));
}

TEST_F(ActionBarTest, TheSliderAtItsTopGoesAllIn)
{
    showActive();
    table.inFront[kSeat] = 1.0f;   // the big blind may check or raise
    table.stack[kSeat] = 99.0f;
    prompt(kPromptCheckOrBet, 2);
    frame();
    slideToTheTop();
    EXPECT_EQ(box()->text(), QStringLiteral("100"));
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("All In  100"));
    EXPECT_FLOAT_EQ(table.raiseToCopy, 100.0f);
    screenshot(QStringLiteral("bet-slider-top.png"));

    QTest::keyClick(slider(), Qt::Key_Home);
    EXPECT_EQ(box()->text(), QStringLiteral("2"));
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("Raise to 2"));
    slider()->setValue(50);   // positions 50 to 58: the fourth tenth
    EXPECT_EQ(box()->text(), QStringLiteral("41.80"));   // 40.80 and the bet
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("Raise to 41.80"));

    // A value set while the slider has no focus is no move.
    box()->setFocus();
    slider()->setValue(100);
    EXPECT_EQ(box()->text(), QStringLiteral("41.80"));

    // The next prompt puts the slider back to the minimum.
    table.userToAct = 0;
    frame();
    prompt(kPromptCheckOrBet, 2);
    frame();
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(table.actionArrived, 0);
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("Raise to 2"));
}

TEST_F(ActionBarTest, PotLimitTopsOutAtThePotAndNeverReadsAllIn)
{
    showActive();
    table.gameType = kGamePotLimit;
    table.stack[kSeat] = 60.0f;
    table.pots[0] = 10.0f;
    table.pots[1] = 25.0f;
    prompt(kPromptCheckOrBet, 2);
    frame();
    slideToTheTop();
    EXPECT_EQ(box()->text(), QStringLiteral("27"));
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("Bet to 27"));
}

TEST_F(ActionBarTest, FoldingWhenCheckingIsFreeAsksFirst)
{
    const struct {
        int kind;
        float call;
        std::deque<BoxAnswer> answers;
        const char* sent;
        bool asked;
    } cases[] = {
        {kPromptCheckOrBet, 0, {BoxAnswer::Yes}, "REPLY:\t4\t4\r", true},
        {kPromptCheckOrBet, 0, {BoxAnswer::No}, "REPLY:\t4\t6\r", true},
        {kPromptCallOrRaise, 2, {}, "REPLY:\t4\t4\r", false},
    };
    for (const auto& c : cases) {
        nextCase(c.answers);
        prompt(c.kind, c.call, 4);
        frame();
        click(kRightAction);
        EXPECT_THAT(sender.lines, ElementsAre(c.sent));
        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].text, "It is free to check.\rAre you sure you want to fold ?");
            EXPECT_EQ(boxes.shown[0].caption, "Warning");
            EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::YesNo);
            EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
            EXPECT_EQ(boxes.shown[0].owner, &host);
        }
        EXPECT_EQ(table.userToAct, 0);
        EXPECT_EQ(table.promptSetUp, 0);
    }
}

TEST_F(ActionBarTest, SittingOutOfABlindKeepsThePromptOpen)
{
    for (int kind : {kPromptBigBlind, kPromptSmallBlind}) {
        nextCase();
        table.sittingOut = 0;
        frame();
        ASSERT_FALSE(visible(kImBack));
        prompt(kind, 1);
        frame();
        click(kRightPost);
        EXPECT_THAT(sender.lines, ElementsAre("NO_POST:\t4\r"));
        EXPECT_EQ(table.sittingOut, 1);
        EXPECT_TRUE(host.checkBox(kDealMeOutMark)->isChecked());
        EXPECT_TRUE(visible(kImBack));
        EXPECT_EQ(table.userToAct, 1);
        frame();
        EXPECT_TRUE(visible(kLeftPost));
        EXPECT_TRUE(visible(kImBack));
        table.userToAct = 0;
    }
}

TEST_F(ActionBarTest, TheLikelyAnswerTakesTheFocusButNeverFromChatTyping)
{
    const struct {
        int kind;
        bool chatFocused;
        const char* chatText;
        int focus;   // 0: the chat keeps it
    } cases[] = {
        {kPromptCheckOrBet, true, "", kLeftAction},
        {kPromptCheckOrBet, false, "gl", 0},
        {kPromptCheckOrBet, true, "gl", 0},
        {kPromptCallOrRaise, false, "gl", kLeftAction},
        {kPromptCallOrRaise, true, "", 0},
        {kPromptCallOnly, false, "", kLeftAction},
        {kPromptAllInOrFold, false, "", kRightPost},
        {kPromptBigBlind, false, "", kLeftPost},
    };
    showActive();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.chatFocused << " '" << c.chatText << "'");
        chat()->setText(QString::fromLatin1(c.chatText));
        if (c.chatFocused)
            chat()->setFocus();
        else
            chat()->clearFocus();
        prompt(c.kind, 1, 4);
        frame();
        if (c.focus != 0) {
            EXPECT_TRUE(host.control(c.focus)->hasFocus());
        }
        EXPECT_EQ(chat()->hasFocus(), c.chatFocused && c.focus == 0);
        table.userToAct = 0;
        frame();
    }
}

TEST_F(ActionBarTest, AButtonThatChangedMeaningIgnoresClicksForHalfASecond)
{
    showActive();
    prompt(kPromptCheckOrBet, 2);
    frame();
    click(kLeftAction);
    EXPECT_THAT(sender.lines, ElementsAre("REPLY:\t4\t6\r"));
    frame();
    nextCase();
    prompt(kPromptCallOrRaise, 9000, 9002);   // Check became Call 9000 at once
    table.stack[kSeat] = 20000.0f;
    frame();
    QWidget* left = host.control(kLeftAction);
    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_THAT(sender.lines, IsEmpty());
    now += MisclickGuard::kHoldMs - 1;
    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_THAT(sender.lines, IsEmpty());
    now += 1;
    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_THAT(sender.lines, ElementsAre("REPLY:\t4\t3\r"));
}

TEST_F(ActionBarTest, PresetsFillTheBoxAndTheSliderReadsTheAmount)
{
    showActive();
    table.pots[0] = 10.0f;
    table.smallBlind = 0.5f;
    prompt(kPromptCheckOrBet, 1);
    frame();
    presets.frameStep();
    const std::pair<BetPreset, const char*> cases[] = {
        {BetPreset::HalfPot, "5"}, {BetPreset::ThreeQuarterPot, "7.50"}, {BetPreset::Pot, "10"}, {BetPreset::Max, "100"}};
    for (const auto& [preset, text] : cases) {
        QAbstractButton* button = presets.button(preset);
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(box()->text(), QString::fromLatin1(text));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(slider())->text(QAccessible::Value), QString::fromLatin1(text));
    }
    EXPECT_EQ(caption(kMiddleAction), QStringLiteral("All In 100"));
    EXPECT_THAT(sender.lines, IsEmpty());   // a preset only fills the box
    host.control(kLeftAction)->setFocus();
    screenshot(QStringLiteral("betting-presets.png"));

    table.userToAct = 0;
    frame();
    presets.frameStep();
    EXPECT_FALSE(presets.button(BetPreset::Pot)->isVisible());
    table.gameType = kGameFixedLimit;
    prompt(kPromptCheckOrBet, 1);
    frame();
    presets.frameStep();
    EXPECT_FALSE(presets.button(BetPreset::Pot)->isVisible());
}

} // namespace
} // namespace tessaly
