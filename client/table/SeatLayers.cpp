// The layers drawn at the seats: hole cards and the deal, player boxes,
// shown cards, sit-out marks, the action announcement, the turn marker, the
// dealer button, the bets in front and the winners.

#include <QPainter>
#include <QPen>
#include <algorithm>

#include "client/table/FrameLayers.h"
#include "client/table/TablePictures.h"
#include "client/table/TableState.h"
#include "client/table/TableTexts.h"
#include "client/ui/AmountText.h"
#include "client/ui/ChipRack.h"

namespace tessaly {
namespace {

constexpr int kTextCentreX = 42;   // from a box's left edge
constexpr int kNameTop = 5;
constexpr int kChipsTop = 20;
constexpr int kActionWordTop = 10;
const QColor kWinnerGold{255, 200, 40};
const QColor kWarningRed{255, 90, 70};
constexpr const char* kTurnWarningText = "Time is running out!";
const QColor kClockBack{0, 0, 0, 150};
const QColor kClockGreen{90, 220, 110};
constexpr int kClockBarHeight = 5;

std::size_t at(int seat)
{
    return static_cast<std::size_t>(seat);
}

// Two face-up cards, the second only when known and wanted.
void drawFaceUpPair(QPainter& painter, QPoint first, int card1, int card2, bool second)
{
    drawCardFace(painter, card1, first);
    if (second)
        drawCardFace(painter, card2, first + QPoint(kSecondFaceUpCard.x, kSecondFaceUpCard.y));
}

} // namespace

void drawHoleCards(const FrameScene& scene)
{
    const TableState& table = scene.table;
    if (table.handInProgress != 1)
        return;
    const Picture& back = scene.pictures.smallCard;
    // Every seat comes three times in the deal order; each is drawn once.
    PerSeat<bool> drawn{};
    for (const int seat : table.dealOrder) {
        if (!seatOnTable(table.seatCount, seat) || drawn[at(seat)])
            continue;
        drawn[at(seat)] = true;
        const int cards = std::clamp(table.holeCardsDrawn[at(seat)], 0, 2);
        // Shown cards lie face up on their own; no backs beside them.
        if (cards == 0 || table.cardsShown[at(seat)] == 1)
            continue;
        if (table.ownCardsLive[at(seat)] == 1) {
            // The user's own cards lie face up where shown cards do.
            drawFaceUpPair(scene.painter, scene.seatAt(SeatGroup::FaceUpCards, seat), table.ownCards[0],
                           table.ownCards[1], cards == 2);
            continue;
        }
        const QPoint point = scene.seatAt(SeatGroup::FaceDownCards, seat);
        back.drawKeyed(scene.painter, point.x(), point.y(), kCardKey);
        if (cards == 2)
            back.drawKeyed(scene.painter, point.x() + kSecondFaceDownCard.x, point.y() + kSecondFaceDownCard.y,
                           kCardKey);
    }
    if (scene.motion.dealtCard) {
        const QPoint point = scene.at(*scene.motion.dealtCard);
        back.drawKeyed(scene.painter, point.x(), point.y(), kPictureKey);
    }
}

void drawPlayerBoxes(const FrameScene& scene)
{
    const TableState& table = scene.table;
    for (int seat = 0; seat < scene.seats(); ++seat) {
        if (table.seatOccupied[at(seat)] != 1)
            continue;
        const SeatGroup group = table.ownCardSeat[at(seat)] == 1 ? SeatGroup::OwnPlayerBox : SeatGroup::PlayerBox;
        const QPoint box = scene.seatAt(group, seat);
        scene.pictures.playerBox.drawBlended(scene.painter, box.x(), box.y(), kPlayerBoxAlpha);
        const int centre = box.x() + kTextCentreX;
        drawTextCentred(scene, scene.fonts.name, kTextWhite, centre, box.y() + kNameTop,
                        table.playerName[at(seat)].str());
        if (table.allIn[at(seat)] == 1)
            drawTextCentred(scene, scene.fonts.allIn, kTextWhite, centre, box.y() + kChipsTop, kAllInText);
        else
            drawTextCentred(scene, scene.fonts.name, kTextYellow, centre, box.y() + kChipsTop,
                            chipCountText(table.stack[at(seat)]));
    }
}

void drawShownCards(const FrameScene& scene)
{
    const TableState& table = scene.table;
    for (int seat = 0; seat < scene.seats(); ++seat) {
        if (table.cardsShown[at(seat)] != 1)
            continue;
        const auto& cards = table.shownCards[at(seat)];
        drawFaceUpPair(scene.painter, scene.seatAt(SeatGroup::FaceUpCards, seat), cards[0], cards[1],
                       cards[1] != kNoCard);
    }
}

void drawSitOutMarks(const FrameScene& scene)
{
    const TableState& table = scene.table;
    for (int seat = 0; seat < scene.seats(); ++seat) {
        if (table.seatOccupied[at(seat)] == 1 && table.seatState[at(seat)] == kSeatSittingOut) {
            const QPoint point = scene.seatAt(SeatGroup::SitOut, seat);
            scene.pictures.sitOut.drawKeyed(scene.painter, point.x(), point.y(), kPictureKey);
        }
    }
}

void drawAnnouncement(const FrameScene& scene)
{
    const TableState& table = scene.table;
    if (scene.motion.announcementAlpha == kNotDrawn || !seatOnTable(table.seatCount, table.historySeat))
        return;
    const QPoint box = scene.seatAt(SeatGroup::ActionWord, table.historySeat);
    scene.pictures.actionBox.drawBlended(scene.painter, box.x(), box.y(), scene.motion.announcementAlpha);
    drawTextCentred(scene, scene.fonts.action, kTextWhite, box.x() + kTextCentreX, box.y() + kActionWordTop,
                    actionWord(table.historyKind));
}

void drawTurnMarker(const FrameScene& scene)
{
    const TableState& table = scene.table;
    if (table.blinkWord == 0 || table.actingSeat == kNoSeat || !seatOnTable(table.seatCount, table.actingSeat))
        return;
    const QPoint point = scene.seatAt(SeatGroup::TurnMarker, table.actingSeat);
    scene.pictures.turnMarker(table.seatCount, table.actingSeat).drawKeyed(scene.painter, point.x(), point.y(),
                                                                           kPictureKey);
}

void drawDealerButton(const FrameScene& scene)
{
    if (!scene.motion.dealerButton)
        return;
    const QPoint point = scene.at(*scene.motion.dealerButton);
    scene.pictures.dealerButton.drawKeyed(scene.painter, point.x(), point.y(), kPictureKey);
}

void drawBets(const FrameScene& scene)
{
    const TableState& table = scene.table;
    for (int seat = 0; seat < scene.seats(); ++seat) {
        if (table.inFront[at(seat)] != 0.0f)
            drawMoney(scene, seatPoint(SeatGroup::Bet, table.seatCount, seat), table.inFront[at(seat)]);
    }
}

} // namespace tessaly

