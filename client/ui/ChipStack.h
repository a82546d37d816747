#pragma once
// Money as chips: the 14 denominations with their picture files, the greedy
// split of an amount, and where each chip of a stack stands.

#include <array>
#include <string>
#include <vector>

namespace tessaly {

inline constexpr int kChipKinds = 14;

// Largest first; single precision, as every amount of the client.
inline constexpr std::array<float, kChipKinds> kChipValues{
    100000.0f, 25000.0f, 5000.0f, 1000.0f, 500.0f, 100.0f, 25.0f,
    5.0f,      1.0f,     0.50f,   0.25f,   0.10f,  0.05f, 0.01f,
};

// The picture of denomination `index` ("chips//d100000.gif" ... "chips//c1.gif").
std::string chipFileName(int index);

// The count of every denomination: largest first, after adding 0.001 so an
// amount a hair under a cent still gets its chip (0.009 gives one 0.01).
std::array<int, kChipKinds> splitAmount(float amount);

// Stacks stand in columns of 5 chips, 6 pixels apart in height, columns 24
// pixels apart, largest values at the bottom of the first column.
inline constexpr int kChipsPerColumn = 5;
inline constexpr int kChipStepY = 6;
inline constexpr int kColumnStepX = 24;

struct ChipPlace {
    int index = 0;    // denomination
    int column = 0;
    int level = 0;    // 0 at the bottom
};

// The chips of an amount in drawing order (later ones over earlier ones).
std::vector<ChipPlace> chipStackPlaces(float amount);

} // namespace tessaly
