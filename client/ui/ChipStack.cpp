#include "client/ui/ChipStack.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

// Far beyond any window's width; a nonsense amount must not stall a frame.
constexpr int kMostChipsDrawn = 1000;

} // namespace

std::string chipFileName(int index)
{
    if (index < 0 || index >= kChipKinds)
        return {};
    const float value = kChipValues[static_cast<size_t>(index)];
    if (value >= 1.0f)
        return formatC("chips//d%d.gif", static_cast<int>(value));
    return formatC("chips//c%d.gif", static_cast<int>(std::lround(value * 100.0f)));
}

std::array<int, kChipKinds> splitAmount(float amount)
{
    std::array<int, kChipKinds> counts{};
    float rest = amount + 0.001f;
    if (!std::isfinite(rest))
        return counts;
    for (size_t i = 0; i < counts.size(); ++i) {
        // Clamped before the conversion: a float beyond int is undefined.
        const float quotient = std::clamp(rest / kChipValues[i], 0.0f, 1.0e9f);
        counts[i] = static_cast<int>(quotient);
        rest = rest - static_cast<float>(counts[i]) * kChipValues[i];
    }
    return counts;
}

std::vector<ChipPlace> chipStackPlaces(float amount)
{
    std::vector<ChipPlace> places;
    const std::array<int, kChipKinds> counts = splitAmount(amount);
    int column = 0;
    int level = 0;
    for (int index = 0; index < kChipKinds; ++index) {
        for (int n = 0; n < counts[static_cast<size_t>(index)]; ++n) {
            if (static_cast<int>(places.size()) == kMostChipsDrawn)
                return places;
            places.push_back({index, column, level});
            if (++level == kChipsPerColumn) {
                level = 0;
                ++column;
            }
        }
    }
    return places;
}

} // namespace tessaly
