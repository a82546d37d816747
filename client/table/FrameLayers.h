#pragma once
// The table frame as an ordered list of layers. Each layer draws one kind of
// thing from the table's record, the frame's moving pieces and the window's
// pictures; none of them changes anything.

#include <QColor>
#include <QPoint>
#include <span>
#include <string_view>

#include "client/table/SeatLayout.h"
#include "client/table/TableAnimation.h"
#include "platform/gui/DialogUnits.h"

class QFont;
class QPainter;

namespace tessaly {

struct TableFonts;
class TextLayouts;
struct TablePictures;
struct TableState;

inline const QColor kTextWhite{255, 255, 255};
inline const QColor kTextYellow{255, 255, 0};

struct FrameScene {
    QPainter& painter;
    const TableState& table;
    const FrameMotion& motion;
    const TablePictures& pictures;
    const TableFonts& fonts;
    TextLayouts& texts;
    ScreenScale scale;

    // Nominal points in window pixels.
    QPoint at(TablePoint nominal) const;
    QPoint at(const MovingPoint& nominal) const;
    QPoint seatAt(SeatGroup group, int seat) const;
    // The seats of the table's layout.
    int seats() const;
};

using FrameLayer = void (*)(const FrameScene&);

// Every layer after the background, in drawing order.
std::span<const FrameLayer> frameLayers();

// The layers of the seats (SeatLayers.cpp).
void drawHoleCards(const FrameScene& scene);
void drawPlayerBoxes(const FrameScene& scene);
void drawShownCards(const FrameScene& scene);
void drawSitOutMarks(const FrameScene& scene);
void drawAnnouncement(const FrameScene& scene);
void drawTurnMarker(const FrameScene& scene);
void drawDealerButton(const FrameScene& scene);
void drawBets(const FrameScene& scene);
void drawWinners(const FrameScene& scene);
void drawTurnWarning(const FrameScene& scene);
void drawTurnClock(const FrameScene& scene);

// The layers of the middle of the table and the panel (TableLayers.cpp).
void drawOptionLabels(const FrameScene& scene);
void drawBoard(const FrameScene& scene);
void drawPots(const FrameScene& scene);
void drawRake(const FrameScene& scene);
void drawHandNumbers(const FrameScene& scene);
void drawWinBanner(const FrameScene& scene);

// Shared by the layers.
// Text with its top left corner at the point, in transparent mode.
void drawTextAt(const FrameScene& scene, const QFont& font, const QColor& colour, QPoint topLeft,
                std::string_view text);
// Text centred on x with its top at y.
void drawTextCentred(const FrameScene& scene, const QFont& font, const QColor& colour, int centreX, int top,
                     std::string_view text);
// A card face 57 x 77 with the card key; nothing for code 69 or a card
// whose picture did not load.
void drawCardFace(QPainter& painter, int code, QPoint topLeft);
// An amount as a chip stack resting on the point with its amount text
// under it ("Verdana Bold" 7, white): bets, pots and rake.
void drawMoney(const FrameScene& scene, TablePoint nominal, float amount);

} // namespace tessaly
