#pragma once
// Dialog units: every window of the client is laid out in the units of its
// dialog template. One horizontal unit is a quarter of the dialog font's
// average character width and one vertical unit an eighth of its height; for
// the 8-point dialog font at 96 dpi that is 1.5 and 1.625 pixels. The same
// factors serve every machine, times the screen scale, so layouts never
// depend on which fonts happen to be installed.

#include <QRect>

namespace tessaly {

inline constexpr double kPixelsPerUnitX = 1.5;
inline constexpr double kPixelsPerUnitY = 1.625;

// Logical pixels per inch divided by 96, horizontally and vertically.
struct ScreenScale {
    double x = 1.0;
    double y = 1.0;
};

// A rectangle in dialog units, as a dialog template writes it.
struct UnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Each coordinate is converted on its own and rounded half away from zero,
// as the dialog manager does, so a control's right edge may differ by one
// pixel from left + width converted together.
int unitsToPixelsX(int units, double scaleX = 1.0);
int unitsToPixelsY(int units, double scaleY = 1.0);
QRect unitsToPixels(const UnitRect& rect, ScreenScale scale = {});

// The system's dialog base units (8 by 16 pixels at 96 dpi), which a few
// windows use to size list columns: width = number * baseX / 10.
int systemBaseUnitX(double scaleX = 1.0);

} // namespace tessaly
