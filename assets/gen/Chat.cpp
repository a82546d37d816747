// The 21 chat pictures: 19 x 19 on the chat log's white, one family of round
// yellow faces plus the suits, a card, a chip and the yes and no marks.

#include <QRadialGradient>
#include <functional>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

constexpr int kSize = 19;
const QColor kInk(0x4A, 0x2A, 0x05);

using Features = std::function<void(QPainter&)>;

QImage picture(const std::function<void(QPainter&)>& draw)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    prepare(painter);
    draw(painter);
    return image;
}

QImage face(const Features& features)
{
    return picture([&](QPainter& painter) {
        QRadialGradient skin(QPointF(7, 6), 12);
        skin.setColorAt(0, QColor(0xFF, 0xF1, 0x8A));
        skin.setColorAt(1, QColor(0xF5, 0xB8, 0x1C));
        painter.setPen(QPen(QColor(0xB9, 0x7A, 0x0A), 1));
        painter.setBrush(skin);
        painter.drawEllipse(QRectF(1.5, 1.5, 16, 16));
        painter.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        features(painter);
    });
}

void eyes(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QRectF(5.6, 5.8, 2.2, 3));
    painter.drawEllipse(QRectF(11.2, 5.8, 2.2, 3));
    painter.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
}

void smile(QPainter& painter) { painter.drawArc(QRectF(5, 6, 9, 7.5), 200 * 16, 140 * 16); }

void suit(Output& out, const QString& name, int which)
{
    out.bmp(name, picture([which](QPainter& painter) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(suitColour(which));
        painter.drawPath(suitPath(which, QRectF(3, 2.5, 13, 14)));
    }));
}

} // namespace

