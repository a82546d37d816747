#pragma once
// What the buy-in and re-buy dialogs share. Both are modeless top-level
// dialogs, destroyed when closed, that ask for the cashier figures with
// "QUICK_CASHIER:" when they open and poll for them on a timer, offer
// "Get More Play Money" ("RELOAD_MONEY"), and refuse amounts with boxes
// over themselves. Their templates are rows of labelled figures in group
// boxes, built with the helpers below.

#include <QTimer>
#include <cstddef>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/gui/DialogWindow.h"

class QString;

namespace tessaly {

class AmountEdit;
class LineSender;
struct ClientState;
struct TableState;

inline constexpr const char* kLoadingText = "Loading...";

// One row inside a group box: the label at the left, the figure (or the
// amount box) in the right column.
ControlTemplate rowLabel(int y, const char* text, unsigned flags = 0);
ControlTemplate rowFigure(int id, int y, unsigned flags = 0);
ControlTemplate rowAmountBox(int id, int y);
// Group boxes of both dialogs: "Verdana" 12 points.
ControlTemplate groupBox(int id, UnitRect rect, const char* text);

// Money on a label by the amount-text rule.
QString amountLabel(float amount);

class QuickCashierDialog : public DialogWindow {
    Q_OBJECT
public:
    int tableId() const { return tableId_; }

    // The timer's step: shows the cashier figures once they have arrived.
    // Tests call it directly instead of waiting for the timer.
    virtual void poll() = 0;

protected:
    // Builds the template, names every control for screen readers (buttons
    // and group boxes by caption, the amount box "Amount", a figure by the
    // label of its row) and wires `reloadButton` to "RELOAD_MONEY". All
    // three references outlive the dialog.
    QuickCashierDialog(const DialogTemplate& dialog, ClientState& state, LineSender& sender, MessageBoxes& boxes,
                       int tableId, int pollMs, int reloadButton);

    // Sets the dialog's word of cashierReplyState to 1 (waiting), sends
    // "QUICK_CASHIER:" and starts the timer.
    void askForFigures(std::size_t word);
    // "Get More Play Money" is enabled while the account holds little.
    void offerRefill();
    // The dialog's amount box, grouping off; its text with "." for the
    // decimal character the box uses.
    AmountEdit& amountBox() const { return *amount_; }
    std::string amountBoxText() const;
    // Shows a refusal over the dialog, which stays open with its contents.
    // Callers do nothing after it: the table window may destroy the dialog
    // while the box is up.
    void refuse(BoxRequest box);
    const TableState& table() const;

    void done(int result) override;   // stops the timer; the dialog is then destroyed

    ClientState& state_;
    LineSender& sender_;

private:
    void nameControls(const DialogTemplate& dialog);
    void reloadMoney();

    MessageBoxes& boxes_;
    const int tableId_;
    const int reloadButton_;
    AmountEdit* amount_ = nullptr;
    QTimer poll_;
};

} // namespace tessaly
