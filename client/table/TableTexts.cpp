#include "client/table/TableTexts.h"

#include <cmath>
#include <limits>

#include "client/net/Protocol.h"
#include "platform/sys/CLocale.h"

namespace tessaly {

std::string chipCountText(float amount)
{
    const double value = amount;
    if (value - std::floor(value) >= 0.005)
        return formatC("%0.2f", value);
    // Beyond the int range (or not a number) "%i" has no value to print; the
    // whole amount is shown instead.
    const double whole = std::trunc(value);
    if (!(whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()))
        return formatC("%.0f", whole);
    return formatC("%i", static_cast<int>(whole));
}

std::string_view actionWord(int historyKind)
{
    switch (historyKind) {
    case kHistoryCall:
        return "Call";
    case kHistoryFold:
        return "Fold";
    case kHistoryRaise:
        return "Raise";
    case kHistoryCheck:
        return "Check";
    default:
        return {};
    }
}

const char* gameTypeText(int code)
{
    switch (code) {
    case kGameNoLimit:
        return "No Limit";
    case kGamePotLimit:
        return "Pot Limit";
    default:
        return "Fixed Limit";
    }
}

} // namespace tessaly
