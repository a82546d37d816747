// Many tables at once: where each new table window opens, how the table
// zooms, when a waiting table may come forward, and the queue's order.

#include <gtest/gtest.h>

#include "client/table/ActionQueue.h"
#include "client/table/ComingForward.h"
#include "client/table/TablePlacement.h"
#include "client/table/TableZoom.h"

namespace tessaly {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr Extent kBase{798, 544};
constexpr FrameMargins kMargins{1, 24, 1, 1};

// Opens `count` tables one after the other, each placed among the earlier.
std::vector<Placement> openTables(const Box& available, std::optional<Box> lobby, int count)
{
    std::vector<Placement> placed;
    PlacementRequest request{.available = available, .base = kBase, .margins = kMargins, .tables = {}, .lobby = lobby};
    for (int i = 0; i < count; ++i) {
        placed.push_back(placeTable(request));
        request.tables.push_back(placed.back().frame);
    }
    return placed;
}

bool overlapsAnother(const std::vector<Placement>& placed, std::size_t i)
{
    for (std::size_t j = 0; j < placed.size(); ++j)
        if (j != i && placed[i].frame.overlaps(placed[j].frame))
            return true;
    return false;
}

TEST(TablePlacement, TilesThenCascades)
{
    const Box fullHd{0, 0, 1920, 1080};
    struct Case {
        const char* name;
        Box available;
        std::optional<Box> lobby;
        int tables;
        std::size_t tiled;        // the first ones, which overlap nothing
        bool firstAtFullSize;
    };
    const Case cases[] = {
        {"one", fullHd, std::nullopt, 1, 1, true},
        {"four", fullHd, std::nullopt, 4, 4, true},
        {"nine", fullHd, std::nullopt, 9, 5, true},
        {"twelve on a larger screen", {0, 30, 2560, 1410}, std::nullopt, 12, 6, true},
        {"small screen", {0, 0, 800, 480}, std::nullopt, 2, 1, false},
        {"lobby on the left", fullHd, Box{0, 0, 640, 700}, 2, 2, true},
        {"lobby in the middle", fullHd, Box{560, 240, 800, 600}, 4, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Placement> placed = openTables(c.available, c.lobby, c.tables);
        EXPECT_EQ(placed.front().zoom == 1.0, c.firstAtFullSize);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(c.available.contains(placed[i].frame));
            EXPECT_GE(placed[i].zoom, kMinTableZoom);
            EXPECT_LE(placed[i].zoom, 1.0);
            EXPECT_EQ(placed[i].frame, tableFrame(placed[i].frame.x, placed[i].frame.y, kBase, kMargins,
                                                  placed[i].zoom));
            if (i < c.tiled) {
                // Tiled: overlaps no other table, and the lobby only where
                // the rest of the screen had no room.
                EXPECT_FALSE(overlapsAnother({placed.begin(), placed.begin() + static_cast<long>(c.tiled)}, i));
                if (c.lobby && i == 0 && c.lobby->x == 0) {
                    EXPECT_FALSE(placed[i].frame.overlaps(*c.lobby));
                }
            } else {
                // Cascaded: on the diagonal from the corner, each at a step
                // of its own.
                const int dx = placed[i].frame.x - c.available.x;
                EXPECT_EQ(dx, placed[i].frame.y - c.available.y);
                EXPECT_EQ(dx % kCascadeStep, 0);
                for (std::size_t j = c.tiled; j < i; ++j)
                    EXPECT_NE(placed[j].frame.x, placed[i].frame.x);
            }
        }
        // Left to right before top to bottom.
        if (c.tiled >= 2 && !c.lobby) {
            EXPECT_GT(placed[1].frame.x, placed[0].frame.x);
        }
    }
}

TEST(TablePlacement, RememberedFrameIsBroughtOntoTheScreen)
{
    const Box area{0, 0, 1280, 1024};
    struct Case {
        Box saved;
        Box kept;
    };
    const Case cases[] = {
        {{100, 100, 800, 569}, {100, 100, 800, 569}},
        {{1900, 1000, 800, 569}, {480, 455, 800, 569}},
        {{-300, -50, 800, 569}, {0, 0, 800, 569}},
        {{50, 50, 2000, 1400}, {0, 0, 2000, 1400}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keepOnScreen(c.saved, area), c.kept);
}

TEST(TableZoom, SizesRectanglesAndFontsKeepTheirProportions)
{
    // Boxes that touch at zoom 1, at odd places, as the panel's controls do.
    const std::vector<Box> row{{3, 5, 37, 13}, {40, 5, 51, 13}, {91, 5, 9, 13}, {3, 18, 97, 29}};
    for (const double zoom : {0.6, 1.0, 1.5, 2.5}) {
        SCOPED_TRACE(zoom);
        const Extent client = zoomedExtent(kBase, zoom);
        EXPECT_NEAR(client.width, kBase.width * zoom, 0.5);
        EXPECT_NEAR(client.height, kBase.height * zoom, 0.5);
        EXPECT_DOUBLE_EQ(zoomToFit(kBase, client), zoom) << "the size the zoom made gives the zoom back";
        EXPECT_NEAR(zoomedPoints(9, zoom), 9 * zoom, 1e-9);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Box box = zoomedBox(row[i], zoom);
            EXPECT_NEAR(box.width, row[i].width * zoom, 1.0);
            for (std::size_t j = i + 1; j < row.size(); ++j)
                EXPECT_FALSE(box.overlaps(zoomedBox(row[j], zoom))) << i << " and " << j;
        }
        // Neighbours still touch: no gap opens between them.
        EXPECT_EQ(zoomedBox(row[0], zoom).right(), zoomedBox(row[1], zoom).x);
    }
    // Another shape shows the zoom that fits both ways; the limits hold.
    EXPECT_DOUBLE_EQ(zoomToFit(kBase, {kBase.width * 2, kBase.height}), 1.0);
    EXPECT_DOUBLE_EQ(zoomToFit(kBase, {kBase.width / 4, kBase.height}), kMinTableZoom);
    EXPECT_DOUBLE_EQ(zoomToFit(kBase, {kBase.width * 4, kBase.height * 4}), kMaxTableZoom);
}

TEST(ComingForward, RaisesOnlyWhenTheUserIsIdleElsewhere)
{
    const SteadyTime now{seconds(100)};
    struct Case {
        const char* name;
        std::optional<milliseconds> inputAgo;
        bool buttonHeld;
        bool activeTableWaits;
        bool handedOver;
        Forward expected;
    };
    const Case cases[] = {
        {"no input yet", std::nullopt, false, false, false, Forward::Raise},
        {"typed just now", milliseconds(10), false, false, false, Forward::AskAttention},
        {"clicked 999 ms ago", milliseconds(999), false, false, false, Forward::AskAttention},
        {"idle for a second", milliseconds(1000), false, false, false, Forward::Raise},
        {"button held, idle keys", milliseconds(5000), true, false, false, Forward::AskAttention},
        {"deciding at another table", milliseconds(5000), false, true, false, Forward::AskAttention},
        {"just acted at the front table", milliseconds(0), false, true, true, Forward::Raise},
        {"acted, but the button is still down", milliseconds(0), true, false, true, Forward::AskAttention},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForwardInputs in{.now = now, .lastInputElsewhere = std::nullopt, .buttonHeld = c.buttonHeld, .activeTableWaits = c.activeTableWaits,
                         .handedOver = c.handedOver};
        if (c.inputAgo)
            in.lastInputElsewhere = now - *c.inputAgo;
        EXPECT_EQ(comingForward(in), c.expected);
    }
}

TEST(ActionQueue, OldestFirstWithTimeLeft)
{
    const SteadyTime start{seconds(1000)};
    ActionQueue queue;
    queue.report(7, "Cinderfall", true, start + seconds(3));
    queue.report(2, "Aldergrove", true, start + seconds(5));
    queue.report(4, "Brackenridge", true, start + seconds(3));
    queue.report(7, "Cinderfall", true, start + seconds(9));   // still the same turn
    const unsigned version = queue.version();

    std::vector<int> order;
    for (const WaitingTable& t : queue.waiting())
        order.push_back(t.tableId);
    EXPECT_EQ(order, (std::vector<int>{4, 7, 2}));
    EXPECT_EQ(queue.next(std::nullopt), 4);
    EXPECT_EQ(queue.next(4), 7);
    EXPECT_EQ(queueLine(queue.waiting()[2], start + seconds(10)), "Aldergrove - 15 s");
    EXPECT_EQ(secondsLeft(start, start + milliseconds(19001)), 1);
    EXPECT_EQ(secondsLeft(start, start + seconds(60)), 0);

    // Acting takes a table off; its next turn queues it behind the others.
    queue.report(4, "Brackenridge", false, start + seconds(11));
    queue.report(4, "Brackenridge", true, start + seconds(12));
    EXPECT_GT(queue.version(), version);
    order.clear();
    for (const WaitingTable& t : queue.waiting())
        order.push_back(t.tableId);
    EXPECT_EQ(order, (std::vector<int>{7, 2, 4}));
    queue.remove(7);
    queue.remove(2);
    queue.remove(4);
    EXPECT_EQ(queue.next(std::nullopt), std::nullopt);
}

} // namespace
} // namespace tessaly