void makeChatPictures(Output& out)
{
    out.bmp("images/chat_smile.bmp", face([](QPainter& p) { eyes(p); smile(p); }));
    out.bmp("images/chat_wink.bmp", face([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QRectF(5.6, 5.8, 2.2, 3));
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(11, 7.5), QPointF(13.6, 7.5));
        smile(p);
    }));
    out.bmp("images/chat_think.bmp", face([](QPainter& p) { eyes(p); p.drawLine(QPointF(6.5, 13.2), QPointF(12.5, 11.6)); }));
    out.bmp("images/chat_neutral.bmp", face([](QPainter& p) { eyes(p); p.drawLine(QPointF(6.5, 12.5), QPointF(12.5, 12.5)); }));
    out.bmp("images/chat_think2.bmp", face([](QPainter& p) { eyes(p); p.drawLine(QPointF(6.5, 11.6), QPointF(12.5, 13.2)); }));
    out.bmp("images/chat_grin.bmp", face([](QPainter& p) {
        eyes(p);
        QPainterPath mouth;
        mouth.moveTo(5, 10.5);
        mouth.lineTo(14, 10.5);
        mouth.quadTo(13.5, 15.5, 9.5, 15.5);
        mouth.quadTo(5.5, 15.5, 5, 10.5);
        p.setBrush(Qt::white);
        p.drawPath(mouth);
        p.drawLine(QPointF(5.6, 12.2), QPointF(13.4, 12.2));
    }));
    out.bmp("images/chat_sad.bmp", face([](QPainter& p) { eyes(p); p.drawArc(QRectF(5.5, 11.5, 8, 6), 30 * 16, 120 * 16); }));
    out.bmp("images/chat_shock.bmp", face([](QPainter& p) {
        eyes(p);
        p.setBrush(QColor(0x6B, 0x22, 0x10));
        p.drawEllipse(QRectF(7.6, 10.8, 3.8, 4.4));
    }));
    out.bmp("images/chat_tongue.bmp", face([](QPainter& p) {
        eyes(p);
        p.drawLine(QPointF(6, 11.5), QPointF(13, 11.5));
        p.setPen(QPen(QColor(0xB0, 0x20, 0x30), 0.8));
        p.setBrush(QColor(0xF0, 0x5A, 0x6E));
        p.drawRoundedRect(QRectF(8.5, 11.5, 4, 4.5), 2, 2);
    }));
    out.bmp("images/chat_crossedlips.bmp", face([](QPainter& p) {
        eyes(p);
        p.drawLine(QPointF(6, 12.5), QPointF(13, 12.5));
        for (double x : {7.5, 9.5, 11.5})
            p.drawLine(QPointF(x, 11), QPointF(x, 14));
    }));
    out.bmp("images/chat_cry.bmp", face([](QPainter& p) {
        eyes(p);
        p.drawArc(QRectF(5.5, 11.8, 8, 6), 30 * 16, 120 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x9A, 0xF0));
        QPainterPath tear;
        tear.moveTo(5.2, 8.8);
        tear.quadTo(3.4, 12, 5.2, 12.6);
        tear.quadTo(7, 12, 5.2, 8.8);
        p.drawPath(tear);
    }));
    out.bmp("images/chat_cool.bmp", face([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x15, 0x15, 0x15));
        p.drawRoundedRect(QRectF(3.6, 5.4, 5.4, 3.8), 1.4, 1.4);
        p.drawRoundedRect(QRectF(10, 5.4, 5.4, 3.8), 1.4, 1.4);
        p.setPen(QPen(QColor(0x15, 0x15, 0x15), 1));
        p.drawLine(QPointF(8.5, 6.3), QPointF(10.5, 6.3));
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        smile(p);
    }));
    out.bmp("images/chat_angel.bmp", picture([](QPainter& p) {
        QRadialGradient skin(QPointF(7, 9), 11);
        skin.setColorAt(0, QColor(0xFF, 0xF1, 0x8A));
        skin.setColorAt(1, QColor(0xF5, 0xB8, 0x1C));
        p.setPen(QPen(QColor(0xB9, 0x7A, 0x0A), 1));
        p.setBrush(skin);
        p.drawEllipse(QRectF(2.5, 4.5, 14, 14));
        p.setPen(QPen(QColor(0xE0, 0xB0, 0x10), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 0.8, 10, 3.2));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QRectF(6.4, 8.6, 2, 2.6));
        p.drawEllipse(QRectF(10.6, 8.6, 2, 2.6));
        p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 9, 7, 6.5), 200 * 16, 140 * 16);
    }));
    suit(out, "images/chat_suit_h.bmp", 1);
    suit(out, "images/chat_suit_s.bmp", 3);
    suit(out, "images/chat_suit_d.bmp", 0);
    suit(out, "images/chat_suit_c.bmp", 2);
    out.bmp("images/chat_card.bmp", picture([](QPainter& p) {
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(3.5, 1.5, 12, 16), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kHearts);
        p.drawPath(suitPath(1, QRectF(6, 5, 7, 8)));
    }));
    out.bmp("images/chat_chip.bmp", picture([](QPainter& p) {
        p.setPen(QPen(QColor(0x7A, 0x10, 0x18), 1));
        p.setBrush(QColor(0xC0, 0x26, 0x2B));
        p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
        QPen dashes(Qt::white, 2.4, Qt::CustomDashLine, Qt::FlatCap);
        dashes.setDashPattern({1.6, 1.9});
        p.setPen(dashes);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3.4, 3.4, 12.2, 12.2));
        p.setPen(QPen(QColor(0x7A, 0x10, 0x18), 0.8));
        p.setBrush(QColor(0xF8, 0xF5, 0xEC));
        p.drawEllipse(QRectF(6, 6, 7, 7));
    }));
    out.bmp("images/chat_n.bmp", picture([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD3, 0x2F, 0x2F));
        p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.2, 6.2), QPointF(12.8, 12.8));
        p.drawLine(QPointF(12.8, 6.2), QPointF(6.2, 12.8));
    }));
    out.bmp("images/chat_y.bmp", picture([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2E, 0x9D, 0x46));
        p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5.6, 9.8), QPointF(8.4, 12.6), QPointF(13.4, 6.6)}));
    }));
}

} // namespace tessaly::assets
