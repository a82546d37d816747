#pragma once
// Where a new table window opens. Players keep several tables open at once,
// so a new one goes where it covers no other table and, where there is room,
// not the lobby: the screen's available area is tiled left to right, top to
// bottom. Where no place takes the table at its size, the place that takes
// it largest does (down to the smallest zoom); when even that is not to be
// had, the windows cascade from the top left corner.
//
// All boxes are window frames (the client area and the decoration around
// it) in screen pixels. Free of Qt.

#include <optional>
#include <vector>

#include "client/table/TableZoom.h"

namespace tessaly {

// The decoration around a client area.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// How far each cascaded window stands from the one before.
inline constexpr int kCascadeStep = 32;

struct PlacementRequest {
    Box available;                // the screen's area without panels
    Extent base;                  // the table's client area at zoom 1
    FrameMargins margins;
    std::vector<Box> tables;      // the open table windows
    std::optional<Box> lobby;     // the lobby, while it is shown
    double preferredZoom = 1.0;
};

struct Placement {
    Box frame;
    double zoom = 1.0;
    bool operator==(const Placement&) const = default;
};

// The frame of a client area at a zoom, with its top left corner at x, y.
Box tableFrame(int x, int y, Extent base, const FrameMargins& margins, double zoom);

Placement placeTable(const PlacementRequest& request);

// A frame the user left somewhere, brought back onto the available area
// (a screen that has since become smaller): moved, never resized, unless it
// is larger than the area.
Box keepOnScreen(const Box& frame, const Box& available);

} // namespace tessaly
