#pragma once
// The login dialog (resource 157): a modeless window that sends "LOGIN:",
// remembers or forgets the screen name and password, and runs the
// registration form. The lobby creates it logged out and keeps it in a
// QPointer: closing it with the title bar (or Escape) only hides it, and once
// the login is accepted its timer destroys it (deleteLater), so the pointer
// goes null and a later command creates a new one.
//
//     QPointer<dlgLogin> login = new dlgLogin(context);
//     login->focusScreenName();       // Login, Cashier: shown, in front, focus on the name
//     login->openRegistration();      // Signup: the same, then the registration form, modally

#include <QTimer>

#include "client/lobby/AccountContext.h"
#include "platform/gui/DialogWindow.h"

class QKeyEvent;

namespace tessaly {

class registerDlg;

class dlgLogin : public DialogWindow {
    Q_OBJECT
public:
    // How often the dialog looks at the logged-in flag.
    static constexpr int kPollMs = 150;

    // The context outlives the dialog. Without a parent the dialog is a
    // window of its own on the desktop, as every modeless dialog here.
    explicit dlgLogin(AccountContext& context, QWidget* parent = nullptr);

    void focusScreenName();
    void openRegistration();

protected:
    // Enter anywhere in the dialog submits, whichever control has the focus.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A box or the registration form, run modally from a handler of this
    // dialog; the dialog is not destroyed while one runs.
    BoxAnswer showBox(BoxRequest box);
    void fillFromRememberedLogin();
    void submit();
    void showForgotPassword();
    void poll();

    AccountContext& context_;
    QTimer poll_;
    registerDlg* registration_;   // a child: lives as long as this dialog
    int modalRuns_ = 0;
    bool registrationRunning_ = false;
};

} // namespace tessaly
