#pragma once
// The 14 chip pictures of one table window, and amounts drawn as stacks.

#include <array>

#include "client/ui/ChipStack.h"
#include "client/ui/Picture.h"

class QPainter;

namespace tessaly {

class MessageBoxes;

inline constexpr QRgb kChipKey = 0xFF00FF;   // magenta stays transparent

class ChipRack {
public:
    // Loads the 14 files largest first; every file that fails shows
    // "error on load" (caption "Tessaly") and loading goes on.
    void load(MessageBoxes& boxes);

    // Denomination 0 to 13; any other index gives an empty picture.
    const Picture& picture(int index) const;

    // One chip with its bottom edge on `bottomY`. Every chip is drawn at the
    // size of the largest denomination's picture (at its own size when that
    // one did not load); a chip whose picture did not load draws nothing.
    void drawChip(QPainter& painter, int x, int bottomY, int index) const;

private:
    std::array<Picture, kChipKinds> chips_;
    Picture none_;
};

// Draws the chips of the amount with the lowest chip resting on y and the
// first column starting at x. Below 0.009 nothing is drawn.
void DrawChipStack(QPainter& painter, const ChipRack& rack, int x, int y, float amount);

} // namespace tessaly
