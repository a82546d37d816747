#pragma once
// A picture held as 32-bit pixels, one array entry per pixel (0xFFRRGGBB,
// row 0 at the top), so the water ripple can read and write it directly.

#include <QImage>
#include <cstdint>

class QPainter;

namespace tessaly {

class PixelPicture {
public:
    PixelPicture() = default;
    // The image drawn into a width x height picture; what it does not cover
    // is black.
    PixelPicture(const QImage& image, int width, int height);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    std::uint32_t* pixels() { return reinterpret_cast<std::uint32_t*>(image_.bits()); }
    const std::uint32_t* pixels() const { return reinterpret_cast<const std::uint32_t*>(image_.constBits()); }
    const QImage& image() const { return image_; }

    void draw(QPainter& painter, int x, int y) const;

private:
    QImage image_;   // Format_RGB32, rows without padding
};

} // namespace tessaly
