#pragma once
// Skinned buttons that show only their pictures, as the lobby's and the
// table window's buttons do: per control id its two bitmaps and its tip.

#include <span>

#include "platform/gui/DialogBuilder.h"

namespace tessaly {

struct SkinButtonFace {
    int id;
    int first;    // bitmap resource, keyed with RGB(255, 0, 240)
    int second;   // bitmap resource, keyed with black
    const char* tip;
    const char* name = nullptr;   // the word on the picture, for screen readers
};

// Clears each button's caption and gives it its bitmaps, its tip and its
// accessible name: the word on its picture, else the tip's first line.
void setUpSkinButtons(const ControlMap& controls, std::span<const SkinButtonFace> faces);

} // namespace tessaly
