#include "client/table/PaintedItems.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegion>
#include <QTextItem>
#include <algorithm>
#include <bit>
#include <concepts>
#include <iterator>
#include <utility>

namespace tessaly {
namespace {

// Smoothing and antialiasing reach this far beyond a shape's edge.
constexpr int kSmoothingMargin = 2;

// FNV-1a over 64-bit words.
class Print {
public:
    template <std::integral Word>
    Print& add(Word word)
    {
        value_ = (value_ ^ static_cast<std::uint64_t>(word)) * 0x100000001b3ULL;
        return *this;
    }
    Print& add(double number) { return add(std::bit_cast<std::uint64_t>(number + 0.0)); }
    Print& add(const QRectF& r) { return add(r.x()).add(r.y()).add(r.width()).add(r.height()); }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

enum class Call : std::uint64_t { Image = 1, Pixmap, Tiled, Rects, Path, Polygon, Text };

} // namespace

class PaintedItems::Engine : public QPaintEngine {
public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    // Each call reads the painter's state itself.
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        record(r, start(Call::Image).add(image.cacheKey()).add(sr));
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& sr) override
    {
        record(r, start(Call::Pixmap).add(pixmap.cacheKey()).add(sr));
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pixmap, const QPointF& offset) override
    {
        record(r, start(Call::Tiled).add(pixmap.cacheKey()).add(offset.x()).add(offset.y()));
    }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            record(stroked(rects[i]), shapes(Call::Rects).add(rects[i]));
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF r(rects[i]);
            drawRects(&r, 1);
        }
    }
    void drawPath(const QPainterPath& path) override
    {
        Print print = shapes(Call::Path);
        for (int i = 0; i < path.elementCount(); ++i)
            print.add(path.elementAt(i).x).add(path.elementAt(i).y).add(std::uint64_t(path.elementAt(i).type));
        record(stroked(path.controlPointRect()), print);
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        Print print = shapes(Call::Polygon).add(std::uint64_t(mode));
        QPolygonF polygon;
        for (int i = 0; i < count; ++i) {
            print.add(points[i].x()).add(points[i].y());
            polygon << points[i];
        }
        record(stroked(polygon.boundingRect()), print);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << QPointF(points[i]);
        drawPolygon(polygon.constData(), count, mode);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        text(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()), item.text(),
             item.font(), painter()->pen().color());
    }
    // A line of text whose advance and height fill `box`.
    void text(const QRectF& box, const QString& text, const QFont& font, const QColor& colour)
    {
        // Glyphs may reach beyond their advance (italics, bold, accents):
        // a quarter of the line's height on each side covers them.
        const double reach = box.height() / 4;
        record(box.adjusted(-reach, -reach, reach, reach), start(Call::Text)
                                                                .add(qHash(text))
                                                                .add(qHash(font))
                                                                .add(static_cast<quint64>(colour.rgba64()))
                                                                .add(box));
    }

    std::vector<PaintedItem> items;

private:
    // The state every call shares: where, how blended and how smoothed.
    Print start(Call call) const
    {
        const QPainter& p = *painter();
        const QTransform t = p.combinedTransform();
        Print print;
        print.add(std::uint64_t(call))
            .add(t.m11()).add(t.m12()).add(t.m21()).add(t.m22()).add(t.dx()).add(t.dy())
            .add(p.opacity())
            .add(std::uint64_t(p.compositionMode()))
            .add(std::uint64_t(p.renderHints().toInt()));
        if (p.hasClipping())
            print.add(p.clipBoundingRect());
        return print;
    }
    // Shapes add their pen and brush.
    Print shapes(Call call) const
    {
        const QPainter& p = *painter();
        return start(call)
            .add(std::uint64_t(p.pen().style()))
            .add(std::uint64_t(p.pen().color().rgba64()))
            .add(p.pen().widthF())
            .add(std::uint64_t(p.brush().style()))
            .add(std::uint64_t(p.brush().color().rgba64()));
    }
    QRectF stroked(const QRectF& r) const
    {
        const QPen& pen = painter()->pen();
        const double half = pen.style() == Qt::NoPen ? 0.0 : std::max(pen.widthF(), 1.0) / 2;
        return r.adjusted(-half, -half, half, half);
    }
    void record(const QRectF& logical, const Print& print)
    {
        const QRect area = painter()->combinedTransform().mapRect(logical).toAlignedRect().adjusted(
            -kSmoothingMargin, -kSmoothingMargin, kSmoothingMargin, kSmoothingMargin);
        items.push_back({area, print.value()});
    }
};

PaintedItems::PaintedItems(const QImage& like) : like_(like), engine_(std::make_unique<Engine>()) {}

PaintedItems::~PaintedItems() = default;

QPaintEngine* PaintedItems::paintEngine() const
{
    return engine_.get();
}

void PaintedItems::noteText(const QRectF& box, const QString& text, const QFont& font, const QColor& colour)
{
    engine_->text(box, text, font, colour);
}

std::vector<PaintedItem> PaintedItems::take()
{
    return std::exchange(engine_->items, {});
}

int PaintedItems::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return like_.width();
    case PdmHeight: return like_.height();
    case PdmWidthMM: return like_.widthMM();
    case PdmHeightMM: return like_.heightMM();
    case PdmNumColors: return like_.colorCount();
    case PdmDepth: return like_.depth();
    case PdmDpiX: return like_.logicalDpiX();
    case PdmDpiY: return like_.logicalDpiY();
    case PdmPhysicalDpiX: return like_.physicalDpiX();
    case PdmPhysicalDpiY: return like_.physicalDpiY();
    case PdmDevicePixelRatio: return static_cast<int>(like_.devicePixelRatio());
    case PdmDevicePixelRatioScaled: return static_cast<int>(like_.devicePixelRatio() * devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
    }
}

QRegion changedArea(std::vector<PaintedItem>& before, std::vector<PaintedItem>& now)
{
    std::sort(before.begin(), before.end());
    std::sort(now.begin(), now.end());
    std::vector<PaintedItem> differing;
    std::set_symmetric_difference(before.begin(), before.end(), now.begin(), now.end(), std::back_inserter(differing));
    QRegion area;
    for (const PaintedItem& item : differing)
        area += item.area;
    return area;
}

} // namespace tessaly
