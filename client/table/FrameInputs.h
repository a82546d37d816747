#pragma once
// Everything a table frame is drawn from: the record's fields that the
// drawing reads and the window's animation state. Two frames with equal
// inputs (at the same size and scale) come out the same, so the second need
// not be drawn.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "client/table/SeatLayout.h"
#include "client/table/TableAnimation.h"
#include "client/table/TableState.h"

namespace tessaly {

struct FrameInputs {
    PerSeat<std::int32_t> holeCardsDrawn{};
    std::int32_t dealStep = 0;
    std::int32_t dealing = 0;
    std::vector<std::int32_t> dealOrder;
    std::string thisHandText;
    std::string lastHandText;
    std::int32_t userWon = 0;
    std::int32_t historyPending = 0;
    std::int32_t historySeat = 0;
    std::int32_t historyKind = 0;
    std::int32_t fade = 0;
    PerSeat<std::int32_t> allIn{};
    std::array<std::int32_t, 3> boardAnimation{};
    std::int32_t dealerSeat = 0;
    std::int32_t markerSeat = 0;   // actingSeat while the marker blinks on, else kNoSeat
    std::int16_t flopDrawn = 0;
    std::int16_t turnDrawn = 0;
    std::int16_t riverDrawn = 0;
    float rake = 0.0f;
    std::int32_t seatCount = 0;
    std::array<std::int32_t, 5> board{};
    std::array<float, kDrawnPots> pots{};
    std::int32_t handInProgress = 0;
    std::int32_t userSeatedHere = 0;
    PerSeat<std::int32_t> seatOccupied{};
    PerSeat<float> stack{};
    PerSeat<FixedText<256>> playerName{};
    PerSeat<float> inFront{};
    PerSeat<std::int32_t> seatState{};
    PerSeat<std::int16_t> ownCardsLive{};
    std::array<std::int16_t, 2> ownCards{};
    PerSeat<std::int16_t> cardsShown{};
    PerSeat<std::int16_t> ownCardSeat{};
    PerSeat<std::array<std::int16_t, 2>> shownCards{};
    TableAnimation animation;

    bool operator==(const FrameInputs&) const = default;
};

FrameInputs frameInputs(const TableState& table, const TableAnimation& animation);

} // namespace tessaly
