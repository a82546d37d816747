#include "client/table/TablePictures.h"

#include <string>

#include "client/ui/CardImages.h"
#include "platform/MessageBoxes.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
void TablePictures::load(MessageBoxes& boxes, QWidget* owner, int seatCount)
{
    sitOut.load("images/sitout.png");
    winBanner.load("images/congratsbanner.png");
    dealerButton.load("images/dealerButton.png");
    const bool sixSeats = seatCount == kSixSeats;
    if (background.load(sixSeats ? "images/sixseattablePlayMoney.jpg" : "images/PokerCover.jpg") != Picture::kLoaded) {
        BoxRequest box{sixSeats ? "ERROR LOADING sixseattablePlayMoney.JPG" : "ERROR LOADING POKERCOVER.JPG", ""};
        box.owner = owner;
        boxes.show(box);
    }
    playerBox.load("images/userInfoBox.bmp");
    actionBox.load("images/actionInfoBox.bmp");
    smallCard.load("images/smallcard1.bmp");
    toPlayerButton.load("images/toplayerButton.bmp");
    for (int seat = 0; seat < kTenSeats; ++seat)
        turnMarkers10[static_cast<std::size_t>(seat)].load("images//tobutton" + std::to_string(seat) + ".png");
    for (int seat = 0; seat < kSixSeats; ++seat)
        turnMarkers6[static_cast<std::size_t>(seat)].load("images//6S_tobutton" + std::to_string(seat) + ".png");
    chips.load(boxes);
    LoadCardImages(boxes);
}

const Picture& TablePictures::turnMarker(int seatCount, int seat) const
{
    if (!seatOnTable(seatCount, seat))
        return none_;
    const auto s = static_cast<std::size_t>(seat);
    return seatCount == kTenSeats ? turnMarkers10[s] : turnMarkers6[s];
}

TableFonts TableFonts::make()
{
    constexpr int kBold = 700;
    return {
        .name = pointFont("Arial Bold", 9, kBold),
        .allIn = pointFont("Arial Bold", 7, kBold),
        .action = pointFont("Arial Bold", 14, kBold),
        .money = pointFont("Verdana Bold", 7, kBold),
        .options = pointFont("Verdana Bold", 10, kBold),
        .handNumbers = pixelFont("Verdana Bold", 12, kBold, true),
    };
}

} // namespace tessaly
