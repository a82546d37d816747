#pragma once
// Money as the client writes it on the wire, in the "C" locale.

#include <string>

namespace tessaly {

std::string moneyG(float amount);       // "%g": shortest form, 250 -> "250"
std::string moneyFixed2(float amount);  // "%.2f": two decimals, 0 -> "0.00"

} // namespace tessaly
