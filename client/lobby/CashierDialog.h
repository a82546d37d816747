#pragma once
// The cashier (resource 172), run modally (exec): the player's screen name,
// e-mail address and play-money balance. Each opening asks the server with
// "QUICK_CASHIER:" and shows "Loading..." until the figures have arrived;
// the 600 ms timer fills them in once per opening. Exit Cashier closes it as
// OK does; Escape and the title bar as Cancel does.

#include <QString>
#include <QTimer>
#include <cstddef>

#include "platform/gui/DialogWindow.h"

class QFontMetrics;

namespace tessaly {

class LineSender;
struct ClientState;

// The word of SessionValues::cashierReplyState that belongs to the cashier.
inline constexpr std::size_t kCashierReplyWord = 0;

// The e-mail address laid out for a label of `width` pixels and two lines:
// whole when it fits, else broken after the "@" when both parts fit, else
// broken where the first line is full, the second line elided at its end.
QString twoLineAddress(const QString& address, const QFontMetrics& metrics, int width);

class dlgCashier : public DialogWindow {
    Q_OBJECT
public:
    static constexpr int kPollMs = 600;

    // Both outlive the dialog.
    dlgCashier(ClientState& state, LineSender& sender, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

private:
    void opening();
    void poll();
    void showEmail(const QString& address);

    ClientState& state_;
    LineSender& sender_;
    QTimer poll_;
};

} // namespace tessaly
