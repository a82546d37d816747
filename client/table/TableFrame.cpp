#include "client/table/TableFrame.h"

#include <QPainter>

#include "client/table/FrameLayers.h"
#include "client/table/TableState.h"

namespace tessaly {

void TableFrame::load(MessageBoxes& boxes, QWidget* owner, int seatCount)
{
    pictures_.load(boxes, owner, seatCount);
    backgroundCache_ = QPixmap();
    lastInputs_.reset();
}

void TableFrame::release()
{
    pictures_ = TablePictures();
    backgroundCache_ = QPixmap();
    backBuffer_ = QPixmap();
    lastInputs_.reset();
}

void TableFrame::prepareBuffers(QSize client)
{
    if (backBuffer_.size() != client)
        backBuffer_ = QPixmap(client);
    // The background is stretched once for the client size; copying it is
    // all a frame does with it.
    if (backgroundCache_.size() != client) {
        backgroundCache_ = QPixmap(client);
        backgroundCache_.fill(Qt::black);
        QPainter painter(&backgroundCache_);
        pictures_.background.drawStretched(painter, QRect(QPoint(0, 0), client));
    }
}

bool TableFrame::render(TableState& table, SoundPort& sound, QSize client, ScreenScale scale)
{
    // The clock runs every frame; its bar is drawn again only when it moves.
    const double clockLeft = stepTurnClock(table, clock_);
    FrameInputs inputs = frameInputs(table, animation_);
    const bool sameView = backBuffer_.size() == client && lastScale_.x == scale.x && lastScale_.y == scale.y;
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
    prepareBuffers(client);
    QPainter painter(&backBuffer_);
    painter.drawPixmap(0, 0, backgroundCache_);
    const FrameScene scene{painter, table, motion, pictures_, fonts_, scale};
    for (const FrameLayer layer : frameLayers())
        layer(scene);
    painter.end();

    lastInputs_ = std::move(inputs);
    lastScale_ = scale;
    return true;
}

} // namespace tessaly
