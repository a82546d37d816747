#pragma once
// The registration form (resource 158), run modally (exec) from the login
// dialog. Submit checks the screen name, the password and the e-mail address
// and sends "REGISTER_PLAYER:" only when all three pass; each failed rule
// shows its box, in that order. The form closes by itself when the server's
// acceptance has arrived. Enter does nothing; Cancel, Escape and the title
// bar close it.
//
// Every opening starts from an empty form, as a dialog made anew from its
// resource would, so one object can be run again and again.

#include <QTimer>

#include "client/lobby/AccountContext.h"
#include "platform/gui/DialogWindow.h"

class QKeyEvent;

namespace tessaly {

class registerDlg : public DialogWindow {
    Q_OBJECT
public:
    // How often the open form looks at the registration-success flag.
    static constexpr int kPollMs = 500;

    explicit registerDlg(AccountContext& context, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

    // The screen name of the last registration sent: the one the server's
    // acceptance is for.
    const QString& sentScreenName() const { return sentScreenName_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void opening();
    void submit();
    void poll();

    AccountContext& context_;
    QTimer poll_;
    QString sentScreenName_;
};

} // namespace tessaly
