#include "platform/gui/DialogUnits.h"

#include <cmath>

namespace tessaly {

int unitsToPixelsX(int units, double scaleX)
{
    return static_cast<int>(std::lround(units * kPixelsPerUnitX * scaleX));
}

int unitsToPixelsY(int units, double scaleY)
{
    return static_cast<int>(std::lround(units * kPixelsPerUnitY * scaleY));
}

QRect unitsToPixels(const UnitRect& rect, ScreenScale scale)
{
    return QRect(unitsToPixelsX(rect.x, scale.x), unitsToPixelsY(rect.y, scale.y),
                 unitsToPixelsX(rect.width, scale.x), unitsToPixelsY(rect.height, scale.y));
}

int systemBaseUnitX(double scaleX)
{
    return static_cast<int>(std::lround(8 * scaleX));
}

} // namespace tessaly
