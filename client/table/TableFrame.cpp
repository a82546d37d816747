#include "client/table/TableFrame.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "client/table/FrameLayers.h"
#include "client/table/TableState.h"

namespace tessaly {
namespace {

constexpr int kTile = 32;
constexpr int kZoomMargin = 6;   // pixels at zoom 1
constexpr QImage::Format kFrameFormat = QImage::Format_RGB32;

// The tiles where two frames of one size differ, runs of them in a row
// joined into one rectangle.
QRegion changedTiles(const QImage& now, const QImage& before)
{
    if (before.size() != now.size())
        return QRegion(now.rect());
    QRegion changed;
    const int width = now.width();
    const int height = now.height();
    for (int top = 0; top < height; top += kTile) {
        const int rows = std::min(kTile, height - top);
        int runStart = -1;
        for (int left = 0; left <= width; left += kTile) {
            bool differs = false;
            if (left < width) {
                const auto bytes = static_cast<std::size_t>(std::min(kTile, width - left)) * 4;
                for (int y = top; y < top + rows && !differs; ++y)
                    differs = std::memcmp(now.constScanLine(y) + left * 4, before.constScanLine(y) + left * 4, bytes) != 0;
            }
            if (differs && runStart < 0)
                runStart = left;
            if (!differs && runStart >= 0) {
                changed += QRect(runStart, top, std::min(left, width) - runStart, rows);
                runStart = -1;
            }
        }
    }
    return changed;
}

} // namespace

void TableFrame::load(MessageBoxes& boxes, QWidget* owner, int seatCount)
{
    pictures_.load(boxes, owner, seatCount);
    plain_ = Buffer();
    zoomed_ = Buffer();
    lastInputs_.reset();
}

void TableFrame::release()
{
    pictures_ = TablePictures();
    plain_ = Buffer();
    zoomed_ = Buffer();
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

void TableFrame::draw(Buffer& buffer, const TableState& table, const FrameMotion& motion, ScreenScale scale,
                      double zoom, const QRegion& clip)
{
    QPainter painter(&buffer.image);
    if (!clip.isEmpty())
        painter.setClipRegion(clip);
    painter.drawImage(0, 0, buffer.background);
    if (zoom != 1.0) {
        painter.scale(zoom, zoom);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const FrameScene scene{painter, table, motion, pictures_, fonts_, scale};
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
    const QSize plain = zoom == 1.0 ? client : (QSizeF(client) / zoom).toSize();
    // The frame before stays for the comparison; the buffer it leaves is
    // drawn over whole.
    std::swap(plain_.image, plain_.previous);
    plain_.prepare(plain, pictures_.background);
    draw(plain_, table, motion, scale, 1.0, QRegion());
    changed_ = changedTiles(plain_.image, plain_.previous);
    if (zoom != 1.0) {
        // Where the picture at zoom 1 changed, with a margin for text and
        // smoothing that do not scale by exactly the zoom; all of it when
        // the size or the zoom is new. The rest of the zoomed picture stays.
        const QRect all(QPoint(0, 0), client);
        QRegion region;
        if (!sameView || zoomed_.image.size() != client) {
            region = all;
        } else {
            for (const QRect& r : changed_) {
                const QRectF grown(r.adjusted(-kZoomMargin, -kZoomMargin, kZoomMargin, kZoomMargin));
                region += QRectF(grown.topLeft() * zoom, grown.size() * zoom).toAlignedRect() & all;
            }
        }
        zoomed_.prepare(client, pictures_.background);
        if (!region.isEmpty())
            draw(zoomed_, table, motion, scale, zoom, region);
        changed_ = region;
    }

    lastInputs_ = std::move(inputs);
    lastScale_ = scale;
    lastClient_ = client;
    zoom_ = zoom;
    return true;
}

} // namespace tessaly
