#include "client/ui/TickerTrack.h"

#include <algorithm>

namespace tessaly {

void TickerTrack::setExtents(std::vector<TickerExtent> extents)
{
    extents_ = std::move(extents);
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(),
                                [this](const TickerSlot& slot) { return slot.item >= static_cast<int>(extents_.size()); }),
                 slots_.end());
}

void TickerTrack::reset()
{
    slots_.clear();
    lastEntered_ = 0;
    if (!extents_.empty())
        slots_.push_back({0, 0});
}

void TickerTrack::step(int width)
{
    if (extents_.empty())
        return;
    for (TickerSlot& slot : slots_)
        --slot.x;
    if (!slots_.empty()) {
        const TickerSlot& first = slots_.front();
        if (first.x + extents_[static_cast<size_t>(first.item)].width <= 0)
            slots_.erase(slots_.begin());
    }
    const int count = static_cast<int>(extents_.size());
    if (slots_.empty()) {
        // A banner narrower than the gap: the next item enters at once.
        lastEntered_ = (lastEntered_ + 1) % count;
        slots_.push_back({lastEntered_, width});
        return;
    }
    const TickerSlot& last = slots_.back();
    if (last.x + extents_[static_cast<size_t>(last.item)].width + kGap < width) {
        lastEntered_ = (last.item + 1) % count;
        slots_.push_back({lastEntered_, width});
    }
}

int TickerTrack::itemAt(int x, int y, int width, int height) const
{
    for (const TickerSlot& slot : slots_) {
        const TickerExtent& extent = extents_[static_cast<size_t>(slot.item)];
        const int left = std::max(slot.x, 0);
        const int right = std::min(slot.x + extent.width, width);
        const int top = (height - extent.height) / 2;
        if (x >= left && x < right && y >= top && y < top + extent.height)
            return slot.item;
    }
    return -1;
}

} // namespace tessaly
