#pragma once
// Where things stand on the table picture: the eight per-seat coordinate
// groups of the 10-seat and the 6-seat layout, the fixed positions of the
// deal, board, pots, rake, banner, hand numbers and option labels, and the
// scaling of nominal pixels to the window. Free of Qt, so the rules build
// and run under the sanitizers.
//
// Nominal pixels have their origin at the top left of the client area of an
// 800 x 600 window; the screen scale multiplies them.

#include <array>

#include "client/net/Protocol.h"

namespace tessaly {

struct TableState;

// ActionWord: where a seat's action word and a winner's amount show, beside
// the player box toward the table's centre, so neither hides the name.
enum class SeatGroup {
    PlayerBox, OwnPlayerBox, Bet, DealerButton, TurnMarker, FaceDownCards, SitOut, FaceUpCards, ActionWord
};

struct TablePoint {
    int x;
    int y;
    bool operator==(const TablePoint&) const = default;
};

inline constexpr int kTenSeats = 10;
inline constexpr int kSixSeats = 6;

// The seats a layout has: 10 when seatCount is 10, else 6.
int layoutSeats(int seatCount);
// seat is one of the layout's seats.
bool seatOnTable(int seatCount, int seat);
// The seat's point of the group in nominal pixels; seatCount 10 uses the
// 10-seat layout, anything else the 6-seat one. A seat that is not on the
// table has no point: {0, 0}.
TablePoint seatPoint(SeatGroup group, int seatCount, int seat);

// Nominal to window pixels: multiplied by the scale, truncated toward zero.
// Whole nominal pixels and the in-between points of moving pieces alike.
int scaledX(double nominal, double sx);
int scaledY(double nominal, double sy);

// The player boxes are 95 x 43 pixels, not scaled.
inline constexpr int kPlayerBoxWidth = 95;
inline constexpr int kPlayerBoxHeight = 43;

// The occupied seat whose player box (at its player-box point, scaled) holds
// window pixel x, y; -1 when none does.
int playerBoxAt(int x, int y, const TableState& table, double sx, double sy);

// Fixed positions, nominal.
inline constexpr TablePoint kDealOrigin{360, 118};
inline constexpr int kBoardY = 145;
inline constexpr std::array<int, 5> kBoardX{247, 307, 367, 427, 487};
inline constexpr TablePoint kRakePoint{335, 108};
inline constexpr TablePoint kWinBannerPoint{230, 236};
// Pots 7 to 9 have no place on the table and are not drawn.
inline constexpr int kDrawnPots = 7;
inline constexpr std::array<TablePoint, kDrawnPots> kPotPoints{
    {{373, 275}, {251, 253}, {533, 247}, {255, 135}, {382, 136}, {490, 127}, {531, 188}}};
inline constexpr TablePoint kThisHandPoint{5, 0};
inline constexpr TablePoint kLastHandPoint{5, 12};
inline constexpr int kOptionLabelX = 20;
inline constexpr std::array<int, 4> kOptionLabelY{474, 491, 508, 525};

// Card sizes and where the second card of a pair stands from the first.
inline constexpr int kCardWidth = 57;
inline constexpr int kCardHeight = 77;
inline constexpr TablePoint kSecondFaceUpCard{19, 1};
inline constexpr TablePoint kSecondFaceDownCard{3, 2};

// What stands at the seats, in window pixels: pictures keep their own size
// at every scale, only their places scale.
struct SeatRect {
    int x, y, width, height;
    bool intersects(const SeatRect& other) const
    {
        return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
               other.y < y + height;
    }
};
inline constexpr int kInfoBoxWidth = 85;     // "images/userInfoBox.bmp", "images/actionInfoBox.bmp"
inline constexpr int kInfoBoxHeight = 40;
inline constexpr int kCardBackWidth = 22;    // "images/smallcard1.bmp"
inline constexpr int kCardBackHeight = 30;
inline constexpr int kMarkerSide = 26;       // the turn markers
inline constexpr int kDealerButtonSide = 24;
inline constexpr int kSitOutWidth = 66;
inline constexpr int kSitOutHeight = 17;
// A bet: two columns of chips standing on the point, its text under it.
inline constexpr int kBetWidth = 48;
inline constexpr int kBetAbove = 24;
inline constexpr int kBetBelow = 16;

// The rectangle a seat's element of the group covers when drawn; player
// boxes by their click area (95 x 43).
SeatRect seatRect(SeatGroup group, int seatCount, int seat, double sx, double sy);

} // namespace tessaly
