#include "client/table/TableZoom.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

int zoomed(int value, double zoom)
{
    return static_cast<int>(std::lround(value * zoom));
}

} // namespace

bool Box::overlaps(const Box& other) const
{
    return !empty() && !other.empty() && x < other.right() && other.x < right() && y < other.bottom() &&
           other.y < bottom();
}

bool Box::contains(const Box& other) const
{
    return other.x >= x && other.y >= y && other.right() <= right() && other.bottom() <= bottom();
}

double clampZoom(double zoom)
{
    return std::clamp(zoom, kMinTableZoom, kMaxTableZoom);
}

Extent zoomedExtent(Extent base, double zoom)
{
    return {zoomed(base.width, zoom), zoomed(base.height, zoom)};
}

double zoomForLength(int length, int baseLength)
{
    if (baseLength <= 0)
        return kMaxTableZoom;
    return static_cast<double>(length) / baseLength;
}

double zoomToFit(Extent base, Extent client)
{
    return clampZoom(std::min(zoomForLength(client.width, base.width), zoomForLength(client.height, base.height)));
}

Box zoomedBox(const Box& base, double zoom)
{
    const int left = zoomed(base.x, zoom);
    const int top = zoomed(base.y, zoom);
    return {left, top, zoomed(base.right(), zoom) - left, zoomed(base.bottom(), zoom) - top};
}

double zoomedPoints(double points, double zoom)
{
    return points * zoom;
}

} // namespace tessaly
