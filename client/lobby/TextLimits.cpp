#include "client/lobby/TextLimits.h"

namespace tessaly {

static_assert(kLoginFieldsMaxBytes == 246 && kRegistrationFieldsMaxBytes == 111,
              "the messages name these numbers");

bool loginFits(std::string_view name, std::string_view password)
{
    return name.size() <= kCurrentScreenNameMaxBytes && name.size() + password.size() <= kLoginFieldsMaxBytes;
}

bool registrationFits(std::string_view name, std::string_view password, std::string_view email)
{
    return name.size() + password.size() + email.size() <= kRegistrationFieldsMaxBytes;
}

std::optional<BoxRequest> loginRefusal(std::string_view name, std::string_view password)
{
    if (loginFits(name, password))
        return std::nullopt;
    BoxRequest box{kLoginTooLongMessage, kLoginTooLongCaption, BoxIcon::Stop};
    box.systemModal = true;
    return box;
}

} // namespace tessaly
