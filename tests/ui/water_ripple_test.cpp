// The water surface of the about box's picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "client/ui/WaterRipple.h"

namespace tessaly {
namespace {

constexpr int kW = 454;
constexpr int kH = 290;

// A picture with a different colour in every pixel, so a shifted pixel shows.
std::vector<std::uint32_t> pattern(int w, int h)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
    for (int i = 0; i < w * h; ++i) {
        const auto red = static_cast<std::uint32_t>((i * 7) % 256);
        const auto green = static_cast<std::uint32_t>((i / 3) % 256);
        const auto blue = static_cast<std::uint32_t>((i * 13) % 256);
        pixels[static_cast<std::size_t>(i)] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
    return pixels;
}

TEST(WaterRipple, WithoutInputEveryFrameIsTheSource)
{
    const std::vector<std::uint32_t> source = pattern(kW, kH);
    std::vector<std::uint32_t> target = source;
    WaterRipple water;
    water.create(kW, kH);
    for (int frame = 0; frame < 5; ++frame) {
        water.step(source.data(), target.data());
        ASSERT_EQ(target, source) << "frame " << frame;
    }
    EXPECT_EQ(water.page(), 1);
}

TEST(WaterRipple, ADropFillsExactlyTheCellsInsideItsCircleWithinTheInterior)
{
    struct Case {
        int x, y, radius;
    };
    const Case cases[] = {
        {100, 100, 5}, {100, 100, 1}, {0, 5, 5}, {kW - 1, kH - 1, 7}, {3, kH - 2, 50}, {kW + 3, 40, 5},
    };
    for (const Case& c : cases) {
        WaterRipple water;
        water.create(kW, kH);
        water.drop(c.x, c.y, c.radius, 7, 1);
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const bool interior = x >= 1 && x <= kW - 2 && y >= 1 && y <= kH - 2;
                const int dx = x - c.x;
                const int dy = y - c.y;
                const bool inside = interior && dx * dx + dy * dy < c.radius * c.radius;
                ASSERT_EQ(water.heightAt(1, x, y), inside ? 7 : 0)
                    << "drop at " << c.x << "," << c.y << " r " << c.radius << ", cell " << x << "," << y;
                ASSERT_EQ(water.heightAt(0, x, y), 0);
            }
        }
    }
}

TEST(WaterRipple, ADropAtTheEdgeNeverMovesTheBorder)
{
    const std::vector<std::uint32_t> source = pattern(kW, kH);
    std::vector<std::uint32_t> target(source.size(), 0xFF123456u);
    WaterRipple water;
    water.create(kW, kH);
    water.drop(0, kH / 2, 50, 500, water.page());
    water.drop(kW / 2, 0, 50, 500, water.page());
    for (int frame = 0; frame < 40; ++frame) {
        water.step(source.data(), target.data());
        for (int x = 0; x < kW; ++x) {
            for (int y : {0, kH - 1}) {
                ASSERT_EQ(water.heightAt(0, x, y), 0);
                ASSERT_EQ(water.heightAt(1, x, y), 0);
                ASSERT_EQ(target[static_cast<std::size_t>(y * kW + x)], 0xFF123456u);
            }
        }
        for (int y = 0; y < kH; ++y) {
            for (int x : {0, kW - 1}) {
                ASSERT_EQ(water.heightAt(0, x, y), 0);
                ASSERT_EQ(target[static_cast<std::size_t>(y * kW + x)], 0xFF123456u);
            }
        }
    }
}

// How far the disturbance has reached from the centre (the outermost cell
// that moved noticeably) and the height of the strongest wave.
struct Ring {
    double reach = 0;
    int height = 0;
};

Ring measure(const WaterRipple& water, int cx, int cy)
{
    Ring ring;
    for (int y = 1; y < kH - 1; ++y) {
        for (int x = 1; x < kW - 1; ++x) {
            const int h = std::abs(water.heightAt(0, x, y));
            ring.height = std::max(ring.height, h);
            if (h >= 8)
                ring.reach = std::max(ring.reach, std::hypot(x - cx, y - cy));
        }
    }
    return ring;
}

TEST(WaterRipple, AClicksRingsSpreadAndWeaken)
{
    const std::vector<std::uint32_t> source = pattern(kW, kH);
    std::vector<std::uint32_t> target = source;
    WaterRipple water;
    water.create(kW, kH);
    const int cx = kW / 2;
    const int cy = kH / 2;
    water.drop(cx, cy, 50, 500, water.page());
    std::vector<Ring> rings;
    for (int frame = 1; frame <= 100; ++frame) {
        water.step(source.data(), target.data());
        if (frame >= 40 && frame % 20 == 0)
            rings.push_back(measure(water, cx, cy));
    }
    ASSERT_EQ(rings.size(), 4u);
    for (std::size_t i = 1; i < rings.size(); ++i) {
        EXPECT_GT(rings[i].reach, rings[i - 1].reach) << "after " << 20 * (i + 2) << " frames";
        EXPECT_LT(rings[i].height, rings[i - 1].height) << "after " << 20 * (i + 2) << " frames";
    }
    EXPECT_NE(target, source);
}

TEST(WaterRipple, ASlopeShiftsAndShadesThePixel)
{
    // A single raised cell: its left neighbour sees a falling slope to the
    // right (dx < 0) and is lightened by it; unshaded it is only moved.
    constexpr int w = 20;
    constexpr int h = 20;
    const std::vector<std::uint32_t> source(w * h, 0xFF808080u);
    for (const bool shading : {true, false}) {
        std::vector<std::uint32_t> target = source;
        WaterRipple water;
        water.create(w, h);
        water.setShading(shading);
        water.drop(10, 10, 1, 40, 0);
        water.step(source.data(), target.data());
        const std::uint32_t left = target[10 * w + 9];
        EXPECT_EQ(left, shading ? 0xFFA8A8A8u : 0xFF808080u);
        // The raised cell itself: slopes +40 both ways, darkened by 40.
        EXPECT_EQ(target[10 * w + 10], shading ? 0xFF585858u : 0xFF808080u);
    }
}

} // namespace
} // namespace tessaly
