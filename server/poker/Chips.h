#pragma once
// Play money is counted in whole cents, so pots split and conserve exactly.

#include <cstdint>

namespace tessaly::house {

using Chips = std::int64_t;

constexpr Chips kChipsPerUnit = 100;

} // namespace tessaly::house
