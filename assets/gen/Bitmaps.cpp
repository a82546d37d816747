// The numbered bitmap resources compiled into the programs: the faces of the
// skinned buttons (the second bitmap is the resting face, transparent where
// black; the first is the lit face shown under the pointer, transparent in
// RGB(255, 0, 240)), the about picture and the icons.

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

const QColor kLobbyMatte(0x0B, 0x15, 0x2B);

QImage buttonFace(int width, int height, const QString& label, bool lit)
{
    QImage image = canvas(width, height);
    QPainter painter(&image);
    prepare(painter);
    const QRectF box(0.5, 0.5, width - 1, height - 1);
    if (lit)
        panel(painter, box, 5, colour::kGoldLight, colour::kGold.darker(115), colour::kGoldLight);
    else
        panel(painter, box, 5, colour::kNavyLight, colour::kNavy, colour::kGold);
    painter.setPen(QPen(QColor(255, 255, 255, lit ? 110 : 45), 1));
    painter.drawLine(QPointF(5, 1.5), QPointF(width - 5, 1.5));
    drawFitted(painter, QRectF(4, 0, width - 8, height), label, wide(std::min(12, height - 10), QFont::Bold),
               lit ? colour::kNavy : colour::kCream);
    painter.end();
    return image;
}

// One skinned button: the lit face (first bitmap) and the resting one.
void skinButton(Output& out, int firstId, int secondId, int width, int height, const QString& label)
{
    out.bitmapResource(firstId, keyed(buttonFace(width, height, label, true), kButtonKey, kLobbyMatte.rgb()));
    // Black is the resting face's key: nothing else in it may be pure black.
    out.bitmapResource(secondId, keyed(buttonFace(width, height, label, false), 0x000000, kLobbyMatte.rgb()));
}

// The face of the table's action buttons, 61 x 18 dialog units; the
// buttons draw their captions over it.
QImage actionFace()
{
    QImage image = canvas(92, 29);
    QPainter painter(&image);
    prepare(painter);
    panel(painter, QRectF(0.5, 0.5, 91, 28), 7, QColor(0xFF, 0xF6, 0xDA), QColor(0xE2, 0xBF, 0x62),
          colour::kGoldDark);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
    painter.drawLine(QPointF(7, 1.5), QPointF(85, 1.5));
    return keyed(image, kButtonKey, colour::kNavy.rgb());
}

QImage seatFace()
{
    QImage image = canvas(85, 40);
    QPainter painter(&image);
    prepare(painter);
    panel(painter, QRectF(0.5, 0.5, 84, 39), 6, QColor(0x36, 0xA8, 0x66), QColor(0x17, 0x63, 0x38), colour::kGold);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.drawLine(QPointF(6, 1.5), QPointF(79, 1.5));
    drawShadowed(painter, QRectF(0, 4, 85, 18), Qt::AlignCenter, "TAKE A SEAT", wide(10, QFont::Bold),
                 QColor(0xFF, 0xFF, 0xFF));
    drawShadowed(painter, QRectF(0, 20, 85, 15), Qt::AlignCenter, "click to play", wide(9), colour::kGoldLight);
    return keyed(image, kSeatButtonKey, colour::kFeltDark.rgb());
}

