#include "client/table/BuyInRules.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "client/table/PlainNumber.h"
#include "client/table/TableState.h"
#include "client/ui/AmountText.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

constexpr const char* kMessageCaption = "Tessaly Message";
constexpr const char* kShortCaption = "Tessaly";

// Typed amounts have whole cents, but a float sum of two of them can miss
// the cent it should hit; half a cent of slack lets a re-buy that reaches
// the maximum exactly pass.
constexpr double kHalfCent = 0.005;

BoxRequest informationBox(std::string text, const char* caption)
{
    return BoxRequest{std::move(text), caption, BoxIcon::Information};
}

BoxRequest systemModalBox(std::string text, const char* caption)
{
    BoxRequest box{std::move(text), caption};
    box.systemModal = true;
    return box;
}

} // namespace

float leadingAmount(std::string_view text)
{
    const std::string copy(text);
    return static_cast<float>(strtodC(copy.c_str(), nullptr));
}

bool playMoneyRefillOffered(float available, float inAction)
{
    return available + inAction < kPlayMoneyRefillBelow;
}

float buyInDefault(float balance, const BuyInLimits& limits)
{
    if (balance >= limits.maximum)
        return limits.maximum;
    if (balance >= limits.minimum)
        return balance;
    return limits.minimum;
}

std::optional<BoxRequest> buyInRefusal(std::string_view amountText, std::string_view balanceText,
                                       const BuyInLimits& limits)
{
    if (!isPlainNumber(amountText))
        return informationBox("Must be a valid number", kMessageCaption);
    const float amount = leadingAmount(amountText);
    if (amount > leadingAmount(balanceText))
        return systemModalBox("Not enough funds in account", kShortCaption);
    if (amount < limits.minimum)
        return systemModalBox(formatC("Deposit needs to be more then %g", static_cast<double>(limits.minimum)),
                              kMessageCaption);
    if (amount > limits.maximum)
        return systemModalBox(formatC("Deposit needs to be less then %g", static_cast<double>(limits.maximum)),
                              kMessageCaption);
    return std::nullopt;
}

float rebuyDefault(float balance, float chips, const BuyInLimits& limits)
{
    if (balance >= limits.maximum)
        return limits.maximum - chips;
    return std::max(balance, limits.minimum);
}

std::optional<BoxRequest> rebuyAmountRefusal(float amount, float balance, float chips, const BuyInLimits& limits)
{
    if (amount > balance)
        return informationBox("Insuffecient funds in account for that deposit amount", kMessageCaption);
    if (static_cast<double>(amount) + chips > static_cast<double>(limits.maximum) + kHalfCent) {
        // The form follows the maximum's cents, not the room's.
        const double maximum = limits.maximum;
        const double room = limits.maximum - chips;
        std::string text = maximum - std::floor(maximum) >= 0.01
                               ? formatC("Buy-in must be less then or equal to %0.2f", room)
                               : formatC("Buy-in must be less then or equal to %g", room);
        return informationBox(std::move(text), kMessageCaption);
    }
    if (amount < limits.minimum)
        return systemModalBox(formatC("Deposit needs to be more then or equal to [%.2f]",
                                      static_cast<double>(limits.minimum)),
                              kMessageCaption);
    return std::nullopt;
}

float userChips(const TableState& table)
{
    if (table.userSeat < 0 || table.userSeat >= static_cast<int>(table.stack.size()))
        return 0.0f;
    return table.stack[static_cast<std::size_t>(table.userSeat)];
}

std::optional<BoxRequest> rebuyRefusal(const TableState& table)
{
    if (table.userSeatedHere == 0)
        return informationBox("Must be seated to get more chips", kShortCaption);
    if (!(userChips(table) < table.maxBuyIn))
        return informationBox("You can not re-buy. Already have the maximum chips available [" +
                                  amountText(table.maxBuyIn) + "]",
                              kMessageCaption);
    return std::nullopt;
}

} // namespace tessaly
