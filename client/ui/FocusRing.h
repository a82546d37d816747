#pragma once
// The keyboard focus drawn on controls that paint themselves: a light ring
// with a dark edge inside, seen on the felt and on the light panels alike.

#include <QRect>

class QPainter;

namespace tessaly {

void drawFocusRing(QPainter& painter, const QRect& rect);

} // namespace tessaly
