#include "client/ui/FocusRing.h"

#include <QPainter>
#include <QPen>

namespace tessaly {

void drawFocusRing(QPainter& painter, const QRect& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 214, 0), 2));
    painter.drawRect(rect.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect.adjusted(2, 2, -3, -3));
    painter.restore();
}

} // namespace tessaly
