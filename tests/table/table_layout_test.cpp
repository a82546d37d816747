// The table's geometry and texts: both seat layouts, scaling, which player
// box holds a point, the chip-count text, and what a frame is drawn from.

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "client/table/FrameInputs.h"
#include "client/table/SeatLayout.h"
#include "client/table/TableState.h"
#include "client/table/TableTexts.h"

namespace tessaly {
namespace {

TEST(SeatLayout, EveryGroupOfBothLayouts)
{
    struct Case {
        SeatGroup group;
        int seatCount;
        int seat;
        TablePoint point;
    };
    const Case cases[] = {
        {SeatGroup::PlayerBox, 10, 0, {447, 11}},      {SeatGroup::PlayerBox, 10, 9, {263, 12}},
        {SeatGroup::PlayerBox, 6, 0, {498, 7}},        {SeatGroup::PlayerBox, 6, 5, {197, 7}},
        {SeatGroup::OwnPlayerBox, 10, 3, {681, 396}},  {SeatGroup::OwnPlayerBox, 10, 9, {192, 9}},
        {SeatGroup::OwnPlayerBox, 6, 3, {69, 374}},    {SeatGroup::OwnPlayerBox, 6, 5, {98, 11}},
        {SeatGroup::Bet, 10, 4, {483, 323}},           {SeatGroup::Bet, 10, 8, {192, 157}},
        {SeatGroup::Bet, 6, 1, {615, 215}},            {SeatGroup::Bet, 6, 4, {145, 215}},
        {SeatGroup::DealerButton, 10, 2, {664, 192}},  {SeatGroup::DealerButton, 10, 6, {155, 302}},
        {SeatGroup::DealerButton, 6, 0, {549, 92}},    {SeatGroup::DealerButton, 6, 3, {188, 307}},
        {SeatGroup::TurnMarker, 10, 5, {349, 349}},    {SeatGroup::TurnMarker, 10, 7, {88, 240}},
        {SeatGroup::TurnMarker, 6, 2, {616, 325}},     {SeatGroup::TurnMarker, 6, 5, {180, 84}},
        {SeatGroup::FaceDownCards, 10, 1, {627, 104}}, {SeatGroup::FaceDownCards, 10, 9, {305, 62}},
        {SeatGroup::FaceDownCards, 6, 0, {521, 65}},   {SeatGroup::FaceDownCards, 6, 4, {101, 192}},
        {SeatGroup::SitOut, 10, 0, {464, 86}},         {SeatGroup::SitOut, 10, 6, {124, 285}},
        {SeatGroup::SitOut, 6, 1, {625, 192}},         {SeatGroup::SitOut, 6, 5, {237, 88}},
        {SeatGroup::FaceUpCards, 10, 3, {648, 288}},   {SeatGroup::FaceUpCards, 10, 8, {131, 83}},
        {SeatGroup::FaceUpCards, 6, 2, {495, 312}},    {SeatGroup::FaceUpCards, 6, 3, {233, 305}},
        {SeatGroup::ActionWord, 10, 0, {428, 54}},     {SeatGroup::ActionWord, 6, 5, {229, 50}},
        // Any seat count but 10 is the 6-seat layout.
        {SeatGroup::PlayerBox, 0, 1, {700, 127}},      {SeatGroup::Bet, 9, 5, {272, 135}},
        // Seats the layout does not have.
        {SeatGroup::PlayerBox, 6, 6, {0, 0}},          {SeatGroup::Bet, 10, 10, {0, 0}},
        {SeatGroup::SitOut, 10, -1, {0, 0}},           {SeatGroup::TurnMarker, 10, kNoSeat, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.group) << " " << c.seatCount << " " << c.seat);
        EXPECT_EQ(seatPoint(c.group, c.seatCount, c.seat), c.point);
        EXPECT_EQ(seatOnTable(c.seatCount, c.seat), !(c.point == TablePoint{0, 0}));
    }
}

// Whatever is drawn at a seat leaves every player's name and stack in view,
// at both layouts and at scale 1 and 2.
TEST(SeatLayout, NothingCoversAPlayerBox)
{
    constexpr SeatGroup kBoxes[] = {SeatGroup::PlayerBox, SeatGroup::OwnPlayerBox};
    constexpr SeatGroup kDrawn[] = {SeatGroup::Bet, SeatGroup::DealerButton, SeatGroup::TurnMarker,
                                    SeatGroup::FaceDownCards, SeatGroup::SitOut, SeatGroup::FaceUpCards,
                                    SeatGroup::ActionWord};
    for (const int seats : {kTenSeats, kSixSeats}) {
        for (const double scale : {1.0, 2.0}) {
            for (const SeatGroup group : kDrawn) {
                for (int seat = 0; seat < seats; ++seat) {
                    const SeatRect drawn = seatRect(group, seats, seat, scale, scale);
                    for (const SeatGroup boxes : kBoxes) {
                        for (int owner = 0; owner < seats; ++owner) {
                            EXPECT_FALSE(drawn.intersects(seatRect(boxes, seats, owner, scale, scale)))
                                << seats << " seats, scale " << scale << ": group " << static_cast<int>(group)
                                << " of seat " << seat << " over the box of seat " << owner;
                        }
                    }
                }
            }
        }
    }
}

TEST(SeatLayout, ScalingTruncatesTowardZero)
{
    EXPECT_EQ(scaledX(447, 1.0), 447);
    EXPECT_EQ(scaledX(447, 1.25), 558);   // 558.75
    EXPECT_EQ(scaledY(11, 1.5), 16);      // 16.5
    EXPECT_EQ(scaledX(-3, 1.5), -4);      // -4.5
    EXPECT_EQ(scaledX(360.0 + (476 - 360) * 0.181999, 1.0), 381);
    EXPECT_EQ(scaledX(1 << 30, 4.0), std::numeric_limits<int>::max());
}

TEST(SeatLayout, PlayerBoxAtFindsOccupiedSeatsOnly)
{
    TableState ten;
    ten.seatCount = 10;
    ten.seatOccupied[3] = 1;
    ten.seatOccupied[7] = 1;
    TableState six;
    six.seatCount = 6;
    six.seatOccupied[2] = 1;
    six.seatOccupied[7] = 1;   // no such seat at six seats

    struct Case {
        const TableState* table;
        int x;
        int y;
        double scale;
        int seat;
    };
    const Case cases[] = {
        {&ten, 668, 366, 1.0, 3},          {&ten, 668 + 94, 366 + 42, 1.0, 3},
        {&ten, 668 + 95, 366, 1.0, -1},    {&ten, 668, 366 + 43, 1.0, -1},
        {&ten, 667, 366, 1.0, -1},         {&ten, 447, 11, 1.0, -1},   // seat 0 is empty
        {&ten, 2, 141, 1.0, 7},            {&ten, 1002, 549, 1.5, 3},  // 668 x 1.5, 366 x 1.5
        {&ten, 1002 + 94, 549 + 42, 1.5, 3}, {&ten, 668, 366, 1.5, -1},
        {&six, 571, 380, 1.0, 2},          {&six, 2, 141, 1.0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " x" << c.scale);
        EXPECT_EQ(playerBoxAt(c.x, c.y, *c.table, c.scale, c.scale), c.seat);
    }
}

TEST(TableTexts, ChipCountsAndActionWords)
{
    const std::pair<float, const char*> counts[] = {
        {12.5f, "12.50"}, {12.004f, "12"}, {12.0f, "12"},        {0.0f, "0"},
        {0.25f, "0.25"},  {1000000.0f, "1000000"}, {3.0e9f, "3000000000"},
    };
    for (const auto& [amount, text] : counts)
        EXPECT_EQ(chipCountText(amount), text) << amount;

    EXPECT_EQ(actionWord(3), "Call");
    EXPECT_EQ(actionWord(4), "Fold");
    EXPECT_EQ(actionWord(5), "Raise");
    EXPECT_EQ(actionWord(6), "Check");
    EXPECT_EQ(actionWord(7), "");
    EXPECT_EQ(actionWord(10), "");
}

TEST(FrameInputs, EveryDrawnFieldCountsAndOthersDoNot)
{
    TableState base;
    base.seatCount = 10;
    base.blinkWord = 1;
    const TableAnimation animation;
    const FrameInputs before = frameInputs(base, animation);

    const std::pair<const char*, std::function<void(TableState&)>> drawn[] = {
        {"name", [](TableState& t) { t.playerName[4] = "bo"; }},
        {"stack", [](TableState& t) { t.stack[2] = 1.5f; }},
        {"bet", [](TableState& t) { t.inFront[9] = 2.0f; }},
        {"pot 6", [](TableState& t) { t.pots[6] = 1.0f; }},
        {"board", [](TableState& t) { t.board[4] = 12; }},
        {"acting", [](TableState& t) { t.actingSeat = 3; }},
        {"dealer", [](TableState& t) { t.dealerSeat = 3; }},
        {"this hand", [](TableState& t) { t.thisHandText = "#12"; }},
        {"shown", [](TableState& t) { t.shownCards[1][1] = 7; }},
        {"sat out", [](TableState& t) { t.seatState[5] = kSeatSittingOut; }},
        {"seated here", [](TableState& t) { t.userSeatedHere = 1; }},
        {"won", [](TableState& t) { t.userWon = 1; }},
        {"fade", [](TableState& t) { t.actionLabelFade[0] = 30; }},
        {"deal order", [](TableState& t) { t.dealOrder = {1, 2}; }},
    };
    for (const auto& [what, change] : drawn) {
        TableState changed = base;
        change(changed);
        EXPECT_FALSE(frameInputs(changed, animation) == before) << what;
    }

    const std::pair<const char*, std::function<void(TableState&)>> notDrawn[] = {
        {"chat", [](TableState& t) { t.chatText = "hi"; }},
        {"prompt", [](TableState& t) { t.promptKind = 2; }},
        {"pot 7", [](TableState& t) { t.pots[7] = 1.0f; }},
        {"fade of seat 1", [](TableState& t) { t.actionLabelFade[1] = 30; }},
        // The marker is off: its blink word does not matter without an acting seat.
        {"blink", [](TableState& t) { t.blinkWord = 0; }},
    };
    for (const auto& [what, change] : notDrawn) {
        TableState changed = base;
        change(changed);
        EXPECT_TRUE(frameInputs(changed, animation) == before) << what;
    }

    TableAnimation moved;
    moved.buttonGlide = 0.07;
    EXPECT_FALSE(frameInputs(base, moved) == before);
}

} // namespace
} // namespace tessaly
