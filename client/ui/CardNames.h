#pragma once
// The card picture files. Card code = (value - 2) * 4 + suit, value 2 to 14
// (ace 14), suit 0 diamonds, 1 hearts, 2 clubs, 3 spades; code 52 is the back.

#include <string>

#include "client/net/Protocol.h"   // kNoCard

namespace tessaly {

inline constexpr int kCardFaces = 52;
inline constexpr int kCardBack = 52;

// "cards/2d.bmp" ... "cards/as.bmp", "cards/b.bmp" for the back; empty for
// any other code.
std::string cardFileName(int code);

} // namespace tessaly
