#include "client/table/TablePlacement.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tessaly {
namespace {

constexpr double kNoRoom = -std::numeric_limits<double>::infinity();

struct Candidate {
    int x;
    int y;
    double zoom;
};

// The zoom whose frame is `frameWidth` wide, or `frameHeight` high.
double zoomForWidth(int frameWidth, const PlacementRequest& r)
{
    return zoomForLength(frameWidth - r.margins.left - r.margins.right, r.base.width);
}

double zoomForHeight(int frameHeight, const PlacementRequest& r)
{
    return zoomForLength(frameHeight - r.margins.top - r.margins.bottom, r.base.height);
}

// The largest zoom a frame with its top left corner at x, y can have
// without leaving the available area or covering an obstacle; kNoRoom when
// the corner itself is covered.
double roomAt(int x, int y, const std::vector<Box>& obstacles, const PlacementRequest& r)
{
    if (x < r.available.x || y < r.available.y || x >= r.available.right() || y >= r.available.bottom())
        return kNoRoom;
    double zoom = std::min({r.preferredZoom, zoomForWidth(r.available.right() - x, r),
                            zoomForHeight(r.available.bottom() - y, r)});
    for (const Box& o : obstacles) {
        if (o.empty() || o.right() <= x || o.bottom() <= y)
            continue;   // left of or above the corner: the frame grows away from it
        // The frame stays clear of the obstacle by ending before its left
        // edge or before its top edge.
        const double byWidth = o.x > x ? zoomForWidth(o.x - x, r) : kNoRoom;
        const double byHeight = o.y > y ? zoomForHeight(o.y - y, r) : kNoRoom;
        zoom = std::min(zoom, std::max(byWidth, byHeight));
    }
    return zoom;
}

// Corners to try: the area's top left and every right and bottom edge of an
// obstacle, top to bottom and left to right.
std::vector<Candidate> candidates(const std::vector<Box>& obstacles, const PlacementRequest& r)
{
    std::vector<int> xs{r.available.x};
    std::vector<int> ys{r.available.y};
    for (const Box& o : obstacles) {
        xs.push_back(o.right());
        ys.push_back(o.bottom());
    }
    std::vector<Candidate> result;
    for (const int y : ys)
        for (const int x : xs)
            result.push_back({x, y, roomAt(x, y, obstacles, r)});
    std::sort(result.begin(), result.end(),
              [](const Candidate& a, const Candidate& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return result;
}

std::optional<Candidate> firstAtFullSize(const std::vector<Candidate>& all, double preferred)
{
    for (const Candidate& c : all)
        if (c.zoom >= preferred)
            return c;
    return std::nullopt;
}

std::optional<Candidate> largest(const std::vector<Candidate>& all)
{
    std::optional<Candidate> best;
    for (const Candidate& c : all)
        if (c.zoom >= kMinTableZoom && (!best || c.zoom > best->zoom))
            best = c;
    return best;
}

Placement at(const Candidate& c, const PlacementRequest& r, double zoom)
{
    return {tableFrame(c.x, c.y, r.base, r.margins, zoom), zoom};
}

// Cascaded windows step down and right from the corner, each to the first
// step where no table window stands yet; when every step is taken, they
// start over.
Placement cascade(const PlacementRequest& r)
{
    const double zoom = clampZoom(std::min({r.preferredZoom, zoomForWidth(r.available.width, r),
                                            zoomForHeight(r.available.height, r)}));
    const Box size = tableFrame(0, 0, r.base, r.margins, zoom);
    const int roomX = std::max(0, r.available.width - size.width) / kCascadeStep;
    const int roomY = std::max(0, r.available.height - size.height) / kCascadeStep;
    const int steps = std::min(roomX, roomY) + 1;
    const auto corner = [&r](int step) {
        return std::pair{r.available.x + step * kCascadeStep, r.available.y + step * kCascadeStep};
    };
    int step = static_cast<int>(r.tables.size()) % steps;
    for (int k = 0; k < steps; ++k) {
        const auto [x, y] = corner(k);
        if (std::none_of(r.tables.begin(), r.tables.end(), [x, y](const Box& t) { return t.x == x && t.y == y; })) {
            step = k;
            break;
        }
    }
    const auto [x, y] = corner(step);
    return {tableFrame(x, y, r.base, r.margins, zoom), zoom};
}

} // namespace

Box tableFrame(int x, int y, Extent base, const FrameMargins& margins, double zoom)
{
    const Extent client = zoomedExtent(base, zoom);
    return {x, y, client.width + margins.left + margins.right, client.height + margins.top + margins.bottom};
}

Placement placeTable(const PlacementRequest& request)
{
    PlacementRequest r = request;
    r.preferredZoom = clampZoom(request.preferredZoom);
    const double preferred = r.preferredZoom;
    std::vector<Box> withLobby = r.tables;
    if (r.lobby)
        withLobby.push_back(*r.lobby);
    const std::vector<Candidate> clearOfAll = candidates(withLobby, r);
    if (const auto c = firstAtFullSize(clearOfAll, preferred))
        return at(*c, r, preferred);
    const std::vector<Candidate> clearOfTables = r.lobby ? candidates(r.tables, r) : clearOfAll;
    if (const auto c = firstAtFullSize(clearOfTables, preferred))
        return at(*c, r, preferred);
    if (const auto c = largest(clearOfTables))
        return at(*c, r, c->zoom);
    return cascade(r);
}

Box keepOnScreen(const Box& frame, const Box& available)
{
    Box kept = frame;
    kept.x = std::clamp(frame.x, available.x, std::max(available.x, available.right() - frame.width));
    kept.y = std::clamp(frame.y, available.y, std::max(available.y, available.bottom() - frame.height));
    return kept;
}

} // namespace tessaly
