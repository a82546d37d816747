#pragma once
// How big a table window is drawn. The table window's layout (the felt and
// the panel below it, at the screen scale) is its size at zoom 1; the user
// may make the window smaller or larger, from 0.6 to 2.5 times, and every
// rectangle, font and picture of the table grows with it. The aspect ratio
// stays: a client area of another shape shows the table at the largest zoom
// that fits both ways. Free of Qt, so the rules build under the sanitizers.

namespace tessaly {

inline constexpr double kMinTableZoom = 0.6;
inline constexpr double kMaxTableZoom = 2.5;

struct Extent {
    int width = 0;
    int height = 0;
    bool operator==(const Extent&) const = default;
};

// A rectangle in window pixels; right() and bottom() are one past the edge.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool overlaps(const Box& other) const;
    bool contains(const Box& other) const;
    bool operator==(const Box&) const = default;
};

// The zoom within the limits.
double clampZoom(double zoom);
// The client size at a zoom: the base size times the zoom, rounded.
Extent zoomedExtent(Extent base, double zoom);
// The zoom at which `baseLength` pixels become `length` at most, without
// the limits (any zoom when the base is empty).
double zoomForLength(int length, int baseLength);
// The largest zoom whose client size fits in `client`, within the limits.
double zoomToFit(Extent base, Extent client);
// A rectangle of the zoom-1 layout at a zoom. Each edge is rounded on its
// own, so rectangles that only touch at zoom 1 never overlap at another.
Box zoomedBox(const Box& base, double zoom);
// A font's size at a zoom.
double zoomedPoints(double points, double zoom);

} // namespace tessaly
