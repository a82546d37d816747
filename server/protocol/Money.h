#pragma once
// Money on the wire: decimal text with a point, whatever the locale, in a
// form the client's lenient reader takes ("12", "12.50", "0.05").

#include "server/poker/Chips.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaly::house {

std::string moneyText(Chips cents);

// A client amount ("%g" or "%.2f" text): digits, an optional point and
// decimals, an optional exponent. Rounded to whole cents; nullopt for text
// that is not a finite, non-negative amount of at most a billion.
std::optional<Chips> parseMoney(std::string_view text);

// A decimal integer field in full ("-1", "12"); nullopt otherwise.
std::optional<long> parseInteger(std::string_view text);

} // namespace tessaly::house
