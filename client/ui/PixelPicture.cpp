#include "client/ui/PixelPicture.h"

#include <QPainter>

namespace tessaly {

PixelPicture::PixelPicture(const QImage& image, int width, int height)
    : image_(width, height, QImage::Format_RGB32)
{
    image_.fill(Qt::black);
    QPainter painter(&image_);
    painter.drawImage(0, 0, image);
}

void PixelPicture::draw(QPainter& painter, int x, int y) const { painter.drawImage(x, y, image_); }

} // namespace tessaly