namespace tessaly {

void drawTurnWarning(const FrameScene& scene)
{
    const TableState& table = scene.table;
    if (table.turnWarned != 1 || table.userSeatedHere != 1 || !seatOnTable(table.seatCount, table.userSeat))
        return;
    const QPoint word = scene.seatAt(SeatGroup::ActionWord, table.userSeat);
    drawTextCentred(scene, scene.fonts.name, kWarningRed, word.x() + kTextCentreX, word.y() + kActionWordTop,
                    kTurnWarningText);
}

// The acting seat's clock: a bar under its action word's place that
// empties, red in its last third.
void drawTurnClock(const FrameScene& scene)
{
    const TableState& table = scene.table;
    if (scene.motion.turnClockLeft < 0.0 || !seatOnTable(table.seatCount, table.actingSeat))
        return;
    const QPoint word = scene.seatAt(SeatGroup::ActionWord, table.actingSeat);
    const QRect bar(word.x(), word.y() + kInfoBoxHeight - kClockBarHeight, kInfoBoxWidth, kClockBarHeight);
    scene.painter.fillRect(bar, kClockBack);
    const int left = static_cast<int>(bar.width() * scene.motion.turnClockLeft);
    scene.painter.fillRect(QRect(bar.topLeft(), QSize(left, bar.height())),
                           scene.motion.turnClockLeft > 1.0 / 3 ? kClockGreen : kWarningRed);
}

// A winner's box gets a gold frame around it (never over its name), its
// amount shows beside it, and the chips come from the main pot to its bet
// place.
void drawWinners(const FrameScene& scene)
{
    const TableState& table = scene.table;
    for (int seat = 0; seat < scene.seats(); ++seat) {
        const int left = table.winnerFrames[at(seat)];
        if (left <= 0)
            continue;
        const float amount = table.wonAmount[at(seat)];
        const SeatGroup group = table.ownCardSeat[at(seat)] == 1 ? SeatGroup::OwnPlayerBox : SeatGroup::PlayerBox;
        const QPoint box = scene.seatAt(group, seat);
        scene.painter.save();
        scene.painter.setPen(QPen(kWinnerGold, 3));
        scene.painter.setBrush(Qt::NoBrush);
        scene.painter.drawRoundedRect(QRect(box, QSize(kInfoBoxWidth, kInfoBoxHeight)).adjusted(-3, -3, 3, 3), 6, 6);
        scene.painter.restore();
        const QPoint word = scene.seatAt(SeatGroup::ActionWord, seat);
        drawTextCentred(scene, scene.fonts.action, kWinnerGold, word.x() + kTextCentreX,
                        word.y() + kActionWordTop, "+" + amountText(amount));
        const double t = winnerChipsProgress(left);
        const TablePoint from = kPotPoints[0];
        const TablePoint to = seatPoint(SeatGroup::Bet, table.seatCount, seat);
        const QPoint chips = scene.at(MovingPoint{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
        DrawChipStack(scene.painter, scene.pictures.chips, chips.x(), chips.y(), amount);
    }
}

} // namespace tessaly
