#pragma once
// The registration form's own rules, checked again on the server: a client
// that skips them must not get an account the real form could not make.

#include <string_view>

namespace tessaly::house {

// 1 to 16 ASCII letters and digits.
bool validScreenName(std::string_view name);
// 1 to 20 ASCII letters and digits.
bool validPassword(std::string_view password);
// Something "@" label "." label, every dot after the at sign followed by an
// address character; blanks around the address are allowed.
bool validEmail(std::string_view email);
// Names that would pass for the house's own voice in the table chat.
bool reservedScreenName(std::string_view name);

} // namespace tessaly::house
