#pragma once
// The rules of taking money to a table, apart from any window: the amount
// the buy-in and re-buy dialogs propose, their refusals in the order they
// are checked, when a play-money refill is offered, and whether the
// "Get More Chips" command may open the re-buy dialog at all.
//
// Money is float as everywhere on the client. Each refusal is the box to
// show; nullopt means the amount is accepted. (The game-type text of both
// dialogs is gameTypeText() of client/table/TableTexts.h.)

#include <optional>
#include <string_view>

#include "platform/MessageBoxes.h"

namespace tessaly {

struct TableState;

// The table's buy-in range (minBuyIn, maxBuyIn); the re-buy dialog calls the
// maximum "Max Allowed".
struct BuyInLimits {
    float minimum = 0.0f;
    float maximum = 0.0f;
};

// The number a text starts with, 0 when it starts with none (as "Loading..."
// does): the buy-in dialog reads its balance label and its amount this way.
float leadingAmount(std::string_view text);

// "Get More Play Money" is offered while the account holds less than this,
// available and in play together.
inline constexpr float kPlayMoneyRefillBelow = 2000.0f;
bool playMoneyRefillOffered(float available, float inAction);

// Buy-in: the maximum when the balance reaches it, else the balance when it
// reaches the minimum, else the minimum.
float buyInDefault(float balance, const BuyInLimits& limits);

// Buy-in accepted? `amountText` is the amount box's text with "." as its
// decimal point; `balanceText` is what the balance label shows, read as a
// number ("Loading..." reads 0, so nothing is affordable before the figures
// arrive). Checked in order: a plain number, the balance, the minimum, the
// maximum.
std::optional<BoxRequest> buyInRefusal(std::string_view amountText, std::string_view balanceText,
                                       const BuyInLimits& limits);

// Re-buy: when the balance reaches the maximum, the room left up to it;
// otherwise the larger of the balance and the minimum.
float rebuyDefault(float balance, float chips, const BuyInLimits& limits);

// Re-buy accepted? Checked in order: the balance, the room left up to the
// maximum (which the box names), the minimum.
std::optional<BoxRequest> rebuyAmountRefusal(float amount, float balance, float chips, const BuyInLimits& limits);

// The "Get More Chips" command: refused when the user is not seated at this
// table, or already has the maximum buy-in in chips; nullopt: open the
// re-buy dialog.
std::optional<BoxRequest> rebuyRefusal(const TableState& table);

// The user's chips at the table, 0 when the record's seat is not a seat.
float userChips(const TableState& table);

} // namespace tessaly
