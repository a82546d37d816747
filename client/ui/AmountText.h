#pragma once
// The one rule for showing money on controls and labels.

#include <string>

namespace tessaly {

// "%0.2f" when the amount minus its floor is at least 0.01, else "%g":
// 250 -> "250", 12.5 -> "12.50", 10.004 -> "10.004". Always a decimal point.
std::string amountText(float amount);

} // namespace tessaly
