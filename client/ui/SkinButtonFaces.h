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
};

// Clears each button's caption and gives it its bitmaps and its tip.
void setUpSkinButtons(const ControlMap& controls, std::span<const SkinButtonFace> faces);

} // namespace tessaly
