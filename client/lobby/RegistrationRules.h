#pragma once
// What the registration form accepts, and the boxes it shows for what it
// refuses, in the order the form shows them.

#include <string_view>
#include <vector>

#include "platform/MessageBoxes.h"

namespace tessaly {

inline constexpr std::size_t kScreenNameMaxLength = 16;
inline constexpr std::size_t kPasswordMaxLength = 20;

inline constexpr const char* kRegistrationCaption = "Tessaly message";
inline constexpr const char* kBadScreenNameMessage = "Please enter a valid screen-name\rCan only contain digits and letters.";
inline constexpr const char* kBadPasswordMessage = "Please enter a password\rCan only contain digits and letters.";
inline constexpr const char* kBadEmailMessage = "Please enter a valid email!\rMust include the @ and the domain name.";

// 1 to 16 characters, each an ASCII letter or digit.
bool isValidScreenName(std::string_view name);
// 1 to 20 characters, each an ASCII letter or digit.
bool isValidPassword(std::string_view password);

// The form's e-mail rule. Address characters are all but the end of text,
// "@", ".", white space, "]" and "\". After optional leading white space:
// address characters and dots (possibly none), "@", a label of address
// characters, ".", then address characters where every dot is followed by
// an address character, then only white space. So the domain has a dot and
// no empty label; the part before "@" may be empty or hold any dots.
bool isValidEmail(std::string_view email);

// One box per failed rule (screen name, password, e-mail, in that order);
// when all three pass, the box for a registration line that would not fit.
// Empty: the registration may be sent.
std::vector<BoxRequest> registrationRefusals(std::string_view name, std::string_view password,
                                             std::string_view email);

// The form's box style: caption "Tessaly message", system modal, no icon.
BoxRequest registrationBox(const char* text);

} // namespace tessaly
