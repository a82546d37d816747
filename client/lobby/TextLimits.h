#pragma once
// The lengths the session's fixed buffers allow: the current screen name
// (256 bytes with its end), the login line (255 characters) and the
// registration line (132 bytes with its end). A typed text that would not
// fit is refused before anything is sent, never cut.
//
// Lengths count the bytes as sent, so a non-ASCII character counts as the
// bytes of its encoding.

#include <optional>
#include <string_view>

#include "platform/MessageBoxes.h"

namespace tessaly {

inline constexpr std::size_t kCurrentScreenNameMaxBytes = 255;
inline constexpr std::size_t kLoginLineMaxBytes = 255;
inline constexpr std::size_t kRegistrationLineMaxBytes = 131;

// "LOGIN:\t" name "\t" password "\r": 9 bytes besides the two fields.
inline constexpr std::size_t kLoginFieldsMaxBytes = kLoginLineMaxBytes - 9;
// "REGISTER_PLAYER:\t" name "\t" password "\t" e-mail "\r": 20 bytes besides.
inline constexpr std::size_t kRegistrationFieldsMaxBytes = kRegistrationLineMaxBytes - 20;

inline constexpr const char* kLoginTooLongMessage =
    "Your screen name and password are too long.\rTogether they can have at most 246 characters.";
inline constexpr const char* kLoginTooLongCaption = "Tessaly";
inline constexpr const char* kRegistrationTooLongMessage =
    "Please enter a shorter email!\rScreen name, password and email together can have at most 111 characters.";

bool loginFits(std::string_view name, std::string_view password);
bool registrationFits(std::string_view name, std::string_view password, std::string_view email);

// The login dialog's refusal (caption "Tessaly", stop icon, system modal, as
// its other refusal), or nullopt when the login may be sent.
std::optional<BoxRequest> loginRefusal(std::string_view name, std::string_view password);

} // namespace tessaly
