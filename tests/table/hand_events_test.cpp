#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/ClientState.h"
#include "tests/support/RecordedHands.h"

namespace tessaly {
namespace {

std::vector<std::string> eventTexts(const std::vector<std::string>& lines)
{
    ClientState state;
    EffectRecorder recorder;
    Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
    for (const std::string& line : recorded::join(recorded::seating(), lines))
        dispatcher.dispatchLine(line);
    std::vector<std::string> texts;
    state.tables[3].handEvents.drain([&](const HandEvent& e) { texts.push_back(handEventText(e)); });
    return texts;
}

TEST(HandEvents, WholeHandsFromTheServersLines)
{
    const std::vector<std::string> blinds = {
        "seat 3 (Nimbus) posts the small blind 0.10",
        "seat 6 (Bo) posts the big blind 0.20",
    };
    struct Case {
        recorded::Hand hand;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {recorded::foldToABet(), recorded::join(recorded::join({"hand 41"}, blinds), {
             "seat 1 (Ann) raises to 0.60",
             "seat 3 (Nimbus) calls 0.50",
             "seat 6 (Bo) folds",
             "flop 9\u2666 10\u2665 8\u2660",
             "seat 3 (Nimbus) checks",
             "seat 1 (Ann) bets 1",
             "seat 3 (Nimbus) folds",
             "uncalled 1 returned to Ann",
             "Ann wins 1.40",
         })},
        {recorded::allInSidePotSplit(), recorded::join(recorded::join({"hand 42"}, blinds), {
             "seat 1 (Ann) raises to 1",
             "seat 3 (Nimbus) goes all-in for 4",
             "seat 6 (Bo) calls 3.80",
             "seat 1 (Ann) calls 3",
             "flop 9\u2666 10\u2665 8\u2660",
             "seat 6 (Bo) bets 2",
             "seat 1 (Ann) calls 2",
             "turn 2\u2666",
             "seat 6 (Bo) checks",
             "seat 1 (Ann) checks",
             "river A\u2660",
             "seat 6 (Bo) checks",
             "seat 1 (Ann) checks",
             "seat 1 (Ann) shows J\u2666 Q\u2666",
             "seat 3 (Nimbus) shows 2\u2660 3\u2660",
             "seat 6 (Bo) shows J\u2665 Q\u2665",
             "Ann wins 6 with a straight, main pot",
             "Bo wins 6 with a straight, main pot",
             "Bo wins 4 with a straight, side pot 1",
         })},
        {recorded::cancelled(), {"hand 43", "seat 1 (Ann) posts the small blind 0.10", "hand cancelled"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(eventTexts(c.hand.lines), c.events) << c.hand.name;
}

// A table whose window does not take its events: the oldest whole hand goes
// and one line says so, never a line of a hand that stays.
TEST(HandEvents, FullQueueDropsTheOldestWholeHand)
{
    struct Case {
        const char* name;
        std::vector<int> handSizes;   // events per hand, the Start included
        std::string first;            // the oldest waiting line afterwards
        std::size_t kept;             // events after that line
    };
    const Case cases[] = {
        {"one hand too many", {200, 200, 200}, "hand 1 dropped from the log", 400},
        {"two hands too many", {300, 300, 300}, "2 hands from hand 1 dropped from the log", 300},
        {"one hand fills the queue", {600}, "hand 1 dropped from the log", kMaxWaitingHandEvents - 1},
    };
    for (const Case& c : cases) {
        HandEventQueue queue;
        for (std::size_t h = 0; h < c.handSizes.size(); ++h) {
            HandEvent start;
            start.hand = static_cast<int>(h) + 1;
            queue.push(start);
            for (int i = 1; i < c.handSizes[h]; ++i) {
                HandEvent check;
                check.kind = HandEventKind::Check;
                check.seat = i % kSeatCount;
                queue.push(check);
            }
        }
        ASSERT_FALSE(queue.waiting().empty()) << c.name;
        EXPECT_TRUE(handEventText(queue.waiting().front()).starts_with(c.first))
            << c.name << ": " << handEventText(queue.waiting().front());
        EXPECT_EQ(queue.waiting().size() - 1, c.kept) << c.name;
        // What stays starts with a whole hand, unless one hand alone overflowed.
        if (c.handSizes.size() > 1) {
            EXPECT_EQ(queue.waiting()[1].kind, HandEventKind::Start) << c.name;
        }
    }
}

// A window opened in the middle of a hand missed the deal: the seat to act
// and every seat seen acting hold cards from then on; a fold gives them up.
TEST(HandEvents, AWindowOpenedMidHandShowsWhoIsStillIn)
{
    ClientState state;
    EffectRecorder recorder;
    Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
    dispatcher.dispatchLine(std::string_view("INIT:\ttable\t3\tphase\t1003\tdealer\t0\tplayers\t3\tacting\t2"
                            "\tboard\t69\t69\t69\t69\t69\tamount\t0\tnumber\t0\tpot\t0.3"
                            "\tname\tAnn\tstack\t10\tbet\t0\tseat\t0\tstate\t2002"
                            "\tname\tNimbus\tstack\t10\tbet\t0.1\tseat\t2\tstate\t2002"
                            "\tname\tBo\tstack\t10\tbet\t0.2\tseat\t5\tstate\t2002"));
    const TableState& t = state.tables[3];
    EXPECT_EQ(t.dealOrder, (std::vector<std::int32_t>{2}));
    dispatcher.dispatchLine(std::string_view("HISTORY_PACKET:\t3\t2\t3\t0.2\t9.8"));
    dispatcher.dispatchLine(std::string_view("HISTORY_PACKET:\t3\t5\t6\t9.8"));
    dispatcher.dispatchLine(std::string_view("HISTORY_PACKET:\t3\t0\t4\t10"));
    EXPECT_EQ(t.dealOrder, (std::vector<std::int32_t>{2, 5}));
    EXPECT_EQ(t.holeCardsDrawn[2], 2);
    EXPECT_EQ(t.holeCardsDrawn[5], 2);
    EXPECT_EQ(t.holeCardsDrawn[0], 0);
}

} // namespace
} // namespace tessaly
