// The small pictures of the table window: dealer button, turn markers, the
// sit-out mark, the winner's banner, the player and action boxes and the
// face-down card.

#include <QLinearGradient>
#include <QRadialGradient>
#include <array>
#include <cmath>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

struct Point {
    int x;
    int y;
};

// Player boxes and turn markers of each seat (nominal pixels): each marker
// points from where it stands towards its player's box.
constexpr std::array<Point, 10> kBoxes10{{{447, 11}, {665, 47}, {683, 141}, {668, 366}, {472, 390},
                                          {220, 390}, {10, 357}, {2, 141}, {90, 40}, {263, 12}}};
constexpr std::array<Point, 10> kMarkers10{{{436, 59}, {591, 74}, {657, 151}, {698, 263}, {564, 339},
                                            {349, 349}, {154, 326}, {88, 240}, {108, 138}, {256, 68}}};
constexpr std::array<Point, 6> kBoxes6{{{498, 7}, {700, 127}, {571, 380}, {138, 380}, {13, 127}, {197, 7}}};
constexpr std::array<Point, 6> kMarkers6{{{465, 61}, {673, 148}, {616, 325}, {298, 345}, {92, 240}, {180, 84}}};
constexpr int kMarkerSize = 26;

// Transparent pixels carry the magenta key as well as zero alpha, so the
// picture is right under either reading.
QImage withKeyColour(const QImage& image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (qAlpha(line[x]) == 0)
                line[x] = 0x00FF00FF;
    }
    return result;
}

QImage flattened(const QImage& image, const QColor& matte)
{
    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(matte);
    QPainter painter(&result);
    painter.drawImage(0, 0, image);
    return result;
}

