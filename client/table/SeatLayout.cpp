#include "client/table/SeatLayout.h"

#include <cmath>
#include <limits>

#include "client/table/TableState.h"

namespace tessaly {
namespace {

constexpr int kGroups = 9;

struct GroupPoints {
    std::array<TablePoint, kTenSeats> ten;
    std::array<TablePoint, kSixSeats> six;
};

// By SeatGroup, in the enum's order.
constexpr std::array<GroupPoints, kGroups> kGroupPoints{{
    // player box
    {{{{447, 11}, {665, 47}, {683, 141}, {668, 366}, {472, 390}, {220, 390}, {10, 357}, {2, 141}, {90, 40}, {263, 12}}},
     {{{498, 7}, {700, 127}, {571, 380}, {138, 380}, {13, 127}, {197, 7}}}},
    // own player box
    {{{{557, 9}, {714, 22}, {707, 130}, {681, 396}, {572, 409}, {180, 400}, {12, 388}, {10, 130}, {53, 14}, {192, 9}}},
     {{{605, 8}, {697, 94}, {636, 368}, {69, 374}, {7, 99}, {98, 11}}}},
    // bet in front
    {{{{451, 124}, {592, 139}, {647, 221}, {627, 290}, {483, 323}, {291, 321}, {153, 296}, {140, 216}, {192, 157}, {272, 124}}},
     {{{480, 135}, {615, 215}, {530, 305}, {227, 305}, {145, 215}, {272, 135}}}},
    // dealer button
    {{{{519, 81}, {647, 138}, {664, 192}, {623, 307}, {541, 323}, {319, 325}, {155, 302}, {119, 170}, {202, 94}, {342, 77}}},
     {{{549, 92}, {659, 232}, {495, 318}, {188, 307}, {115, 236}, {198, 101}}}},
    // turn marker
    {{{{436, 59}, {591, 74}, {657, 151}, {698, 263}, {564, 339}, {349, 349}, {154, 326}, {88, 240}, {108, 138}, {256, 68}}},
     {{{465, 61}, {673, 148}, {616, 325}, {298, 345}, {92, 240}, {180, 84}}}},
    // face-down cards
    {{{{476, 69}, {627, 104}, {692, 191}, {655, 296}, {494, 331}, {282, 333}, {109, 293}, {94, 191}, {165, 101}, {305, 62}}},
     {{{521, 65}, {679, 191}, {544, 324}, {235, 324}, {101, 192}, {259, 65}}}},
    // sit-out mark
    {{{{464, 86}, {587, 110}, {648, 192}, {626, 285}, {476, 324}, {254, 324}, {124, 285}, {99, 195}, {159, 111}, {263, 84}}},
     {{{489, 87}, {625, 192}, {518, 310}, {212, 310}, {115, 202}, {237, 88}}}},
    // face-up cards, each pair beside its box toward the table's centre
    {{{{440, 54}, {589, 68}, {608, 184}, {648, 288}, {442, 312}, {273, 312}, {105, 281}, {97, 182}, {131, 83}, {286, 55}}},
     {{{485, 50}, {624, 158}, {495, 312}, {233, 305}, {108, 164}, {236, 50}}}},
    // action word
    {{{{428, 54}, {589, 90}, {598, 162}, {584, 326}, {445, 350}, {252, 350}, {105, 320}, {105, 164}, {154, 83}, {282, 55}}},
     {{{470, 50}, {615, 150}, {518, 340}, {193, 340}, {108, 153}, {229, 50}}}},
}};

int truncated(double value)
{
    // Out-of-range values (a huge scale) stop at the int range instead of
    // overflowing the conversion.
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (!(value > kLow))
        return std::numeric_limits<int>::min();
    if (!(value < kHigh))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(value));
}

} // namespace

int layoutSeats(int seatCount)
{
    return seatCount == kTenSeats ? kTenSeats : kSixSeats;
}

bool seatOnTable(int seatCount, int seat)
{
    return seat >= 0 && seat < layoutSeats(seatCount);
}

TablePoint seatPoint(SeatGroup group, int seatCount, int seat)
{
    const auto g = static_cast<std::size_t>(group);
    if (g >= kGroupPoints.size() || !seatOnTable(seatCount, seat))
        return {0, 0};
    const GroupPoints& points = kGroupPoints[g];
    const auto s = static_cast<std::size_t>(seat);
    return seatCount == kTenSeats ? points.ten[s] : points.six[s];
}

int scaledX(double nominal, double sx)
{
    return truncated(nominal * sx);
}

int scaledY(double nominal, double sy)
{
    return truncated(nominal * sy);
}

SeatRect seatRect(SeatGroup group, int seatCount, int seat, double sx, double sy)
{
    const TablePoint point = seatPoint(group, seatCount, seat);
    const int x = scaledX(point.x, sx);
    const int y = scaledY(point.y, sy);
    switch (group) {
    case SeatGroup::PlayerBox:
    case SeatGroup::OwnPlayerBox: return {x, y, kPlayerBoxWidth, kPlayerBoxHeight};
    case SeatGroup::Bet: return {x, y - kBetAbove, kBetWidth, kBetAbove + kBetBelow};
    case SeatGroup::DealerButton: return {x, y, kDealerButtonSide, kDealerButtonSide};
    case SeatGroup::TurnMarker: return {x, y, kMarkerSide, kMarkerSide};
    case SeatGroup::FaceDownCards:
        return {x, y, kCardBackWidth + kSecondFaceDownCard.x, kCardBackHeight + kSecondFaceDownCard.y};
    case SeatGroup::SitOut: return {x, y, kSitOutWidth, kSitOutHeight};
    case SeatGroup::FaceUpCards:
        return {x, y, kCardWidth + kSecondFaceUpCard.x, kCardHeight + kSecondFaceUpCard.y};
    case SeatGroup::ActionWord: return {x, y, kInfoBoxWidth, kInfoBoxHeight};
    }
    return {x, y, 0, 0};
}

int playerBoxAt(int x, int y, const TableState& table, double sx, double sy)
{
    const int seats = layoutSeats(table.seatCount);
    for (int seat = 0; seat < seats; ++seat) {
        if (table.seatOccupied[static_cast<std::size_t>(seat)] != 1)
            continue;
        const TablePoint box = seatPoint(SeatGroup::PlayerBox, table.seatCount, seat);
        const int left = scaledX(box.x, sx);
        const int top = scaledY(box.y, sy);
        if (x >= left && x < left + kPlayerBoxWidth && y >= top && y < top + kPlayerBoxHeight)
            return seat;
    }
    return -1;
}

} // namespace tessaly
