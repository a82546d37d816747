#pragma once
// The account and information dialogs the lobby opens. The lobby decides
// when; these make and run them, so tests can replace them.

class QDialog;
class QWidget;

namespace tessaly {

class LobbyDialogs {
public:
    virtual ~LobbyDialogs() = default;
    // A new modeless login dialog without a parent. It deletes itself once
    // the login has been accepted; the lobby holds it in a QPointer.
    virtual QDialog* createLogin() = 0;
    virtual void focusScreenName(QDialog& login) = 0;
    // Runs the registration dialog modally, from the login dialog.
    virtual void runRegistration(QDialog& login) = 0;
    // The modal dialogs, owned by the lobby.
    virtual void runCashier(QWidget* owner) = 0;
    virtual void runSoftwareNotes(QWidget* owner) = 0;
    virtual void runAbout(QWidget* owner) = 0;
};

} // namespace tessaly
