#pragma once
// What a painting would put where, without its pixels: a paint device that
// records, for every call a painter makes on it, the device pixels the call
// covers and a fingerprint of everything that decides how they come out
// (the picture and the part of it, the text and its font, the colours, the
// opacity, the exact place). Painting the same frame twice, once here and
// once for real, tells which parts of the picture changed since the frame
// before without drawing or comparing the whole picture.
//
//     PaintedItems items(image);            // the size and resolution of the picture
//     { QPainter p(&items); drawFrame(p); }
//     QRegion damage = changedArea(before, items.take());

#include <QPaintDevice>
#include <QRect>
#include <compare>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

class QColor;
class QFont;
class QImage;
class QRectF;
class QString;
class QRegion;

namespace tessaly {

struct PaintedItem {
    QRect area;                // device pixels, with a margin for smoothing
    std::uint64_t print = 0;   // everything else that decides the pixels

    auto operator<=>(const PaintedItem& other) const
    {
        if (const auto c = print <=> other.print; c != 0)
            return c;
        return std::tuple(area.x(), area.y(), area.width(), area.height()) <=>
               std::tuple(other.area.x(), other.area.y(), other.area.width(), other.area.height());
    }
    bool operator==(const PaintedItem& other) const = default;
};

class PaintedItems : public QPaintDevice {
public:
    // Records for a picture of the size and resolution of `like`, so text
    // is laid out as it will be there.
    explicit PaintedItems(const QImage& like);
    ~PaintedItems() override;

    QPaintEngine* paintEngine() const override;
    // A line of text a painter active on this device would draw with its
    // advance and height filling `box`, noted without laying it out again.
    void noteText(const QRectF& box, const QString& text, const QFont& font, const QColor& colour);
    // The items recorded since the last take, in painting order.
    std::vector<PaintedItem> take();

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    const QImage& like_;
    std::unique_ptr<Engine> engine_;
};

// The area to paint again when a frame painted `before` now paints `now`:
// where an item is no longer painted or is newly painted. Items painted
// alike in both cover nothing new. Both lists are sorted in place.
QRegion changedArea(std::vector<PaintedItem>& before, std::vector<PaintedItem>& now);

} // namespace tessaly
