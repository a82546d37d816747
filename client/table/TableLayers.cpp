// The layers drawn at fixed places: the option labels of the panel, the
// board, the pots, the rake, the hand numbers and the win banner.

#include <QPainter>
#include <string>

#include "client/table/FrameLayers.h"
#include "client/table/TablePictures.h"
#include "client/table/TableState.h"
#include "client/table/TableTexts.h"

namespace tessaly {
namespace {

struct OptionLabel {
    std::string_view text;
    const QColor& colour;
};

const std::array<OptionLabel, 4> kOptionLabels{{
    {"Fold/Check Any Bet", kTextYellow},
    {"Auto Post Blind", kTextWhite},
    {"Muck Losing Hands", kTextWhite},
    {"Deal Me Out", kTextWhite},
}};

} // namespace

void drawOptionLabels(const FrameScene& scene)
{
    if (scene.table.userSeatedHere != 1)
        return;
    for (std::size_t i = 0; i < kOptionLabels.size(); ++i) {
        const QPoint point = scene.at(TablePoint{kOptionLabelX, kOptionLabelY[i]});
        drawTextAt(scene, scene.fonts.options, kOptionLabels[i].colour, point, kOptionLabels[i].text);
    }
}

void drawBoard(const FrameScene& scene)
{
    for (std::size_t card = 0; card < scene.motion.boardX.size(); ++card) {
        if (scene.motion.boardX[card] != kNotDrawn)
            drawCardFace(scene.painter, scene.table.board[card], scene.at(TablePoint{scene.motion.boardX[card], kBoardY}));
    }
}

void drawPots(const FrameScene& scene)
{
    for (int pot = 0; pot < kDrawnPots; ++pot) {
        const float amount = scene.table.pots[static_cast<std::size_t>(pot)];
        if (amount != 0.0f)
            drawMoney(scene, kPotPoints[static_cast<std::size_t>(pot)], amount);
    }
}

void drawRake(const FrameScene& scene)
{
    if (scene.table.rake != 0.0f)
        drawMoney(scene, kRakePoint, scene.table.rake);
}

void drawHandNumbers(const FrameScene& scene)
{
    const TableState& table = scene.table;
    const auto line = [&scene](TablePoint point, std::string_view prefix, const std::string& number) {
        if (!number.empty())
            drawTextAt(scene, scene.fonts.handNumbers, kTextWhite, scene.at(point), std::string(prefix) + number);
    };
    line(kThisHandPoint, kThisHandPrefix, table.thisHandText);
    line(kLastHandPoint, kLastHandPrefix, table.lastHandText);
}

void drawWinBanner(const FrameScene& scene)
{
    if (scene.table.userWon != 1)
        return;
    const QPoint point = scene.at(kWinBannerPoint);
    scene.pictures.winBanner.drawKeyed(scene.painter, point.x(), point.y(), kPictureKey);
}

} // namespace tessaly
