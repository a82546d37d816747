#include "client/net/MoneyFormat.h"

#include "platform/sys/CLocale.h"

namespace tessaly {

std::string moneyG(float amount) { return formatC("%g", static_cast<double>(amount)); }
std::string moneyFixed2(float amount) { return formatC("%.2f", static_cast<double>(amount)); }

} // namespace tessaly
