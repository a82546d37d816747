#include "client/table/ZoomedControls.h"

#include <algorithm>

#include "client/table/TableZoom.h"
#include "client/ui/SkinButton.h"

namespace tessaly {
namespace {

Box toBox(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

QFont zoomedFont(const QFont& base, double zoom)
{
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(zoomedPoints(base.pointSizeF(), zoom));
    else if (base.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(base.pixelSize() * zoom + 0.5)));
    return font;
}

} // namespace

ZoomedControls::ZoomedControls(QWidget& window)
{
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            controls_.push_back({child, child->geometry(), child->font()});
    }
}

void ZoomedControls::apply(double zoom)
{
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    for (const Control& c : controls_) {
        if (!c.widget)
            continue;
        const Box box = zoomedBox(toBox(c.geometry), zoom);
        c.widget->setGeometry(box.x, box.y, box.width, box.height);
        c.widget->setFont(zoomedFont(c.font, zoom));
        if (auto* skin = qobject_cast<SkinButton*>(c.widget.data()))
            skin->setImageZoom(zoom);
    }
}

} // namespace tessaly