QImage aboutPicture()
{
    QImage image(454, 290, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    prepare(painter);
    QRadialGradient felt(QPointF(227, 120), 300);
    felt.setColorAt(0, colour::kFeltLight);
    felt.setColorAt(0.6, colour::kFelt);
    felt.setColorAt(1, colour::kFeltDark.darker(140));
    painter.fillRect(image.rect(), felt);
    painter.setPen(QPen(QColor(255, 255, 255, 26), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(-60, 150, 574, 260));
    painter.setFont(wide(44, QFont::Bold));
    painter.setPen(QColor(0, 0, 0, 110));
    painter.drawText(QRectF(3, 26, 454, 56), Qt::AlignCenter, "TESSALY");
    QLinearGradient gold(0, 30, 0, 80);
    gold.setColorAt(0, colour::kGoldLight);
    gold.setColorAt(1, colour::kGoldDark);
    painter.setPen(QPen(QBrush(gold), 1));
    painter.drawText(QRectF(0, 23, 454, 56), Qt::AlignCenter, "TESSALY");
    painter.setFont(wide(13, QFont::Bold));
    painter.setPen(colour::kCream);
    painter.drawText(QRectF(0, 80, 454, 20), Qt::AlignCenter, "ONLINE POKER ROOM");
    const int fan[] = {51, 47, 43, 39, 35};
    for (int i = 0; i < 5; ++i) {
        painter.save();
        painter.translate(227 + (i - 2) * 34, 290);
        painter.rotate((i - 2) * 11);
        painter.scale(1.45, 1.45);
        painter.drawImage(QPointF(-28.5, -128), cardFace(fan[i]));
        painter.restore();
    }
    const int stacks[][3] = {{40, 262, 5}, {68, 266, 6}, {52, 240, 4}, {372, 262, 7}, {400, 266, 3}, {386, 240, 9}};
    for (const auto& stack : stacks)
        for (int level = 0; level < 6 - stack[2] % 3; ++level) {
            painter.save();
            painter.translate(stack[0], stack[1] - level * 9);
            painter.scale(1.5, 1.5);
            painter.drawImage(QPointF(0, -19), chipPicture(stack[2]));
            painter.restore();
        }
    return image;
}

QImage appIcon()
{
    QImage image = canvas(256, 256);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(128, 128);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(centre + QPointF(0, 6), 118, 118);
    painter.setBrush(colour::kNavy);
    painter.drawEllipse(centre, 118, 118);
    painter.setBrush(colour::kGold);
    for (int i = 0; i < 8; ++i) {
        painter.save();
        painter.translate(centre);
        painter.rotate(i * 45.0);
        painter.drawRoundedRect(QRectF(-14, -117, 28, 34), 4, 4);
        painter.restore();
    }
    painter.setPen(QPen(colour::kGold, 5));
    painter.setBrush(colour::kNavyLight);
    painter.drawEllipse(centre, 76, 76);
    drawFitted(painter, QRectF(48, 44, 160, 168), "T", wide(138, QFont::Bold), colour::kGoldLight);
    return image;
}

QImage pin(bool onTop)
{
    QImage image = canvas(64, 64);
    QPainter painter(&image);
    prepare(painter);
    painter.translate(32, 32);
    painter.rotate(onTop ? 0 : 35);
    const QColor head = onTop ? QColor(0xD3, 0x2F, 0x2F) : QColor(0x9A, 0x9A, 0x9A);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 4), QPointF(0, 30));
    painter.setPen(QPen(head.darker(160), 2));
    painter.setBrush(head);
    painter.drawRoundedRect(QRectF(-16, -4, 32, 10), 3, 3);
    painter.drawRoundedRect(QRectF(-10, -28, 20, 26), 4, 4);
    painter.setBrush(head.lighter(130));
    painter.drawRoundedRect(QRectF(-16, -30, 32, 8), 3, 3);
    return image;
}

} // namespace

void makeBitmapResources(Output& out)
{
    skinButton(out, 186, 176, 72, 23, "Login");
    skinButton(out, 187, 173, 77, 23, "Sign Up");
    skinButton(out, 190, 177, 113, 23, "Refresh");
    skinButton(out, 189, 174, 75, 23, "Cashier");
    skinButton(out, 191, 184, 75, 23, "Help");
    skinButton(out, 195, 193, 71, 23, "Logout");
    skinButton(out, 197, 196, 77, 23, "My Account");
    skinButton(out, 202, 182, 112, 20, "Get More Chips");
    skinButton(out, 203, 181, 112, 20, "View Lobby");
    skinButton(out, 204, 180, 112, 20, "Leave Table");
    skinButton(out, 201, 183, 112, 20, "Invite A Friend");
    out.bitmapResource(163, actionFace());
    out.bitmapResource(1002, seatFace());
    out.bitmapResource(208, aboutPicture());
    out.iconResource(128, appIcon());
    out.iconResource(199, pin(false));
    out.iconResource(200, pin(true));
}

} // namespace tessaly::assets
