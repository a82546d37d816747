#pragma once
// A picture seen through the surface of water: two height buffers, the new
// state and the old one, advanced one time step per frame with damping, and a
// frame rendered by shifting and shading each pixel by the slope of the
// surface. Integer arithmetic only; nothing is allocated after create().

#include <cstdint>
#include <vector>

namespace tessaly {

class WaterRipple {
public:
    static constexpr int kDampingShift = 5;

    // (Re)allocates both buffers for a w x h picture, flat; page 0.
    void create(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // 0: buffer 0 holds the new state and buffer 1 the old; 1: the reverse.
    int page() const { return page_; }
    void setShading(bool on) { shading_ = on; }

    // Renders one frame of `source` into `target` (both width x height pixels
    // 0x??RRGGBB, row by row) from buffer 0, then advances the water by one
    // step and flips the page. Border pixels of the target keep their value.
    void step(const std::uint32_t* source, std::uint32_t* target);

    // Adds depth to every interior cell of the page's new buffer that lies
    // inside the circle of the radius around (x, y). A negative x or y is
    // replaced by a random place that keeps the circle inside the picture.
    void drop(int x, int y, int radius, int depth, int page);

    // The buffer's height at (x, y), for inspection.
    std::int32_t heightAt(int buffer, int x, int y) const;

private:
    std::int32_t* buffer(int index) { return buffers_[static_cast<std::size_t>(index)].data(); }
    int randomBelow(int bound);

    int width_ = 0;
    int height_ = 0;
    int page_ = 0;
    bool shading_ = true;
    std::uint32_t random_ = 1971;
    std::vector<std::int32_t> buffers_[2];
};

} // namespace tessaly
