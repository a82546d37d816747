#pragma once
// The moving parts of the table picture. Each frame advances the deal of
// the hole cards, the dealer button's glide, the board slides and the fade
// of the action announcement, and says where the moving pieces stand in
// that frame. Progress the table's record keeps (dealStep, dealing,
// holeCardsDrawn, boardAnimation, flopDrawn / turnDrawn / riverDrawn,
// historyPending, actionLabelFade) is advanced in the record; the rest
// belongs to the window and lives in TableAnimation. Free of Qt.

#include <array>
#include <optional>

#include "client/net/Protocol.h"

namespace tessaly {

class SoundPort;
struct TableState;

inline constexpr double kDealProgressPerFrame = 0.181999;   // a card takes six frames
inline constexpr double kButtonGlidePerFrame = 0.07;        // the button moves in 15 frames
inline constexpr int kBoardSlidePerFrame = 6;               // pixels
inline constexpr int kBoardSlideStart = 4;                  // a sliding card starts this far left of its start card
inline constexpr int kFadePerFrame = 15;
inline constexpr int kFadeGone = 10;                        // below this the announcement is cleared
inline constexpr int kFadeOpaque = 255;
inline constexpr const char* kCardSlideSound = "sounds\\card_sliding2.wav";

// The window's own animation state, kept per table window.
struct TableAnimation {
    double dealProgress = 0.0;   // t of the card on its way, 0 to 1
    int buttonSeat = kNoSeat;    // where the dealer button was last drawn at rest
    double buttonGlide = 0.0;    // u of the button's way to the new dealer seat

    bool operator==(const TableAnimation&) const = default;
};

// A position between two nominal points, before scaling.
struct MovingPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const MovingPoint&) const = default;
};

inline constexpr int kNotDrawn = -1;

// What one frame shows of the moving pieces, nominal pixels.
struct FrameMotion {
    std::optional<MovingPoint> dealtCard;       // the face-down card on its way to a seat
    std::optional<MovingPoint> dealerButton;    // the button, at rest or gliding
    std::array<int, 5> boardX{kNotDrawn, kNotDrawn, kNotDrawn, kNotDrawn, kNotDrawn};
    int announcementAlpha = kNotDrawn;          // alpha of the action box this frame

    bool operator==(const FrameMotion&) const = default;
};

// One frame of the deal (only while the hand is in progress and dealing is
// 1): the card of the seat at dealStep moves one step toward the seat's
// face-down point; when it arrives the seat has one more card, the slide
// sound plays and dealStep moves on. A seat that already has two cards
// stops the deal where it is: after two rounds it rests on the third copy
// of the deal order with dealing still 1. Returns where the card is drawn.
std::optional<MovingPoint> stepDeal(TableState& table, TableAnimation& animation, SoundPort& sound);

// One frame of the dealer button: in place when the dealer seat is the one
// last drawn, else one step of its glide from there. No dealer, no button.
std::optional<MovingPoint> stepDealerButton(const TableState& table, TableAnimation& animation);

// One frame of the board: the flop slides out, then the turn (only once the
// flop has arrived), then the river (only once the turn has). The x of each
// board card this frame, kNotDrawn for cards not dealt.
std::array<int, 5> stepBoard(TableState& table);

// One frame of the action announcement's fade: the alpha it is drawn with,
// or kNotDrawn when there is none.
int stepAnnouncement(TableState& table);

// One frame of the winners' highlight: each winner's seat has one frame
// less to show its amount.
void stepWinners(TableState& table);
// How far a winner's chips have come from the main pot to its seat, 0 to 1.
double winnerChipsProgress(int framesLeft);
inline constexpr int kWinnerChipFrames = 18;   // the chips arrive in half a second

// Every step of one frame.
FrameMotion advanceFrame(TableState& table, TableAnimation& animation, SoundPort& sound);

// Something moves: the next frame will differ from this one even when the
// record does not change.
bool animating(const TableState& table, const TableAnimation& animation);

} // namespace tessaly
