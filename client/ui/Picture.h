#pragma once
// The image object: one picture loaded from a file (BMP, GIF, JPEG or PNG)
// and drawn with a colour key, with constant alpha, or stretched. Every
// picture of the client is one. Pictures are read from disk once; drawing
// only blits from memory. The transparent copy for a colour key is made the
// first time that key is used, never per blit.

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

class QPainter;

namespace tessaly {

// A copy of the image in premultiplied ARGB with every pixel of colour `key`
// (its alpha ignored) fully transparent.
QImage keyedCopy(const QImage& image, QRgb key);

class Picture {
public:
    // Result codes of load(): negative on failure.
    static constexpr int kLoaded = 0;
    static constexpr int kMissing = -1;       // no such file
    static constexpr int kNotAPicture = -2;   // unreadable, or not a picture

    // Replaces any picture held; on failure the object is empty.
    int load(const std::string& path);
    void setImage(const QImage& image);

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }

    void draw(QPainter& painter, int x, int y) const;
    // A transparent-colour blit: pixels of colour `key` are not drawn; the
    // source rectangle is stretched to the destination when sizes differ.
    void drawKeyed(QPainter& painter, const QRect& destination, const QRect& source, QRgb key) const;
    void drawKeyed(QPainter& painter, int x, int y, QRgb key) const;
    // Blended with a constant alpha (0 to 255) over the picture's own alpha.
    void drawBlended(QPainter& painter, int x, int y, int constantAlpha) const;
    // The whole picture stretched to the rectangle with smooth filtering.
    void drawStretched(QPainter& painter, const QRect& destination) const;

    // The picture with every pixel of colour `key` transparent.
    const QImage& keyed(QRgb key) const;

private:
    QImage image_;   // premultiplied ARGB, the format the painter blits fastest
    mutable std::vector<std::pair<QRgb, QImage>> keyed_;
};

} // namespace tessaly
