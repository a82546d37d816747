#include "client/table/BetPresets.h"

#include <algorithm>
#include <cmath>

#include "client/table/BettingRules.h"

namespace tessaly {

const char* betPresetLabel(BetPreset preset)
{
    switch (preset) {
    case BetPreset::HalfPot: return "\u00bd Pot";
    case BetPreset::ThreeQuarterPot: return "\u00be Pot";
    case BetPreset::Pot: return "Pot";
    case BetPreset::Max: return "Max";
    }
    return "";
}

bool betPresetsShown(const TableState& table)
{
    return !isFixedLimit(table.gameType) &&
           (table.promptKind == kPromptCheckOrBet || table.promptKind == kPromptCallOrRaise);
}

float potTotal(const TableState& table)
{
    float total = 0.0f;
    for (float pot : table.pots)
        total += pot;
    for (float bet : table.inFront)
        total += bet;
    return total;
}

float largestRaiseTo(const TableState& table)
{
    const float everything = userStack(table) + userInFront(table);
    if (table.gameType != kGamePotLimit)
        return everything;
    const float afterCall = userInFront(table) + table.callAmount;
    return std::min(everything, afterCall + potTotal(table) + table.callAmount);
}

namespace {

float centsOf(double amount) { return static_cast<float>(std::floor(amount * 100.0 + 0.5) / 100.0); }

double potFraction(BetPreset preset)
{
    switch (preset) {
    case BetPreset::HalfPot: return 0.5;
    case BetPreset::ThreeQuarterPot: return 0.75;
    case BetPreset::Pot:
    case BetPreset::Max: return 1.0;
    }
    return 1.0;
}

} // namespace

float betPresetAmount(BetPreset preset, const TableState& table)
{
    const float top = largestRaiseTo(table);
    if (preset == BetPreset::Max)
        return top;
    const double afterCall = static_cast<double>(userInFront(table)) + table.callAmount;
    const double wanted = afterCall + potFraction(preset) * (static_cast<double>(potTotal(table)) + table.callAmount);
    // Short stacks: the minimum can lie above everything the user has.
    return std::clamp(centsOf(wanted), std::min(table.minRaiseTo, top), top);
}

float roundedToStep(float amount, float step, float min, float top)
{
    if (!(step > 0.0f))
        return amount;
    const double steps = std::floor(static_cast<double>(amount) / step + 0.5);
    float rounded = centsOf(steps * step);
    if (rounded < min)
        rounded = centsOf((steps + 1.0) * step);
    if (rounded > top)
        rounded = centsOf((steps - 1.0) * step);
    return std::clamp(rounded, min, std::max(min, top));
}

} // namespace tessaly
