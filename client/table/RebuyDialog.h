#pragma once
// The quick re-buy dialog (resource 165): chips added while seated, "on
// start of next hand". It asks for the cashier figures with
// "QUICK_CASHIER:" when it opens, shows "Loading..." for the balance until
// they have arrived and then proposes an amount; OK checks it and sends
// "QUICK_CHIPS:". The close box and Escape close it without sending.
// Modeless, top-level (no parent), destroyed when closed. The table window
// runs rebuyRefusal() (BuyInRules.h) first for "Get More Chips":
//
//     if (auto refusal = rebuyRefusal(table)) boxes.show(*refusal);
//     else (rebuy = new dlgGetMoreChips(state, sender, boxes, tableId, name))->show();

#include <cstddef>
#include <string>

#include "client/table/BuyInRules.h"
#include "client/table/QuickCashierDialog.h"

namespace tessaly {

// The re-buy's word of SessionValues::cashierReplyState.
inline constexpr std::size_t kRebuyFiguresWord = 1;

class dlgGetMoreChips : public QuickCashierDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 400;

    // The seat, the user's chips there, the buy-in range, blinds, stakes and
    // game type are read from the table's record now: the dialog does not
    // watch the table. All three references outlive the dialog.
    dlgGetMoreChips(ClientState& state, LineSender& sender, MessageBoxes& boxes, int tableId,
                    std::string tableName);

    // Once the figures have arrived: the balance, the proposed amount and
    // "Get More Play Money".
    void poll() override;

    // OK: checks the amount against the balance, the room left up to the
    // maximum and the minimum, then sends "QUICK_CHIPS:" and closes.
    void accept() override;

private:
    void fillTableInformation(const std::string& tableName);

    int seat_ = 0;
    float chips_ = 0.0f;
    BuyInLimits limits_;
};

} // namespace tessaly
