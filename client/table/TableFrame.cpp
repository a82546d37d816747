#include "client/table/TableFrame.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "client/table/FrameLayers.h"
#include "client/table/TableState.h"

namespace tessaly {
namespace {

constexpr int kTile = 32;
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
    backgroundCache_ = QImage();
    lastInputs_.reset();
}

void TableFrame::release()
{
    pictures_ = TablePictures();
    backgroundCache_ = QImage();
    backBuffer_ = QImage();
    previous_ = QImage();
    changed_ = QRegion();
    lastInputs_.reset();
}

void TableFrame::prepareBuffers(QSize client)
{
    // The frame before stays for the comparison; the buffer it leaves is
    // drawn over whole.
    std::swap(backBuffer_, previous_);
    if (backBuffer_.size() != client)
        backBuffer_ = QImage(client, kFrameFormat);
    // The background is stretched once for the client size; copying it is
    // all a frame does with it.
    if (backgroundCache_.size() != client) {
        backgroundCache_ = QImage(client, kFrameFormat);
        backgroundCache_.fill(Qt::black);
        QPainter painter(&backgroundCache_);
        pictures_.background.drawStretched(painter, QRect(QPoint(0, 0), client));
    }
}

bool TableFrame::render(TableState& table, SoundPort& sound, QSize client, ScreenScale scale, double zoom)
{
    FrameInputs inputs = frameInputs(table, animation_);
    const bool sameView = backBuffer_.size() == client && lastScale_.x == scale.x && lastScale_.y == scale.y &&
                          lastZoom_ == zoom;
    if (sameView && lastInputs_ && !animating(table, animation_) && *lastInputs_ == inputs)
        return false;

    const FrameMotion motion = advanceFrame(table, animation_, sound);
    if (client.isEmpty()) {
        lastInputs_.reset();
        return false;
    }
    prepareBuffers(client);
    QPainter painter(&backBuffer_);
    painter.drawImage(0, 0, backgroundCache_);
    if (zoom != 1.0) {
        painter.scale(zoom, zoom);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const FrameScene scene{painter, table, motion, pictures_, fonts_, scale};
    for (const FrameLayer layer : frameLayers())
        layer(scene);
    painter.end();
    changed_ = changedTiles(backBuffer_, previous_);

    lastInputs_ = std::move(inputs);
    lastScale_ = scale;
    lastZoom_ = zoom;
    return true;
}

} // namespace tessaly
