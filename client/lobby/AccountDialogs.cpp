#include "client/lobby/AccountDialogs.h"

#include "client/lobby/AboutDialog.h"
#include "client/lobby/CashierDialog.h"
#include "client/lobby/LoginDialog.h"
#include "client/lobby/SoftwareNotesDialog.h"

namespace tessaly {
namespace {

void runOwnedBy(QDialog& dialog, QWidget* owner)
{
    if (owner != nullptr)
        dialog.setWindowModality(Qt::WindowModal);
    dialog.exec();
}

} // namespace

QDialog* AccountDialogs::createLogin()
{
    return new dlgLogin(context_);
}

void AccountDialogs::focusScreenName(QDialog& login)
{
    if (auto* dialog = qobject_cast<dlgLogin*>(&login))
        dialog->focusScreenName();
}

void AccountDialogs::runRegistration(QDialog& login)
{
    if (auto* dialog = qobject_cast<dlgLogin*>(&login))
        dialog->openRegistration();
}

void AccountDialogs::runCashier(QWidget* owner)
{
    dlgCashier cashier(context_.state, context_.sender, owner);
    runOwnedBy(cashier, owner);
}

void AccountDialogs::runSoftwareNotes(QWidget* owner)
{
    softwareNotesDlg notes(owner);
    runOwnedBy(notes, owner);
}

void AccountDialogs::runAbout(QWidget* owner)
{
    dlgAbout about(context_.state, owner);
    runOwnedBy(about, owner);
}

} // namespace tessaly
