// The table's animations, frame by frame: the deal, the dealer button's
// glide, the board slides and the announcement's fade.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "client/table/SeatLayout.h"
#include "client/table/TableAnimation.h"
#include "client/table/TableState.h"
#include "tests/support/RecordingSound.h"

namespace tessaly {
namespace {

using ::testing::Each;

MovingPoint at(TablePoint p)
{
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

class Animation : public ::testing::Test {
protected:
    Animation() { table.seatCount = 10; }

    // Seats 7, 2, 5, 9 with the dealer at 5, dealt.
    void deal()
    {
        for (const int seat : {7, 2, 5, 9}) {
            table.seatPlayer(seat, "p", 10.0f, 0.0f, kSeatPlaying);
            table.addToHand(seat);
        }
        table.dealerSeat = 5;
        animation.buttonSeat = 5;   // the button is already there
        table.startDeal();
    }

    TableState table;
    TableAnimation animation;
    RecordingSound sound;
};

TEST_F(Animation, TheDealGivesEachSeatItsCardsInSixFramesAndRestsOnTheThirdCopy)
{
    deal();
    ASSERT_THAT(table.dealOrder, ::testing::ElementsAre(7, 9, 2, 5, 7, 9, 2, 5, 7, 9, 2, 5));
    const int seats[] = {7, 9, 2, 5, 7, 9, 2, 5};
    for (int card = 0; card < 8; ++card) {
        const int seat = seats[card];
        SCOPED_TRACE(::testing::Message() << "card " << card << " to seat " << seat);
        const TablePoint target = seatPoint(SeatGroup::FaceDownCards, 10, seat);
        const int before = table.holeCardsDrawn[static_cast<std::size_t>(seat)];
        double lastDistance = 1e9;
        for (int frame = 1; frame <= 5; ++frame) {
            ASSERT_TRUE(animating(table, animation));
            const auto moving = stepDeal(table, animation, sound);
            ASSERT_TRUE(moving.has_value());
            const double distance = std::hypot(moving->x - target.x, moving->y - target.y);
            EXPECT_LT(distance, lastDistance);
            EXPECT_GT(distance, 0.0);
            lastDistance = distance;
            EXPECT_EQ(table.holeCardsDrawn[static_cast<std::size_t>(seat)], before);
        }
        EXPECT_EQ(stepDeal(table, animation, sound), at(target));   // the sixth frame
        EXPECT_EQ(table.holeCardsDrawn[static_cast<std::size_t>(seat)], before + 1);
        EXPECT_EQ(sound.played.size(), static_cast<std::size_t>(card + 1));
        EXPECT_EQ(table.dealStep, card + 1);
        EXPECT_EQ(table.dealing, 1);
    }
    EXPECT_THAT(sound.played, Each(std::string("sounds\\card_sliding2.wav")));

    // Resting on the third copy: nothing moves, nothing sounds, dealing stays 1.
    EXPECT_FALSE(animating(table, animation));
    for (int frame = 0; frame < 30; ++frame)
        EXPECT_EQ(stepDeal(table, animation, sound), std::nullopt);
    EXPECT_EQ(table.dealStep, 8);
    EXPECT_EQ(table.dealing, 1);
    EXPECT_EQ(sound.played.size(), 8u);
    for (const int seat : {7, 9, 2, 5})
        EXPECT_EQ(table.holeCardsDrawn[static_cast<std::size_t>(seat)], 2);
}

TEST_F(Animation, TheFirstFrameOfACardStartsFromTheDealOrigin)
{
    deal();
    const auto first = stepDeal(table, animation, sound);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(seatPoint(SeatGroup::FaceDownCards, 10, 7), (TablePoint{94, 191}));
    EXPECT_DOUBLE_EQ(first->x, 360 + (94 - 360) * 0.181999);
    EXPECT_DOUBLE_EQ(first->y, 118 + (191 - 118) * 0.181999);
}

TEST_F(Animation, NoDealOutsideAHandAndAFoldedSeatGetsNoMoreCards)
{
    deal();
    table.handInProgress = 0;
    EXPECT_EQ(stepDeal(table, animation, sound), std::nullopt);
    EXPECT_FALSE(animating(table, animation));

    table.handInProgress = 1;
    for (int frame = 0; frame < 6 * 4; ++frame)   // the first round
        stepDeal(table, animation, sound);
    table.fold(9, 10.0f);   // 9 leaves all three copies: 7, 2, 5 three times
    table.dealStep = 3;     // the dealer tells where the deal stands; here the second round
    for (int frame = 0; frame < 6 * 3; ++frame)
        stepDeal(table, animation, sound);
    EXPECT_EQ(table.holeCardsDrawn[9], 1);
    for (const int seat : {7, 2, 5})
        EXPECT_EQ(table.holeCardsDrawn[static_cast<std::size_t>(seat)], 2);
    EXPECT_EQ(table.dealStep, 6);
}

TEST_F(Animation, TheDealEndsAtTheEndOfTheOrder)
{
    table.handInProgress = 1;
    table.dealing = 1;
    table.dealOrder = {3};
    for (int frame = 0; frame < 6; ++frame)
        stepDeal(table, animation, sound);
    EXPECT_EQ(table.holeCardsDrawn[3], 1);
    EXPECT_EQ(table.dealing, 0);
    EXPECT_FALSE(animating(table, animation));
}

TEST_F(Animation, TheButtonGlidesInFifteenFramesAndStaysPutForTheSameSeat)
{
    const TablePoint three = seatPoint(SeatGroup::DealerButton, 10, 3);
    const TablePoint four = seatPoint(SeatGroup::DealerButton, 10, 4);
    EXPECT_EQ(stepDealerButton(table, animation), std::nullopt);   // no dealer, no button

    table.dealerSeat = 3;
    EXPECT_TRUE(animating(table, animation));
    EXPECT_EQ(stepDealerButton(table, animation), at(three));   // the first button appears in place
    EXPECT_FALSE(animating(table, animation));
    EXPECT_EQ(stepDealerButton(table, animation), at(three));

    table.dealerSeat = 4;
    double lastX = three.x;
    for (int frame = 1; frame <= 14; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_TRUE(animating(table, animation));
        const auto button = stepDealerButton(table, animation);
        ASSERT_TRUE(button.has_value());
        EXPECT_LT(button->x, lastX);   // 623 toward 541
        EXPECT_GT(button->x, four.x);
        lastX = button->x;
    }
    EXPECT_EQ(stepDealerButton(table, animation), at(four));   // frame 15
    EXPECT_EQ(animation.buttonSeat, 4);
    EXPECT_FALSE(animating(table, animation));

    // Between hands the dealer is none; the next hand's dealer 4 again draws in place.
    table.reset();
    EXPECT_EQ(stepDealerButton(table, animation), std::nullopt);
    table.dealerSeat = 4;
    EXPECT_FALSE(animating(table, animation));
    EXPECT_EQ(stepDealerButton(table, animation), at(four));
}

TEST_F(Animation, TheBoardSlidesFlopThenTurnThenRiverNeverEarly)
{
    table.board = {0, 5, 10, 20, 30};   // every code known at once
    std::vector<std::array<int, 5>> frames;
    for (int frame = 0; frame < 60; ++frame)
        frames.push_back(stepBoard(table));

    // The flop: the first card stays, the others slide 6 pixels a frame.
    EXPECT_EQ(frames[0], (std::array<int, 5>{247, 243, 243, kNotDrawn, kNotDrawn}));
    EXPECT_EQ(frames[1], (std::array<int, 5>{247, 249, 249, kNotDrawn, kNotDrawn}));
    EXPECT_EQ(frames[10], (std::array<int, 5>{247, 307, 303, kNotDrawn, kNotDrawn}));
    // The third card arrives on frame 21; before that, no turn.
    for (int frame = 0; frame < 20; ++frame) {
        EXPECT_NE(frames[static_cast<std::size_t>(frame)][2], 367) << frame;
        EXPECT_EQ(frames[static_cast<std::size_t>(frame)][3], kNotDrawn) << frame;
    }
    EXPECT_EQ(frames[20][2], 367);
    // The turn from the third card's place to its own, then the river.
    EXPECT_EQ(frames[20][3], 363);
    EXPECT_EQ(frames[30][3], 427);
    for (int frame = 20; frame < 30; ++frame)
        EXPECT_EQ(frames[static_cast<std::size_t>(frame)][4], kNotDrawn) << frame;
    EXPECT_EQ(frames[30][4], 423);
    EXPECT_EQ(frames[40][4], 487);
    EXPECT_EQ(frames[59], (std::array<int, 5>{247, 307, 367, 427, 487}));
    EXPECT_EQ(table.flopDrawn, 1);
    EXPECT_EQ(table.turnDrawn, 1);
    EXPECT_EQ(table.riverDrawn, 1);
    EXPECT_FALSE(animating(table, animation));
}

TEST_F(Animation, TheTurnWaitsForTheFlopEvenWhenKnown)
{
    table.board = {kNoCard, kNoCard, kNoCard, 20, kNoCard};
    for (int frame = 0; frame < 40; ++frame)
        EXPECT_EQ(stepBoard(table)[3], kNotDrawn);
    EXPECT_EQ(table.turnDrawn, 0);
    EXPECT_FALSE(animating(table, animation));

    // A flop card that is not known is not drawn; the others still slide.
    table.board = {4, kNoCard, 8, 20, kNoCard};
    const auto first = stepBoard(table);
    EXPECT_EQ(first, (std::array<int, 5>{247, kNotDrawn, 243, kNotDrawn, kNotDrawn}));
    EXPECT_TRUE(animating(table, animation));
}

TEST_F(Animation, TheAnnouncementIsGoneAfterSeventeenFrames)
{
    table.historyPending = 1;
    for (int frame = 0; frame < 17; ++frame) {
        ASSERT_TRUE(animating(table, animation));
        EXPECT_EQ(stepAnnouncement(table), 255 - 15 * frame);
    }
    EXPECT_EQ(table.historyPending, 0);
    EXPECT_EQ(table.actionLabelFade[0], 255);
    EXPECT_EQ(stepAnnouncement(table), kNotDrawn);
    EXPECT_FALSE(animating(table, animation));
}

TEST_F(Animation, AQuietTableDoesNotAnimate)
{
    table.seatPlayer(2, "ann", 10.0f, 1.0f, kSeatPlaying);
    table.pots[0] = 3.0f;
    EXPECT_FALSE(animating(table, animation));
    const TableState before = table;
    const FrameMotion motion = advanceFrame(table, animation, sound);
    EXPECT_EQ(table, before);
    EXPECT_EQ(motion, FrameMotion{});
    EXPECT_TRUE(sound.played.empty());
}

} // namespace
} // namespace tessaly

namespace tessaly {
namespace {

// The clock of the seat to act empties in whole seconds from its prompt and
// starts again for the next seat; a winner's chips reach the seat in 18
// frames and the highlight ends after 72.
TEST_F(Animation, TheTurnClockAndTheWinnersRunByFrames)
{
    table.seatCount = 10;
    TurnClock clock;
    EXPECT_EQ(stepTurnClock(table, clock), -1.0);
    table.actingSeat = 3;
    struct Step {
        int frames;
        double left;
    };
    const Step steps[] = {{1, 1.0}, {35, 1.0}, {36, 29.0 / 30}, {kTurnClockFrames, 0.0}, {kTurnClockFrames + 50, 0.0}};
    int done = 0;
    for (const Step& s : steps) {
        double left = 0.0;
        for (; done < s.frames; ++done)
            left = stepTurnClock(table, clock);
        EXPECT_DOUBLE_EQ(left, s.left) << s.frames;
    }
    table.actingSeat = 4;
    EXPECT_EQ(stepTurnClock(table, clock), 1.0);

    table.winnerFrames[4] = kWinnerFrames;
    EXPECT_TRUE(animating(table, animation));
    EXPECT_EQ(winnerChipsProgress(kWinnerFrames), 0.0);
    EXPECT_EQ(winnerChipsProgress(kWinnerFrames - kWinnerChipFrames), 1.0);
    for (int frame = 0; frame < kWinnerFrames; ++frame)
        stepWinners(table);
    EXPECT_EQ(table.winnerFrames[4], 0);
    EXPECT_FALSE(animating(table, animation));
}

} // namespace
} // namespace tessaly
