#pragma once
// Where the items of the link banner stand, as a pure function of their
// measured sizes and the banner's width: items scroll 1 pixel left per step;
// one that has gone past the left edge leaves; the next item (wrapping to the
// first) enters at the right edge once the rightmost has moved more than
// kGap pixels clear of it.

#include <vector>

namespace tessaly {

struct TickerSlot {
    int item = 0;   // index into the banner's items
    int x = 0;      // left edge of the item's text
};

struct TickerExtent {
    int width = 0;
    int height = 0;
};

class TickerTrack {
public:
    static constexpr int kGap = 100;

    // The measured size of every item, in item order.
    void setExtents(std::vector<TickerExtent> extents);
    // Empties the slots and puts item 0 at x = 0.
    void reset();
    // One scroll step on a banner `width` pixels wide.
    void step(int width);
    // The index of the item under the point, or -1: its text rectangle is
    // clipped to the banner and vertically centred in it.
    int itemAt(int x, int y, int width, int height) const;

    const std::vector<TickerSlot>& visible() const { return slots_; }
    const std::vector<TickerExtent>& extents() const { return extents_; }

private:
    std::vector<TickerExtent> extents_;
    std::vector<TickerSlot> slots_;
    int lastEntered_ = 0;
};

} // namespace tessaly
