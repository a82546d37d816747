#pragma once
// The lobby's dialogs as the program runs them: the account dialogs, the
// software notes and the about box. The modal ones block the lobby that
// owns them, not the table windows.

#include "client/lobby/AccountContext.h"
#include "client/lobby/LobbyDialogs.h"

namespace tessaly {

class AccountDialogs final : public LobbyDialogs {
public:
    explicit AccountDialogs(AccountContext& context) : context_(context) {}

    QDialog* createLogin() override;
    void focusScreenName(QDialog& login) override;
    void runRegistration(QDialog& login) override;
    void runCashier(QWidget* owner) override;
    void runSoftwareNotes(QWidget* owner) override;
    void runAbout(QWidget* owner) override;

private:
    AccountContext& context_;
};

} // namespace tessaly
