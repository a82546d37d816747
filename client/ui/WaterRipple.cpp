#include "client/ui/WaterRipple.h"

#include <algorithm>

namespace tessaly {
namespace {

// One colour byte lowered by the slope, within 0 to 255.
std::uint32_t shaded(std::uint32_t pixel, int shift, int slope)
{
    const int value = std::clamp(static_cast<int>((pixel >> shift) & 0xFF) - slope, 0, 255);
    return static_cast<std::uint32_t>(value) << shift;
}

} // namespace

void WaterRipple::create(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    const auto cells = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (auto& heights : buffers_)
        heights.assign(cells, 0);
    page_ = 0;
}

void WaterRipple::step(const std::uint32_t* source, std::uint32_t* target)
{
    const int w = width_;
    const int h = height_;
    if (w < 3 || h < 3)
        return;
    const long cells = static_cast<long>(w) * h;

    const std::int32_t* surface = buffer(0);
    for (int y = 1; y < h - 1; ++y) {
        for (int i = y * w + 1; i < y * w + w - 1; ++i) {
            const int dx = surface[i] - surface[i + 1];
            const int dy = surface[i] - surface[i + w];
            // Still water shows the picture as it is.
            if ((dx | dy) == 0) {
                target[i] = source[i];
                continue;
            }
            const long s = i + static_cast<long>(w) * (dy >> 3) + (dx >> 3);
            if (s <= 0 || s >= cells)
                continue;
            const std::uint32_t pixel = source[s];
            target[i] = shading_ ? (pixel & 0xFF000000u) | shaded(pixel, 16, dx) | shaded(pixel, 8, dx) |
                                       shaded(pixel, 0, dx)
                                 : pixel;
        }
    }

    // Row by row over separate buffers, so the compiler may use vector
    // instructions.
    std::int32_t* __restrict next = buffer(page_);
    const std::int32_t* __restrict old = buffer(1 - page_);
    for (int y = 1; y < h - 1; ++y) {
        const std::int32_t* __restrict above = old + (y - 1) * w;
        const std::int32_t* __restrict row = old + y * w;
        const std::int32_t* __restrict below = old + (y + 1) * w;
        std::int32_t* __restrict out = next + y * w;
        for (int x = 1; x < w - 1; ++x) {
            const int v = ((above[x - 1] + above[x] + above[x + 1] + row[x - 1] + row[x + 1] + below[x - 1] +
                            below[x] + below[x + 1]) >> 2) - out[x];
            out[x] = v - (v >> kDampingShift);
        }
    }
    page_ = 1 - page_;
}

int WaterRipple::randomBelow(int bound)
{
    random_ = random_ * 1103515245u + 12345u;
    return bound > 0 ? static_cast<int>((random_ >> 8) % static_cast<std::uint32_t>(bound)) : 0;
}

void WaterRipple::drop(int x, int y, int radius, int depth, int page)
{
    if (width_ < 3 || height_ < 3 || radius <= 0 || (page != 0 && page != 1))
        return;
    if (x < 0)
        x = radius + 1 + randomBelow(width_ - 2 * radius - 1);
    if (y < 0)
        y = radius + 1 + randomBelow(height_ - 2 * radius - 1);
    std::int32_t* heights = buffer(page);
    const int left = std::max(-radius, 1 - x);
    const int right = std::min(radius, width_ - x - 1);
    const int top = std::max(-radius, 1 - y);
    const int bottom = std::min(radius, height_ - y - 1);
    for (int dy = top; dy < bottom; ++dy) {
        for (int dx = left; dx < right; ++dx) {
            if (dx * dx + dy * dy < radius * radius)
                heights[(y + dy) * width_ + x + dx] += depth;
        }
    }
}

std::int32_t WaterRipple::heightAt(int buffer, int x, int y) const
{
    const auto cell = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    return buffers_[static_cast<std::size_t>(buffer)].at(cell);
}

} // namespace tessaly
