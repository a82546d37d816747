#include "client/table/FrameLayers.h"

#include <QFontMetrics>
#include <QPainter>
#include <array>

#include "client/table/PaintedItems.h"
#include "client/table/TablePictures.h"
#include "client/table/TextLayouts.h"
#include "client/table/TableState.h"
#include "client/ui/AmountText.h"
#include "client/ui/CardImages.h"
#include "platform/sys/CLocale.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

// The order of the frame. Between these the window runs its own steps
// (chat, option marks, seat buttons, the prompt, the offers), which draw
// nothing on the table.
constexpr std::array<FrameLayer, 17> kLayers{
    drawHoleCards,  drawOptionLabels, drawPlayerBoxes, drawShownCards, drawSitOutMarks,
    drawAnnouncement, drawTurnMarker, drawDealerButton, drawBoard,     drawPots,
    drawRake,       drawHandNumbers,  drawWinBanner,   drawBets,       drawWinners,
    drawTurnWarning, drawTurnClock,
};

} // namespace

std::span<const FrameLayer> frameLayers()
{
    return kLayers;
}

QPoint FrameScene::at(TablePoint nominal) const
{
    return at(MovingPoint{static_cast<double>(nominal.x), static_cast<double>(nominal.y)});
}

QPoint FrameScene::at(const MovingPoint& nominal) const
{
    return {scaledX(nominal.x, scale.x), scaledY(nominal.y, scale.y)};
}

QPoint FrameScene::seatAt(SeatGroup group, int seat) const
{
    return at(seatPoint(group, table.seatCount, seat));
}

int FrameScene::seats() const
{
    return layoutSeats(table.seatCount);
}

namespace {

// A line of text with its top left corner at the point. The recording of
// what a frame paints only notes where the line goes.
void paintLine(const FrameScene& scene, const QFont& font, const QColor& colour, QPoint topLeft,
               const TextLayouts::Line& line)
{
    if (auto* items = dynamic_cast<PaintedItems*>(scene.painter.device())) {
        items->noteText(QRect(topLeft, QSize(line.advance, line.ascent + line.descent)), line.text.text(), font,
                        colour);
        return;
    }
    scene.painter.setFont(font);
    scene.painter.setPen(colour);
    scene.painter.drawStaticText(topLeft, line.text);
}

} // namespace

void drawTextAt(const FrameScene& scene, const QFont& font, const QColor& colour, QPoint topLeft,
                std::string_view text)
{
    if (text.empty())
        return;
    paintLine(scene, font, colour, topLeft, scene.texts.line(font, toQString(text), scene.painter.device()));
}

void drawTextCentred(const FrameScene& scene, const QFont& font, const QColor& colour, int centreX, int top,
                     std::string_view text)
{
    if (text.empty())
        return;
    const TextLayouts::Line& line = scene.texts.line(font, toQString(text), scene.painter.device());
    paintLine(scene, font, colour, QPoint(centreX - line.advance / 2, top), line);
}

void drawCardFace(QPainter& painter, int code, QPoint topLeft)
{
    if (code == kNoCard)
        return;
    const Picture& card = cardImages().card(code);
    card.drawKeyed(painter, QRect(topLeft, QSize(kCardWidth, kCardHeight)), card.image().rect(), kCardKey);
}

void drawMoney(const FrameScene& scene, TablePoint nominal, float amount)
{
    const std::string text = amountText(amount);
    const QPoint point = scene.at(nominal);
    // The stack shows the amount as its text reads, not the float behind it.
    const auto shown = static_cast<float>(strtodC(text.c_str(), nullptr));
    DrawChipStack(scene.painter, scene.pictures.chips, point.x(), point.y(), shown);
    drawTextAt(scene, scene.fonts.money, kTextWhite, point, text);
}

} // namespace tessaly