QImage dealerButton()
{
    QImage image = canvas(24, 24);
    QPainter painter(&image);
    prepare(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawEllipse(QRectF(2, 3, 21, 21));
    QRadialGradient disc(QPointF(9, 8), 14);
    disc.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    disc.setColorAt(1, QColor(0xD9, 0xD6, 0xCC));
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(1.5, 1.5, 20, 20));
    painter.setPen(QPen(colour::kGold, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(4, 4, 15, 15));
    drawFitted(painter, QRectF(1.5, 2, 20, 20), "D", wide(12, QFont::Bold), colour::kSpades);
    return image;
}

QImage turnMarker(Point marker, Point box)
{
    QImage image = canvas(kMarkerSize, kMarkerSize);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(kMarkerSize / 2.0, kMarkerSize / 2.0);
    QRadialGradient glow(centre, kMarkerSize / 2.0);
    glow.setColorAt(0, QColor(255, 230, 140, 230));
    glow.setColorAt(0.55, QColor(255, 200, 60, 150));
    glow.setColorAt(1, QColor(255, 190, 40, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, kMarkerSize / 2.0, kMarkerSize / 2.0);
    const double angle = std::atan2((box.y + 20) - (marker.y + centre.y()), (box.x + 42) - (marker.x + centre.x()));
    painter.translate(centre);
    painter.rotate(angle * 180.0 / M_PI);
    QPainterPath arrow;
    arrow.moveTo(9, 0);
    arrow.lineTo(-4, -6.5);
    arrow.lineTo(-1, 0);
    arrow.lineTo(-4, 6.5);
    arrow.closeSubpath();
    painter.setPen(QPen(colour::kGoldDark, 1));
    painter.setBrush(QColor(0xFF, 0xF6, 0xD8));
    painter.drawPath(arrow);
    return image;
}

QImage sitOutMark()
{
    QImage image = canvas(66, 17);
    QPainter painter(&image);
    prepare(painter);
    panel(painter, QRectF(0.5, 0.5, 65, 16), 8, QColor(60, 64, 74, 235), QColor(25, 28, 36, 235),
          QColor(200, 200, 210, 200));
    drawFitted(painter, QRectF(3, 0.5, 60, 16), "SITTING OUT", wide(9, QFont::Bold), QColor(0xF0, 0xF0, 0xF0));
    return image;
}

QImage winBanner()
{
    QImage image = canvas(340, 64);
    QPainter painter(&image);
    prepare(painter);
    // Ribbon tails, then the band with its gold edge.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8A, 0x12, 0x1E));
    for (int side = 0; side < 2; ++side) {
        QPainterPath tail;
        const double x = side == 0 ? 2 : 338;
        const double inward = side == 0 ? 34 : -34;
        tail.moveTo(x, 18);
        tail.lineTo(x + inward, 18);
        tail.lineTo(x + inward, 56);
        tail.lineTo(x, 56);
        tail.lineTo(x + inward * 0.35, 37);
        tail.closeSubpath();
        painter.drawPath(tail);
    }
    panel(painter, QRectF(24.5, 8.5, 291, 46), 6, QColor(0xE2, 0x2B, 0x3A), QColor(0xA3, 0x14, 0x22), colour::kGold);
    painter.setPen(QPen(colour::kGoldLight, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(28.5, 12.5, 283, 38), 4, 4);
    drawShadowed(painter, QRectF(30, 11, 280, 24), Qt::AlignCenter, "CONGRATULATIONS!", wide(18, QFont::Bold),
                 colour::kGoldLight);
    drawShadowed(painter, QRectF(30, 32, 280, 18), Qt::AlignCenter, "YOU WIN THE POT", wide(11, QFont::Bold),
                 QColor(0xFF, 0xF4, 0xE0));
    return image;
}

QImage infoBox(const QColor& top, const QColor& bottom, const QColor& border)
{
    QImage image = canvas(85, 40);
    QPainter painter(&image);
    prepare(painter);
    painter.fillRect(image.rect(), bottom.darker(130));
    panel(painter, QRectF(0.5, 0.5, 84, 39), 5, top, bottom, border);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.drawLine(QPointF(5, 1.5), QPointF(80, 1.5));
    painter.end();
    return flattened(image, bottom.darker(130));
}

QImage playerToButton()
{
    QImage image = canvas(60, 20);
    QPainter painter(&image);
    prepare(painter);
    panel(painter, QRectF(0.5, 0.5, 59, 19), 6, colour::kNavyLight, colour::kNavy, colour::kGold);
    drawFitted(painter, QRectF(2, 0, 56, 20), "PLAYER \u25B6", wide(9, QFont::Bold), colour::kCream);
    painter.end();
    return flattened(image, colour::kNavy);
}

} // namespace

void makeTableItems(Output& out)
{
    out.png("images/dealerButton.png", withKeyColour(dealerButton()));
    for (size_t seat = 0; seat < kMarkers10.size(); ++seat)
        out.png(QStringLiteral("images/tobutton%1.png").arg(seat), withKeyColour(turnMarker(kMarkers10[seat], kBoxes10[seat])));
    for (size_t seat = 0; seat < kMarkers6.size(); ++seat)
        out.png(QStringLiteral("images/6S_tobutton%1.png").arg(seat), withKeyColour(turnMarker(kMarkers6[seat], kBoxes6[seat])));
    out.png("images/sitout.png", withKeyColour(sitOutMark()));
    out.png("images/congratsbanner.png", withKeyColour(winBanner()));
    out.bmp("images/userInfoBox.bmp", infoBox(QColor(0x24, 0x2C, 0x40), QColor(0x0B, 0x10, 0x1C), colour::kGold));
    out.bmp("images/actionInfoBox.bmp", infoBox(QColor(0xF0, 0x9A, 0x2A), QColor(0xB0, 0x52, 0x0C), colour::kGoldLight));
    // The face-down card rests on the felt and also flies over it, drawn
    // with two different keys: it has no transparent pixels, its corners
    // are blended with the felt instead.
    out.bmp("images/smallcard1.bmp", flattened(cardBack(22, 30), colour::kFelt));
    out.bmp("images/toplayerButton.bmp", playerToButton());
}

} // namespace tessaly::assets
