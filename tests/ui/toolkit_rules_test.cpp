// The pure rules of the toolkit: banner slots, chip split and stack layout,
// card and chip file names, dialog units and font names.

#include <gtest/gtest.h>

#include "client/ui/CardNames.h"
#include "client/ui/ChipStack.h"
#include "client/ui/TickerTrack.h"
#include "platform/gui/DialogUnits.h"
#include "platform/gui/FontNames.h"

namespace tessaly {
namespace {

std::vector<int> itemsOf(const TickerTrack& track)
{
    std::vector<int> items;
    for (const TickerSlot& slot : track.visible())
        items.push_back(slot.item);
    return items;
}

TEST(TickerTrack, AShortItemRepeatsWithAGapOfAtLeastOneHundredPixels)
{
    TickerTrack track;
    track.setExtents({{50, 14}});
    track.reset();
    ASSERT_EQ(track.visible().size(), 1u);
    EXPECT_EQ(track.visible()[0].x, 0);
    // 50 + 100 < 400 at once: the copy enters at the right edge on step one.
    track.step(400);
    ASSERT_EQ(itemsOf(track), (std::vector<int>{0, 0}));
    EXPECT_EQ(track.visible()[1].x, 400);
    // From then on, each copy enters once the previous one is 100 clear.
    for (int i = 0; i < 2000; ++i) {
        track.step(400);
        const auto& shown = track.visible();
        for (size_t s = 1; s < shown.size(); ++s)
            EXPECT_GE(shown[s].x - (shown[s - 1].x + 50), 100);
    }
}

TEST(TickerTrack, AWideItemLetsTheNextInOnlyWhenItIsClearOfTheEdge)
{
    TickerTrack track;
    track.setExtents({{600, 14}, {80, 14}, {30, 14}});
    track.reset();
    int steps = 0;
    while (track.visible().size() == 1) {
        track.step(400);
        ++steps;
    }
    // The right edge went from 600 to below 400 - 100.
    EXPECT_EQ(steps, 301);
    EXPECT_EQ(track.visible().back().item, 1);
    EXPECT_EQ(track.visible().back().x, 400);
}

TEST(TickerTrack, WrapsToTheFirstItemAndDropsItemsThatLeftTheBanner)
{
    TickerTrack track;
    track.setExtents({{120, 14}, {120, 14}});
    track.reset();
    std::vector<int> entered;
    for (int i = 0; i < 3000; ++i) {
        track.step(300);
        // Every step moves all slots first, so a slot at the right edge is new.
        if (track.visible().back().x == 300)
            entered.push_back(track.visible().back().item);
        ASSERT_GT(track.visible().front().x + 120, 0) << "an item past the left edge stays";
        ASSERT_LE(track.visible().size(), 3u);
    }
    ASSERT_GE(entered.size(), 4u);
    for (size_t i = 0; i < entered.size(); ++i)
        EXPECT_EQ(entered[i], int((i + 1) % 2));
}

TEST(TickerTrack, HitTestClipsToTheBannerAndCentresVertically)
{
    TickerTrack track;
    track.setExtents({{100, 10}, {60, 10}});
    track.reset();
    for (int i = 0; i < 30; ++i)
        track.step(200);   // item 0 at x = -30; item 1 entered at 200 and moved to 171
    const struct {
        int x, y, item;
    } cases[] = {{0, 10, 0}, {69, 10, 0}, {70, 10, -1}, {-5, 10, -1}, {10, 4, -1},
                 {10, 5, 0}, {10, 14, 0}, {10, 15, -1}, {175, 10, 1}, {199, 10, 1}, {200, 10, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(track.itemAt(c.x, c.y, 200, 20), c.item) << c.x << "," << c.y;
}

std::vector<float> chipsOf(float amount)
{
    std::vector<float> chips;
    const auto counts = splitAmount(amount);
    for (int i = 0; i < kChipKinds; ++i)
        chips.insert(chips.end(), size_t(counts[size_t(i)]), kChipValues[size_t(i)]);
    return chips;
}

TEST(ChipSplit, GreedyLargestFirstAfterAddingATenthOfACent)
{
    const struct {
        float amount;
        std::vector<float> chips;
    } cases[] = {
        {0.3f, {0.25f, 0.05f}},
        {7.77f, {5, 1, 1, 0.5f, 0.25f, 0.01f, 0.01f}},
        {1234.56f, {1000, 100, 100, 25, 5, 1, 1, 1, 1, 0.5f, 0.05f, 0.01f}},
        {150.0f, {100, 25, 25}},
        {0.009f, {0.01f}},
        {0.019f, {0.01f, 0.01f}},
        {0.0089f, {}},
        {0.0f, {}},
        {-5.0f, {}},
        {130000.0f, {100000, 25000, 5000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chipsOf(c.amount), c.chips) << c.amount;
}

TEST(ChipStackPlaces, ColumnsOfFiveLargestAtTheBottom)
{
    const std::vector<ChipPlace> places = chipStackPlaces(1234.56f);
    ASSERT_EQ(places.size(), 12u);
    EXPECT_EQ(places[0].index, 3);   // the 1000 at the bottom of column 0
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].column, int(i / 5));
        EXPECT_EQ(places[i].level, int(i % 5));
    }
    EXPECT_EQ(places.back().column, 2);
    EXPECT_EQ(places.back().level, 1);
    // A nonsense amount draws a bounded number of chips.
    EXPECT_LE(chipStackPlaces(3.0e38f).size(), 1000u);
}

TEST(AssetNames, CardAndChipFiles)
{
    const struct {
        int code;
        const char* name;
    } cards[] = {{0, "cards/2d.bmp"}, {1, "cards/2h.bmp"}, {2, "cards/2c.bmp"}, {3, "cards/2s.bmp"},
                 {13, "cards/5h.bmp"}, {32, "cards/td.bmp"}, {36, "cards/jd.bmp"}, {43, "cards/qs.bmp"},
                 {44, "cards/kd.bmp"}, {51, "cards/as.bmp"}, {52, "cards/b.bmp"}, {69, ""}, {-1, ""}};
    for (const auto& c : cards)
        EXPECT_EQ(cardFileName(c.code), c.name) << c.code;
    const char* chips[] = {"chips//d100000.gif", "chips//d25000.gif", "chips//d5000.gif", "chips//d1000.gif",
                           "chips//d500.gif",    "chips//d100.gif",   "chips//d25.gif",   "chips//d5.gif",
                           "chips//d1.gif",      "chips//c50.gif",    "chips//c25.gif",   "chips//c10.gif",
                           "chips//c5.gif",      "chips//c1.gif"};
    for (int i = 0; i < kChipKinds; ++i)
        EXPECT_EQ(chipFileName(i), chips[i]);
}

TEST(DialogUnits, ConvertEachCoordinateAndRoundHalfAway)
{
    EXPECT_EQ(unitsToPixels({531, 301, 531, 301}), QRect(797, 489, 797, 489));
    EXPECT_EQ(unitsToPixels({7, 272, 48, 14}), QRect(11, 442, 72, 23));
    EXPECT_EQ(unitsToPixels({1, 1, 3, 3}), QRect(2, 2, 5, 5));
    EXPECT_EQ(unitsToPixels({10, 10, 10, 10}, {1.25, 1.25}), QRect(19, 20, 19, 20));
    EXPECT_EQ(unitsToPixels({10, 10, 10, 10}, {2.0, 2.0}), QRect(30, 33, 30, 33));
    EXPECT_EQ(systemBaseUnitX(), 8);
    EXPECT_EQ(systemBaseUnitX(1.25), 10);
}

TEST(FontNames, MapToInstalledFamilies)
{
    const struct {
        const char* face;
        const char* family;
        bool bold;
    } cases[] = {{"MS Shell Dlg", "Liberation Sans", false}, {"Arial", "Liberation Sans", false},
                 {"Verdana", "DejaVu Sans", false},          {"Verdana Bold", "DejaVu Sans", true},
                 {"arial bold", "Liberation Sans", true},    {"Courier New", "Liberation Mono", false},
                 {"Noto Sans", "Noto Sans", false},          {"", "Liberation Sans", false}};
    for (const auto& c : cases) {
        const InstalledFace face = installedFace(c.face);
        EXPECT_EQ(face.family, c.family) << c.face;
        EXPECT_EQ(face.bold, c.bold) << c.face;
    }
}

} // namespace
} // namespace tessaly
