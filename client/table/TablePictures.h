#pragma once
// The pictures and fonts one table window draws with, loaded once per
// window: the table background of its layout, the boxes, the face-down
// card, the dealer button, the sit-out mark, the win banner, the turn
// markers of both layouts and the chip pictures.

#include <QFont>
#include <array>

#include "client/table/SeatLayout.h"
#include "client/ui/ChipRack.h"
#include "client/ui/Picture.h"

class QWidget;

namespace tessaly {

class MessageBoxes;

// Transparent colours: card pictures, and everything else drawn with a key.
inline constexpr QRgb kCardKey = 0xF3F316;    // RGB(243, 243, 22)
inline constexpr QRgb kPictureKey = 0xFF00FF; // RGB(255, 0, 255)
inline constexpr int kPlayerBoxAlpha = 125;

struct TablePictures {
    Picture background;
    Picture playerBox;
    Picture actionBox;
    Picture smallCard;
    Picture dealerButton;
    Picture sitOut;
    Picture winBanner;
    Picture toPlayerButton;   // loaded with the others; nothing draws it
    std::array<Picture, kTenSeats> turnMarkers10;
    std::array<Picture, kSixSeats> turnMarkers6;
    ChipRack chips;

    // Loads every picture in the window's order. A table background that
    // does not load is named in a box owned by `owner` ("ERROR LOADING ...")
    // and the table is drawn without it; every chip picture that does not
    // load shows "error on load". The process-wide card set is loaded too
    // (once per process).
    void load(MessageBoxes& boxes, QWidget* owner, int seatCount);

    // The turn marker of a seat of the layout; an empty picture for others.
    const Picture& turnMarker(int seatCount, int seat) const;

private:
    Picture none_;
};

struct TableFonts {
    QFont name;          // "Arial Bold" 9: player names and chip counts
    QFont allIn;         // "Arial Bold" 7: "(ALL-IN)"
    QFont action;        // "Arial Bold" 14: the action word
    QFont money;         // "Verdana Bold" 7: bets, pots and rake
    QFont options;       // "Verdana Bold" 10: the option labels
    QFont handNumbers;   // "Verdana Bold" 12 pixels, underlined

    static TableFonts make();
};

} // namespace tessaly
