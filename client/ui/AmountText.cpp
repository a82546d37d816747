#include "client/ui/AmountText.h"

#include <cmath>

#include "platform/sys/CLocale.h"

namespace tessaly {

std::string amountText(float amount)
{
    const double value = amount;
    if (value - std::floor(value) >= 0.01)
        return formatC("%0.2f", value);
    return formatC("%g", value);
}

} // namespace tessaly
