#include "client/table/TableAnimation.h"

#include <algorithm>
#include <cstddef>

#include "client/table/SeatLayout.h"
#include "client/table/TableState.h"
#include "platform/SoundPort.h"

namespace tessaly {
namespace {

MovingPoint between(TablePoint from, TablePoint to, double progress)
{
    return {from.x + (to.x - from.x) * progress, from.y + (to.y - from.y) * progress};
}

MovingPoint at(TablePoint point)
{
    return {static_cast<double>(point.x), static_cast<double>(point.y)};
}

// The deal moves a card this frame (or ends this frame): dealing, and the
// seat at dealStep is off the table or still short of two cards.
bool dealMoves(const TableState& table)
{
    if (table.handInProgress != 1 || table.dealing != 1)
        return false;
    if (table.dealStep < 0 || static_cast<std::size_t>(table.dealStep) >= table.dealOrder.size())
        return true;
    const int seat = table.dealOrder[static_cast<std::size_t>(table.dealStep)];
    return !seatOnTable(table.seatCount, seat) || table.holeCardsDrawn[static_cast<std::size_t>(seat)] < 2;
}

// One street of the board: its cards, the x its sliding cards start from and
// the record's words for its slide.
struct Street {
    int first;
    int last;
    int start;
    std::int16_t TableState::*arrived;
    std::size_t offsetWord;
};

constexpr std::array<Street, 3> kStreets{{
    {0, 2, kBoardX[0], &TableState::flopDrawn, 0},
    {3, 3, kBoardX[2], &TableState::turnDrawn, 1},
    {4, 4, kBoardX[3], &TableState::riverDrawn, 2},
}};

bool streetDealt(const TableState& table, const Street& street)
{
    for (int card = street.first; card <= street.last; ++card) {
        if (table.board[static_cast<std::size_t>(card)] != kNoCard)
            return true;
    }
    return false;
}

// A street slides only once the street before it has arrived.
bool streetMayShow(const TableState& table, std::size_t index)
{
    return streetDealt(table, kStreets[index]) && (index == 0 || table.*(kStreets[index - 1].arrived) != 0);
}

bool streetSliding(const TableState& table, std::size_t index)
{
    return streetMayShow(table, index) && table.*(kStreets[index].arrived) == 0;
}

} // namespace

std::optional<MovingPoint> stepDeal(TableState& table, TableAnimation& animation, SoundPort& sound)
{
    if (table.handInProgress != 1 || table.dealing != 1)
        return std::nullopt;
    const auto size = static_cast<std::int32_t>(table.dealOrder.size());
    // Seats the layout does not have get no cards.
    while (table.dealStep >= 0 && table.dealStep < size &&
           !seatOnTable(table.seatCount, table.dealOrder[static_cast<std::size_t>(table.dealStep)]))
        ++table.dealStep;
    if (table.dealStep < 0 || table.dealStep >= size) {
        table.dealing = 0;
        return std::nullopt;
    }
    const int seat = table.dealOrder[static_cast<std::size_t>(table.dealStep)];
    std::int32_t& drawn = table.holeCardsDrawn[static_cast<std::size_t>(seat)];
    if (drawn >= 2)
        return std::nullopt;
    const TablePoint target = seatPoint(SeatGroup::FaceDownCards, table.seatCount, seat);
    animation.dealProgress += kDealProgressPerFrame;
    if (animation.dealProgress < 1.0)
        return between(kDealOrigin, target, animation.dealProgress);
    animation.dealProgress = 0.0;
    ++drawn;
    sound.PlaySoundFile(kCardSlideSound);
    if (++table.dealStep >= size)
        table.dealing = 0;
    return at(target);
}

std::optional<MovingPoint> stepDealerButton(const TableState& table, TableAnimation& animation)
{
    const int dealer = table.dealerSeat;
    if (!seatOnTable(table.seatCount, dealer))
        return std::nullopt;
    // The first button a window draws, or one after a change of layout,
    // appears in place.
    if (!seatOnTable(table.seatCount, animation.buttonSeat)) {
        animation.buttonSeat = dealer;
        animation.buttonGlide = 0.0;
    }
    const TablePoint to = seatPoint(SeatGroup::DealerButton, table.seatCount, dealer);
    if (animation.buttonSeat == dealer)
        return at(to);
    animation.buttonGlide += kButtonGlidePerFrame;
    if (animation.buttonGlide >= 1.0) {
        animation.buttonSeat = dealer;
        animation.buttonGlide = 0.0;
        return at(to);
    }
    return between(seatPoint(SeatGroup::DealerButton, table.seatCount, animation.buttonSeat), to,
                   animation.buttonGlide);
}

std::array<int, 5> stepBoard(TableState& table)
{
    std::array<int, 5> x{kNotDrawn, kNotDrawn, kNotDrawn, kNotDrawn, kNotDrawn};
    for (std::size_t index = 0; index < kStreets.size(); ++index) {
        if (!streetMayShow(table, index))
            break;
        const Street& street = kStreets[index];
        std::int16_t& arrived = table.*(street.arrived);
        std::int32_t& offset = table.boardAnimation[street.offsetWord];
        const long long reached = static_cast<long long>(street.start) + offset;
        for (int card = street.first; card <= street.last; ++card) {
            const auto c = static_cast<std::size_t>(card);
            if (table.board[c] == kNoCard)
                continue;
            // Until it reaches its place a sliding card is drawn a little left
            // of where the slide has got to.
            x[c] = arrived != 0 || reached >= kBoardX[c]
                       ? kBoardX[c]
                       : static_cast<int>(reached - kBoardSlideStart);
        }
        if (arrived == 0) {
            if (reached >= kBoardX[static_cast<std::size_t>(street.last)])
                arrived = 1;
            else
                offset += kBoardSlidePerFrame;
        }
    }
    return x;
}

int stepAnnouncement(TableState& table)
{
    if (table.historyPending != 1)
        return kNotDrawn;
    std::int32_t& alpha = table.actionLabelFade[0];
    const int drawn = std::clamp(alpha, 0, kFadeOpaque);
    alpha = drawn - kFadePerFrame;
    if (alpha < kFadeGone) {
        table.historyPending = 0;
        alpha = kFadeOpaque;
    }
    return drawn;
}

void stepWinners(TableState& table)
{
    for (std::int32_t& frames : table.winnerFrames)
        frames = std::max(frames - 1, 0);
}

double winnerChipsProgress(int framesLeft)
{
    return std::clamp(static_cast<double>(kWinnerFrames - framesLeft) / kWinnerChipFrames, 0.0, 1.0);
}

FrameMotion advanceFrame(TableState& table, TableAnimation& animation, SoundPort& sound)
{
    FrameMotion motion;
    motion.dealtCard = stepDeal(table, animation, sound);
    motion.dealerButton = stepDealerButton(table, animation);
    motion.boardX = stepBoard(table);
    motion.announcementAlpha = stepAnnouncement(table);
    stepWinners(table);
    return motion;
}

bool animating(const TableState& table, const TableAnimation& animation)
{
    if (dealMoves(table) || table.historyPending == 1)
        return true;
    if (std::any_of(table.winnerFrames.begin(), table.winnerFrames.end(), [](std::int32_t f) { return f > 0; }))
        return true;
    if (seatOnTable(table.seatCount, table.dealerSeat) && table.dealerSeat != animation.buttonSeat)
        return true;
    for (std::size_t index = 0; index < kStreets.size(); ++index) {
        if (streetSliding(table, index))
            return true;
    }
    return false;
}

} // namespace tessaly
