#pragma once
// The controls of a table window at the window's zoom. Their places, sizes
// and fonts at zoom 1 are taken once, after the window has laid them out;
// every zoom after that is worked out from those, never from the last zoom,
// so going back and forth loses nothing to rounding. Skinned buttons draw
// their pictures at the zoom too.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

namespace tessaly {

class ZoomedControls {
public:
    // Every child control of the window as it stands now counts as zoom 1.
    explicit ZoomedControls(QWidget& window);

    void apply(double zoom);
    double zoom() const { return zoom_; }

private:
    struct Control {
        QPointer<QWidget> widget;
        QRect geometry;
        QFont font;
    };
    std::vector<Control> controls_;
    double zoom_ = 1.0;
};

} // namespace tessaly
