#include "client/table/SeatButtons.h"

#include <QAbstractButton>

#include "client/table/SeatLayout.h"
#include "client/table/TableState.h"
#include "client/ui/SkinButton.h"

namespace tessaly {
namespace {

constexpr QRgb kSeatKey = qRgb(255, 222, 240);
constexpr const char* kSeatTip = "Click here to play on this table !";

struct Layout {
    int seatCount;
    int firstId;
};
constexpr Layout kLayouts[] = {{10, SeatButtons::kFirstTenSeatId}, {6, SeatButtons::kFirstSixSeatId}};

} // namespace

std::vector<ControlTemplate> SeatButtons::controls()
{
    std::vector<ControlTemplate> buttons;
    for (const Layout& layout : kLayouts) {
        for (int seat = 0; seat < layout.seatCount; ++seat)
            buttons.push_back({.id = layout.firstId + seat, .kind = ControlKind::SkinButton, .rect = {0, 0, 57, 25},
                               .flags = ctl::Hidden});
    }
    return buttons;
}

SeatButtons::SeatButtons(const ControlMap& controls, ScreenScale scale, QObject* parent) : QObject(parent)
{
    for (const Layout& layout : kLayouts) {
        for (int seat = 0; seat < layout.seatCount; ++seat) {
            auto* button = controls.control<SkinButton>(layout.firstId + seat);
            button->setBitmaps(1002, kSeatKey, 0, 0);
            button->sizeToContent();
            button->setTooltipText(QString::fromLatin1(kSeatTip));
            button->setText(QString());
            button->setAccessibleName(QStringLiteral("Seat %1").arg(seat + 1));
            button->setAccessibleDescription(QString::fromLatin1(kSeatTip));
            // Centred on the seat's player box, which is drawn at its picture's size.
            const TablePoint box = seatPoint(SeatGroup::PlayerBox, layout.seatCount, seat);
            button->move(scaledX(box.x, scale.x) + (kPlayerBoxWidth - button->width()) / 2,
                         scaledY(box.y, scale.y) + (kPlayerBoxHeight - button->height()) / 2);
            connect(button, &QAbstractButton::clicked, this, [this, seat] { emit seatClicked(seat); });
            seats_.push_back({button, layout.seatCount, seat});
        }
    }
}

void SeatButtons::frameStep(const TableState& table)
{
    const int layout = layoutSeats(table.seatCount);
    for (const Seat& s : seats_) {
        const bool show = table.userSeatedHere != 1 && s.seatCount == layout &&
                          table.seatOccupied[static_cast<std::size_t>(s.seat)] == 0;
        if (s.button->isHidden() == show)
            s.button->setVisible(show);
    }
}

} // namespace tessaly
