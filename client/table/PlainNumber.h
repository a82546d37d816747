#pragma once
// The plain-number check that every typed money amount passes before it is
// read: optional leading blanks, digits with at most one decimal point and at
// least one digit, optional trailing blanks, nothing else. No sign, no
// exponent, and only "." as the decimal point, whatever the user's locale.

#include <optional>
#include <string_view>

namespace tessaly {

// "5", "5.", ".5", " 5 " pass; "", ".", "5a", "-5", "+5", "1e3", "5,0",
// "1.2.3" and "5 5" do not. Blanks are spaces and tabs.
bool isPlainNumber(std::string_view text);
// The plain number's value; nullopt when the text is not one.
std::optional<double> plainNumber(std::string_view text);

} // namespace tessaly
