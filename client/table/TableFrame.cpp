#include "client/table/TableFrame.h"

#include <QPainter>
#include <utility>

#include "client/table/FrameLayers.h"
#include "client/table/TableState.h"

namespace tessaly {
namespace {

constexpr QImage::Format kFrameFormat = QImage::Format_RGB32;

} // namespace

void TableFrame::load(MessageBoxes& boxes, QWidget* owner, int seatCount)
{
    pictures_.load(boxes, owner, seatCount);
    buffer_ = Buffer();
    painted_.clear();
    lastInputs_.reset();
}

void TableFrame::release()
{
    pictures_ = TablePictures();
    buffer_ = Buffer();
    painted_.clear();
    changed_ = QRegion();
    lastInputs_.reset();
}

void TableFrame::Buffer::prepare(QSize size, const Picture& felt)
{
    if (image.size() != size)
        image = QImage(size, kFrameFormat);
    if (background.size() != size) {
        background = QImage(size, kFrameFormat);
        background.fill(Qt::black);
        QPainter painter(&background);
        felt.drawStretched(painter, QRect(QPoint(0, 0), size));
    }
}

void TableFrame::draw(QPaintDevice& device, const TableState& table, const FrameMotion& motion, ScreenScale scale,
                      double zoom, const QRegion& clip)
{
    QPainter painter(&device);
    if (!clip.isEmpty())
        painter.setClipRegion(clip);
    painter.drawImage(0, 0, buffer_.background);
    if (zoom != 1.0) {
        painter.scale(zoom, zoom);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const FrameScene scene{painter, table, motion, pictures_, fonts_, texts_, scale};
    for (const FrameLayer layer : frameLayers())
        layer(scene);
}

bool TableFrame::render(TableState& table, SoundPort& sound, QSize client, ScreenScale scale, double zoom)
{
    // The clock runs every frame; its bar is drawn again only when it moves.
    const double clockLeft = stepTurnClock(table, clock_);
    FrameInputs inputs = frameInputs(table, animation_);
    const bool sameView = lastClient_ == client && lastScale_.x == scale.x && lastScale_.y == scale.y && zoom_ == zoom;
    if (sameView && lastInputs_ && !animating(table, animation_) && *lastInputs_ == inputs &&
        clockLeft == lastClockLeft_)
        return false;

    FrameMotion motion = advanceFrame(table, animation_, sound);
    motion.turnClockLeft = clockLeft;
    lastClockLeft_ = clockLeft;
    if (client.isEmpty()) {
        lastInputs_.reset();
        return false;
    }
    const bool fresh = !sameView || buffer_.image.size() != client;
    buffer_.prepare(client, pictures_.background);
    // What this frame paints where, without its pixels; drawn for real only
    // where that differs from the frame before.
    PaintedItems items(buffer_.image);
    draw(items, table, motion, scale, zoom, QRegion());
    std::vector<PaintedItem> painted = items.take();
    changed_ = fresh ? QRegion(buffer_.image.rect()) : changedArea(painted_, painted) & buffer_.image.rect();
    painted_ = std::move(painted);
    if (!changed_.isEmpty())
        draw(buffer_.image, table, motion, scale, zoom, changed_);

    lastInputs_ = std::move(inputs);
    lastScale_ = scale;
    lastClient_ = client;
    zoom_ = zoom;
    return true;
}

} // namespace tessaly
