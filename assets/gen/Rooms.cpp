// The big pictures: the lobby's room (with quiet space where the lists, the
// two live text lines, the buttons and the two painted links go) and the
// ten-seat and six-seat tables. A table picture is the client area of the
// table window's dialog (532 x 335 units: 798 x 544 pixels) in the table's
// own coordinates, so the player boxes stand on the rail and bets, board and
// pots on the felt; the strip below the table holds the options, the chat
// and the betting controls.

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

// A stadium: straight from `left` to `right` at height `cy`, ends of `radius`.
QPainterPath stadium(double left, double right, double cy, double radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(left - radius, cy - radius, right - left + 2 * radius, 2 * radius), radius, radius);
    return path;
}

void grain(QImage& image, const QRectF& area, int strength, std::uint32_t seed)
{
    Random random(seed);
    for (int y = std::max(0, int(area.top())); y < std::min(image.height(), int(area.bottom())); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = std::max(0, int(area.left())); x < std::min(image.width(), int(area.right())); ++x) {
            const int d = int(random.next() % unsigned(2 * strength + 1)) - strength;
            const QRgb p = line[x];
            line[x] = qRgba(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                            std::clamp(qBlue(p) + d, 0, 255), qAlpha(p));
        }
    }
}

void roomBackdrop(QPainter& painter, const QRectF& area, const QPointF& light)
{
    QRadialGradient room(light, area.width() * 0.75);
    room.setColorAt(0, QColor(0x1D, 0x2C, 0x4C));
    room.setColorAt(0.55, QColor(0x0D, 0x17, 0x2E));
    room.setColorAt(1, colour::kNight);
    painter.fillRect(area, room);
}

