#include "client/ui/ChipRack.h"

#include <QPainter>

#include "platform/MessageBoxes.h"

namespace tessaly {

void ChipRack::load(MessageBoxes& boxes)
{
    for (int index = 0; index < kChipKinds; ++index) {
        if (chips_[static_cast<size_t>(index)].load(chipFileName(index)) < 0)
            boxes.show({.text = "error on load", .caption = "Tessaly"});
    }
}

const Picture& ChipRack::picture(int index) const
{
    return index < 0 || index >= kChipKinds ? none_ : chips_[static_cast<size_t>(index)];
}

void ChipRack::drawChip(QPainter& painter, int x, int bottomY, int index) const
{
    const Picture& chip = picture(index);
    if (chip.isNull())
        return;
    const Picture& sizing = chips_[0].isNull() ? chip : chips_[0];
    const QRect destination(x, bottomY - sizing.height(), sizing.width(), sizing.height());
    chip.drawKeyed(painter, destination, chip.image().rect(), kChipKey);
}

void DrawChipStack(QPainter& painter, const ChipRack& rack, int x, int y, float amount)
{
    for (const ChipPlace& place : chipStackPlaces(amount))
        rack.drawChip(painter, x + place.column * kColumnStepX, y - place.level * kChipStepY, place.index);
}

} // namespace tessaly
