#pragma once
// The pot-size presets beside the raise slider ("½ Pot", "¾ Pot", "Pot",
// "Max") and the slider's small-blind steps, apart from any widget. A
// preset only fills the amount box: the user still presses the button.

#include <array>
#include <optional>

#include "client/table/TableState.h"

namespace tessaly {

enum class BetPreset { HalfPot, ThreeQuarterPot, Pot, Max };

inline constexpr std::array<BetPreset, 4> kBetPresets{BetPreset::HalfPot, BetPreset::ThreeQuarterPot, BetPreset::Pot,
                                                     BetPreset::Max};

// "½ Pot", "¾ Pot", "Pot", "Max" (UTF-8).
const char* betPresetLabel(BetPreset preset);

// The presets show with the slider in no-limit and pot-limit games, never in
// fixed-limit ones.
bool betPresetsShown(const TableState& table);

// Everything in the middle: the pots already gathered and every bet in
// front of a seat.
float potTotal(const TableState& table);

// The largest raise-to total the user may send: everything the user has,
// and in pot limit no more than the pot after the call.
float largestRaiseTo(const TableState& table);

// The raise-to total of a preset for the pending prompt, within the
// prompt's minimum and largestRaiseTo, in cents: a fraction of the pot after
// the call, added to the amount the user would have in front after calling.
float betPresetAmount(BetPreset preset, const TableState& table);

// A slider amount rounded to the nearest multiple of `step`, kept within
// [min, top]; no rounding when step is not positive.
float roundedToStep(float amount, float step, float min, float top);

} // namespace tessaly