// The table with its shadow, leather rail, brass trim, felt and logo.
void table(QImage& image, double left, double right, double cy, const QString& legend)
{
    QPainter painter(&image);
    prepare(painter);
    constexpr double kOuter = 205;
    constexpr double kInner = 160;
    for (int i = 12; i > 0; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 14));
        painter.drawPath(stadium(left, right, cy + 10, kOuter + i * 1.6));
    }
    QLinearGradient leather(0, cy - kOuter, 0, cy + kOuter);
    leather.setColorAt(0, colour::kLeatherLight);
    leather.setColorAt(0.5, colour::kLeather);
    leather.setColorAt(1, QColor(0x24, 0x14, 0x0B));
    painter.setBrush(leather);
    painter.drawPath(stadium(left, right, cy, kOuter));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 230, 200, 40), 1.2, Qt::DashLine));
    painter.drawPath(stadium(left, right, cy, kOuter - 6));
    painter.setPen(QPen(QColor(255, 220, 180, 28), 14));
    painter.drawPath(stadium(left, right, cy - 3, (kOuter + kInner) / 2 + 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kGoldDark);
    painter.drawPath(stadium(left, right, cy, kInner + 7));
    painter.setBrush(colour::kGold);
    painter.drawPath(stadium(left, right, cy, kInner + 4));

    QRadialGradient felt(QPointF((left + right) / 2, cy - 30), kInner + (right - left) / 2);
    felt.setColorAt(0, colour::kFeltLight);
    felt.setColorAt(0.6, colour::kFelt);
    felt.setColorAt(1, colour::kFeltDark);
    painter.setBrush(felt);
    painter.drawPath(stadium(left, right, cy, kInner));
    painter.end();
    grain(image, QRectF(left - kInner, cy - kInner, right - left + 2 * kInner, 2 * kInner), 3, 7);

    painter.begin(&image);
    prepare(painter);
    painter.setClipPath(stadium(left, right, cy, kInner));
    painter.setPen(QPen(QColor(255, 255, 255, 34), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stadium(left, right, cy, kInner - 38));
    const double middle = (left + right) / 2;
    painter.setFont(wide(30, QFont::Bold));
    painter.setPen(QColor(0, 0, 0, 45));
    painter.drawText(QRectF(middle - 150, cy + 98, 300, 36), Qt::AlignCenter, "TESSALY");
    painter.setPen(QColor(255, 255, 255, 38));
    painter.drawText(QRectF(middle - 151, cy + 97, 300, 36), Qt::AlignCenter, "TESSALY");
    painter.setFont(wide(10, QFont::Bold));
    painter.setPen(QColor(255, 255, 255, 45));
    painter.drawText(QRectF(middle - 150, cy + 131, 300, 14), Qt::AlignCenter, legend);
}

// The strip under the table that holds the chat and the betting controls.
void console(QImage& image, int top)
{
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient strip(0, top, 0, image.height());
    strip.setColorAt(0, QColor(0x16, 0x22, 0x3B));
    strip.setColorAt(1, QColor(0x08, 0x0E, 0x1D));
    painter.fillRect(QRect(0, top, image.width(), image.height() - top), strip);
    painter.fillRect(QRect(0, top, image.width(), 1), colour::kGoldDark);
    painter.fillRect(QRect(0, top + 1, image.width(), 1), QColor(255, 255, 255, 18));
}

QImage tablePicture(double left, double right, double cy, const QString& legend)
{
    QImage image(798, 544, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        roomBackdrop(painter, image.rect(), QPointF(400, 200));
    }
    grain(image, image.rect(), 2, 3);
    table(image, left, right, cy, legend);
    console(image, 458);
    return image;
}

void frame(QPainter& painter, const QRectF& box)
{
    painter.setPen(QPen(colour::kGoldDark, 1));
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
}

void caption(QPainter& painter, const QPointF& at, const QString& text)
{
    painter.setFont(wide(10, QFont::Bold));
    painter.setPen(colour::kGold);
    painter.drawText(at, text);
}

// A painted link pill over which the lobby lays an invisible hot spot.
void linkPill(QPainter& painter, const QRectF& box, const QString& text)
{
    painter.setPen(QPen(colour::kGoldDark, 1));
    painter.setBrush(QColor(255, 255, 255, 16));
    painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
    painter.setFont(wide(11, QFont::Bold));
    painter.setPen(colour::kCream);
    painter.drawText(box, Qt::AlignCenter, text);
}

QImage lobbyPicture()
{
    QImage image(798, 489, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        roomBackdrop(painter, image.rect(), QPointF(560, 40));
    }
    grain(image, image.rect(), 2, 11);
    QPainter painter(&image);
    prepare(painter);

    // Title and the fan of cards in the header, under the banner.
    painter.setFont(wide(38, QFont::Bold));
    painter.setPen(QColor(0, 0, 0, 140));
    painter.drawText(QPointF(18, 68), "TESSALY");
    QLinearGradient gold(0, 34, 0, 68);
    gold.setColorAt(0, colour::kGoldLight);
    gold.setColorAt(1, colour::kGoldDark);
    painter.setPen(QPen(QBrush(gold), 1));
    painter.drawText(QPointF(16, 66), "TESSALY");
    painter.setFont(wide(11, QFont::Bold));
    painter.setPen(colour::kCream);
    painter.drawText(QPointF(19, 88), "POKER ROOM  \u00B7  PLAY MONEY");

    const int fan[] = {51, 47, 43, 39, 35};   // the royal flush in spades
    for (int i = 0; i < 5; ++i) {
        painter.save();
        painter.translate(640 + i * 20, 122);
        painter.rotate(-24 + i * 12);
        painter.drawImage(QPointF(-28, -92), cardFace(fan[i]));
        painter.restore();
    }
    for (int i = 0; i < 4; ++i)
        painter.drawImage(QPointF(560, 86 - i * 6), chipPicture(5));
    for (int i = 0; i < 3; ++i)
        painter.drawImage(QPointF(586, 92 - i * 6), chipPicture(4));

    // The band of the two live text lines, then the frames of the lists.
    QLinearGradient band(0, 0, 590, 0);
    band.setColorAt(0, QColor(0, 0, 0, 120));
    band.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(0, 104, 590, 48), band);
    painter.fillRect(QRectF(0, 103, 590, 1), QColor(212, 175, 85, 110));
    frame(painter, QRectF(10.5, 151.5, 571, 283));
    caption(painter, QPointF(594, 148), "PLAYERS AT TABLE");
    frame(painter, QRectF(588.5, 154.5, 201, 173));
    frame(painter, QRectF(589.5, 354.5, 201, 86));

    painter.fillRect(QRectF(0, 438, 590, 30), QColor(0, 0, 0, 70));
    linkPill(painter, QRectF(597.5, 457.5, 73, 22), "Security");
    linkPill(painter, QRectF(684.5, 457.5, 102, 22), "About Us");
    painter.setFont(wide(9));
    painter.setPen(QColor(0xA8, 0xB4, 0xCC));
    painter.drawText(QPointF(12, 481), "Play money only \u2014 no real money is wagered at Tessaly.");
    return image;
}

} // namespace

void makeRooms(Output& out)
{
    out.jpeg("images/LobbyBg.jpg", lobbyPicture());
    out.jpeg("images/PokerCover.jpg", tablePicture(215, 575, 228, "PLAY MONEY  \u00B7  TEN SEATS"));
    out.jpeg("images/sixseattablePlayMoney.jpg", tablePicture(230, 560, 215, "PLAY MONEY  \u00B7  SIX SEATS"));
}

} // namespace tessaly::assets
