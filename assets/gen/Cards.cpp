// Card faces: 57 x 77, large indices in the top-left corner (the only part
// that shows when the second hole card covers the first), four suit colours,
// rounded corners with the card colour key outside them.

#include <QLinearGradient>
#include <QRadialGradient>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

constexpr int kWidth = 57;
constexpr int kHeight = 77;
const QString kRanks[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A"};
const char kRankLetters[] = "23456789tjqka";
const char kSuitLetters[] = "dhcs";

void cardShape(QPainter& painter, const QRectF& box)
{
    QLinearGradient paper(box.topLeft(), box.bottomRight());
    paper.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    paper.setColorAt(1, QColor(0xF1, 0xEE, 0xE6));
    painter.setPen(QPen(QColor(0x8E, 0x8E, 0x8E), 1));
    painter.setBrush(paper);
    painter.drawRoundedRect(box, 5, 5);
}

// Rank over suit; rank 10 is squeezed into the same width as the others.
void cornerIndex(QPainter& painter, const QPointF& at, int rank, int suit, double scale)
{
    const QColor ink = suitColour(suit);
    drawFitted(painter, QRectF(at.x(), at.y(), 16 * scale, 20 * scale), kRanks[rank], condensed(int(20 * scale)), ink);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(suitPath(suit, QRectF(at.x() + 2 * scale, at.y() + 21 * scale, 12 * scale, 13 * scale)));
}

void courtPanel(QPainter& painter, int rank, int suit)
{
    const QRectF frame(20.5, 5.5, 31, 49);
    QLinearGradient tint(frame.topLeft(), frame.bottomLeft());
    QColor light = suitColour(suit).lighter(190);
    light.setAlpha(70);
    tint.setColorAt(0, light);
    tint.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(QPen(colour::kGold, 1));
    painter.setBrush(tint);
    painter.drawRoundedRect(frame, 3, 3);
    drawFitted(painter, QRectF(20, 6, 32, 30), kRanks[rank], wide(26, QFont::Bold), suitColour(suit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(suitColour(suit));
    painter.drawPath(suitPath(suit, QRectF(29, 36, 14, 15)));
}

} // namespace

QImage cardFace(int code)
{
    const int rank = code / 4;
    const int suit = code % 4;
    QImage image = canvas(kWidth, kHeight);
    QPainter painter(&image);
    prepare(painter);
    cardShape(painter, QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    cornerIndex(painter, QPointF(2, 3), rank, suit, 1.0);
    if (rank >= 9 && rank <= 11) {
        courtPanel(painter, rank, suit);
    } else {
        const double size = rank == 12 ? 32 : 24;
        painter.setPen(Qt::NoPen);
        painter.setBrush(suitColour(suit));
        painter.drawPath(suitPath(suit, QRectF(37 - size / 2, 40 - size / 2, size, size * 1.05)));
    }
    // The same index upside down in the opposite corner.
    painter.translate(kWidth, kHeight);
    painter.rotate(180);
    cornerIndex(painter, QPointF(3, 4), rank, suit, 0.62);
    return image;
}

QImage cardBack(int width, int height)
{
    QImage image = canvas(width, height);
    QPainter painter(&image);
    prepare(painter);
    const QRectF outer(0.5, 0.5, width - 1, height - 1);
    const double radius = width > 30 ? 5 : 2;
    painter.setPen(QPen(QColor(0x8E, 0x8E, 0x8E), 1));
    painter.setBrush(QColor(0xFA, 0xF8, 0xF2));
    painter.drawRoundedRect(outer, radius, radius);
    const double margin = width > 30 ? 3.5 : 2;
    const QRectF inner = outer.adjusted(margin, margin, -margin, -margin);
    QRadialGradient ground(inner.center(), inner.height() * 0.7);
    ground.setColorAt(0, colour::kNavyLight);
    ground.setColorAt(1, colour::kNavy);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(inner, radius - 1, radius - 1);
    // A fine gold lattice, clipped to the inner panel.
    painter.save();
    painter.setClipRect(inner);
    QColor line = colour::kGold;
    line.setAlpha(width > 30 ? 90 : 70);
    painter.setPen(QPen(line, width > 30 ? 0.8 : 0.6));
    const double step = width > 30 ? 6 : 4;
    for (double d = -height; d < width + height; d += step) {
        painter.drawLine(QPointF(d, 0), QPointF(d + height, height));
        painter.drawLine(QPointF(d, 0), QPointF(d - height, height));
    }
    painter.restore();
    if (width > 30) {
        const QPointF centre = inner.center();
        painter.setPen(QPen(colour::kGold, 1.2));
        painter.setBrush(colour::kNavy);
        painter.drawEllipse(centre, 12, 12);
        drawFitted(painter, QRectF(centre.x() - 10, centre.y() - 10, 20, 20), "T", wide(16, QFont::Bold),
                   colour::kGoldLight);
    }
    return image;
}

void makeCards(Output& out)
{
    for (int code = 0; code < 52; ++code) {
        const QString name = QStringLiteral("cards/%1%2.bmp").arg(kRankLetters[code / 4]).arg(kSuitLetters[code % 4]);
        out.bmp(name, keyed(cardFace(code), kCardKey, colour::kFelt.rgb()));
    }
    out.bmp("cards/b.bmp", keyed(cardBack(kWidth, kHeight), kCardKey, colour::kFelt.rgb()));
}

} // namespace tessaly::assets
