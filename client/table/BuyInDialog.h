#pragma once
// The buy-in dialog (resource 161): the amount to take to the table when the
// user sits down. It asks for the cashier figures with "QUICK_CASHIER:" when
// it opens, shows "Loading..." for the balance until they have arrived, and
// fills them in on its 600 ms timer. OK or Enter checks the amount and sends
// "JOIN_GAME:"; Cancel, Escape and the close box close it without sending.
// Modeless, top-level (no parent), and destroyed when closed; the table
// window keeps it in a QPointer:
//
//     QPointer<dlgPlayMoneyBuyIn> buyIn = new dlgPlayMoneyBuyIn(state, sender, boxes, tableId, name);
//     buyIn->setDefaultAmount();
//     buyIn->show();

#include <cstddef>
#include <string>

#include "client/table/BuyInRules.h"
#include "client/table/QuickCashierDialog.h"

class QKeyEvent;

namespace tessaly {

// The buy-in's two words of SessionValues::cashierReplyState (the cashier
// has word 0 and the re-buy word 1): the first brings the balance in "%.2f"
// and a new default amount, the second the balance by the amount-text rule.
inline constexpr std::size_t kBuyInFiguresWord = 2;
inline constexpr std::size_t kBuyInBalanceWord = 3;

class dlgPlayMoneyBuyIn : public QuickCashierDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 600;

    // The table's buy-in range, blinds, stakes and game type are read from
    // its record now; the seat when the buy-in is sent. All three references
    // outlive the dialog.
    dlgPlayMoneyBuyIn(ClientState& state, LineSender& sender, MessageBoxes& boxes, int tableId,
                      std::string tableName);

    // The amount from the balance shown (the minimum while it reads
    // "Loading..."), and the "Get More Play Money" rule again.
    void setDefaultAmount();

    // Balance in "%.2f" and a new default amount, then the balance by the
    // amount-text rule, each on its own word.
    void poll() override;

protected:
    // Enter anywhere in the dialog accepts, as OK does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillTableInformation(const std::string& tableName);
    void acceptBuyIn();

    BuyInLimits limits_;
};

} // namespace tessaly
