#include "client/ui/Picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace tessaly {

QImage keyedCopy(const QImage& image, QRgb key)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    key &= RGB_MASK;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int Picture::load(const std::string& path)
{
    image_ = QImage();
    keyed_.clear();
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile())
        return kMissing;
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage loaded = reader.read();
    if (loaded.isNull())
        return kNotAPicture;
    setImage(loaded);
    return kLoaded;
}

void Picture::setImage(const QImage& image)
{
    image_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    keyed_.clear();
}

const QImage& Picture::keyed(QRgb key) const
{
    key &= RGB_MASK;
    for (const auto& [cachedKey, picture] : keyed_) {
        if (cachedKey == key)
            return picture;
    }
    keyed_.emplace_back(key, keyedCopy(image_, key));
    return keyed_.back().second;
}

void Picture::draw(QPainter& painter, int x, int y) const
{
    if (!isNull())
        painter.drawImage(x, y, image_);
}

void Picture::drawKeyed(QPainter& painter, const QRect& destination, const QRect& source, QRgb key) const
{
    if (isNull() || destination.isEmpty())
        return;
    const QImage& transparent = keyed(key);
    if (destination.size() == source.size()) {
        painter.drawImage(destination.topLeft(), transparent, source);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(destination, transparent, source);
    painter.restore();
}

void Picture::drawKeyed(QPainter& painter, int x, int y, QRgb key) const
{
    drawKeyed(painter, QRect(x, y, width(), height()), image_.rect(), key);
}

void Picture::drawBlended(QPainter& painter, int x, int y, int constantAlpha) const
{
    if (isNull())
        return;
    painter.save();
    painter.setOpacity(std::clamp(constantAlpha, 0, 255) / 255.0);
    painter.drawImage(x, y, image_);
    painter.restore();
}

void Picture::drawStretched(QPainter& painter, const QRect& destination) const
{
    if (isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(destination, image_);
    painter.restore();
}

} // namespace tessaly
