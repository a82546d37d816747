#include "client/lobby/LoginDialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "client/lobby/RegisterDialog.h"
#include "client/lobby/TextLimits.h"
#include "client/net/ClientMessages.h"
#include "client/ui/SkinControls.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

constexpr int kScreenNameEdit = 1012;
constexpr int kPasswordEdit = 1036;
constexpr int kRememberBox = 1016;
constexpr int kSubmitButton = 1003;
constexpr int kForgotButton = 1005;
constexpr int kRegisterButton = 1006;

const FontSpec kGroupFont{"Verdana", 12};

const DialogTemplate kLoginTemplate{
    .resource = 157,
    .caption = "  Login to Tessaly",
    .width = 174,
    .height = 199,
    .font = {"MS Shell Dlg", 8},
    .controls = {
        {.id = 1048, .kind = ControlKind::GroupBox, .rect = {7, 4, 160, 102}, .text = "Registered Player Login",
         .font = kGroupFont},
        {.kind = ControlKind::Static, .rect = {12, 30, 48, 8}, .text = "ScreenName:", .flags = ctl::AlignRight},
        {.id = kScreenNameEdit, .kind = ControlKind::Edit, .rect = {64, 28, 96, 12}},
        {.kind = ControlKind::Static, .rect = {12, 46, 48, 8}, .text = "Password:", .flags = ctl::AlignRight},
        {.id = kPasswordEdit, .kind = ControlKind::Edit, .rect = {64, 44, 96, 12}, .flags = ctl::Password},
        {.id = kRememberBox, .kind = ControlKind::CheckBox, .rect = {14, 60, 146, 18},
         .text = "Remember My ScreenName and Password", .flags = ctl::MultiLine},
        {.id = kSubmitButton, .kind = ControlKind::PushButton, .rect = {16, 84, 66, 15}, .text = "Submit",
         .flags = ctl::DefaultButton},
        {.id = kForgotButton, .kind = ControlKind::PushButton, .rect = {92, 84, 66, 15}, .text = "Forgot password"},
        {.id = 1049, .kind = ControlKind::GroupBox, .rect = {7, 114, 160, 79}, .text = "New Player Signup",
         .font = kGroupFont},
        {.kind = ControlKind::Static, .rect = {12, 137, 150, 26},
         .text = "Open an Account for free!\rNo Credit Card/Money required!!\r Just Click below!",
         .flags = ctl::AlignCenter},
        {.id = kRegisterButton, .kind = ControlKind::PushButton, .rect = {44, 168, 86, 15},
         .text = "Register Account"},
    }};

const char* const kForgotPasswordMessage =
    "We apologize but while running our beta test, if you can no longer remember your screenname/password, "
    "please register another account.";

} // namespace

dlgLogin::dlgLogin(AccountContext& context, QWidget* parent)
    : DialogWindow(kLoginTemplate, skinDialogBuilder(), parent),
      context_(context),
      poll_(this),
      registration_(new registerDlg(context, this))
{
    // Enter belongs to the dialog as a whole (keyPressEvent), so no button
    // takes it for itself when it has the focus.
    for (QPushButton* push : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        push->setAutoDefault(false);

    connect(button(kSubmitButton), &QPushButton::clicked, this, &dlgLogin::submit);
    connect(button(kForgotButton), &QPushButton::clicked, this, &dlgLogin::showForgotPassword);
    connect(button(kRegisterButton), &QPushButton::clicked, this, &dlgLogin::openRegistration);

    poll_.setObjectName(QStringLiteral("loginPoll"));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &dlgLogin::poll);
    poll_.start();

    fillFromRememberedLogin();
    edit(kScreenNameEdit)->setFocus();
}

void dlgLogin::fillFromRememberedLogin()
{
    const LoginPair pair = context_.remembered.read();
    const bool remembered = !pair.screenName.empty();
    checkBox(kRememberBox)->setChecked(remembered);
    if (remembered) {
        edit(kScreenNameEdit)->setText(QString::fromStdString(pair.screenName));
        edit(kPasswordEdit)->setText(QString::fromStdString(pair.password));
    }
}

void dlgLogin::focusScreenName()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    edit(kScreenNameEdit)->setFocus();
}

void dlgLogin::openRegistration()
{
    focusScreenName();
    if (registrationRunning_)
        return;
    registrationRunning_ = true;
    ++modalRuns_;
    const int result = registration_->exec();
    --modalRuns_;
    registrationRunning_ = false;
    // Accepted by the server: the new account logs in next, with the
    // password the user just chose and types again.
    if (result == QDialog::Accepted) {
        edit(kScreenNameEdit)->setText(registration_->sentScreenName());
        edit(kPasswordEdit)->clear();
        edit(kPasswordEdit)->setFocus();
    }
}

BoxAnswer dlgLogin::showBox(BoxRequest box)
{
    box.owner = this;
    ++modalRuns_;
    const BoxAnswer answer = context_.boxes.show(box);
    --modalRuns_;
    return answer;
}

void dlgLogin::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        submit();
        return;
    }
    DialogWindow::keyPressEvent(event);
}

void dlgLogin::submit()
{
    const std::string name = toUtf8(edit(kScreenNameEdit)->text());
    const std::string password = toUtf8(edit(kPasswordEdit)->text());
    // Texts that would not fit the session's buffers or the login line are
    // refused whole: a cut name or password would log in as someone else.
    if (std::optional<BoxRequest> refusal = loginRefusal(name, password)) {
        showBox(*refusal);
        return;
    }
    context_.state.session.screenName = name;
    if (checkBox(kRememberBox)->isChecked())
        context_.remembered.write({name, password});
    else
        context_.remembered.forget();
    context_.sender.sendLine(loginMessage(name, password));
}

void dlgLogin::showForgotPassword()
{
    showBox({.text = kForgotPasswordMessage, .caption = "Tessaly Message", .icon = BoxIcon::Information});
}

void dlgLogin::poll()
{
    // While a box or the registration form runs modally from here, the
    // dialog stays: destroying it would pull that window, a child of this
    // one, out from under its own event loop. The next tick after it closes
    // does the work.
    if (context_.state.session.loggedIn == 0 || modalRuns_ > 0)
        return;
    poll_.stop();
    hide();
    deleteLater();
}

} // namespace tessaly
