#include "client/lobby/RegisterDialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "client/lobby/RegistrationRules.h"
#include "client/net/ClientMessages.h"
#include "client/ui/SkinControls.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

constexpr int kScreenNameEdit = 1037;
constexpr int kPasswordEdit = 1038;
constexpr int kVerifyEdit = 1042;
constexpr int kEmailEdit = 1043;
constexpr int kSignupCodeEdit = 1044;
constexpr int kAgeBox = 1016;
constexpr int kSubmitButton = 1002;
constexpr int kCancelButton = 1003;

ControlTemplate label(int y, const char* text)
{
    return {.kind = ControlKind::Static, .rect = {12, y + 2, 48, 8}, .text = text, .flags = ctl::AlignRight};
}

ControlTemplate field(int id, int y, unsigned flags = 0, int maxLength = 0)
{
    return {.id = id, .kind = ControlKind::Edit, .rect = {64, y, 92, 12}, .flags = flags, .maxLength = maxLength};
}

const DialogTemplate kRegisterTemplate{
    .resource = 158,
    .caption = " New Player Registration",
    .width = 169,
    .height = 175,
    .font = {"Arial", 8},
    .controls = {
        {.kind = ControlKind::Static, .rect = {8, 5, 153, 17},
         .text = "Fill out the information below and begin playing immediately!", .flags = ctl::AlignCenter},
        {.id = 1050, .kind = ControlKind::GroupBox, .rect = {6, 23, 157, 128}, .text = "Register Account",
         .font = FontSpec{"Verdana", 12}},
        label(42, "ScreenName:"),
        field(kScreenNameEdit, 42, 0, static_cast<int>(kScreenNameMaxLength)),
        label(58, "Password:"),
        field(kPasswordEdit, 58, ctl::Password),
        label(74, "Verify Pw:"),
        field(kVerifyEdit, 74, ctl::Password),
        label(90, "E-Mail:"),
        field(kEmailEdit, 90),
        label(106, "Signup Code*:"),
        field(kSignupCodeEdit, 106),
        {.id = kAgeBox, .kind = ControlKind::CheckBox, .rect = {14, 123, 144, 22},
         .text = "I am at least 18 years old and agree to all Tessaly Policies.", .flags = ctl::MultiLine},
        {.kind = ControlKind::Static, .rect = {8, 159, 50, 8}, .text = "* Optional"},
        {.id = kSubmitButton, .kind = ControlKind::PushButton, .rect = {61, 155, 48, 15}, .text = "Submit"},
        {.id = kCancelButton, .kind = ControlKind::PushButton, .rect = {114, 155, 48, 15}, .text = "Cancel"},
    }};

} // namespace

registerDlg::registerDlg(AccountContext& context, QWidget* parent)
    : DialogWindow(kRegisterTemplate, skinDialogBuilder(), parent), context_(context), poll_(this)
{
    // No button takes Enter for itself: in this form Enter does nothing.
    for (QPushButton* push : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        push->setAutoDefault(false);

    connect(button(kSubmitButton), &QPushButton::clicked, this, &registerDlg::submit);
    connect(button(kCancelButton), &QPushButton::clicked, this, &QDialog::reject);

    poll_.setObjectName(QStringLiteral("registrationPoll"));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &registerDlg::poll);
}

void registerDlg::setVisible(bool visible)
{
    if (visible && !isVisible())
        opening();
    DialogWindow::setVisible(visible);
    if (!visible)
        poll_.stop();
}

void registerDlg::opening()
{
    for (int id : {kScreenNameEdit, kPasswordEdit, kVerifyEdit, kEmailEdit, kSignupCodeEdit})
        edit(id)->clear();
    checkBox(kAgeBox)->setChecked(false);
    // An acceptance left over from an earlier opening (the form was closed
    // before its timer saw it) must not close this new form at once.
    context_.state.session.registrationDone = 0;
    poll_.start();
    edit(kScreenNameEdit)->setFocus();
}

void registerDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    DialogWindow::keyPressEvent(event);
}

void registerDlg::submit()
{
    // "Verify Pw:", the signup code and the age box are neither checked nor sent.
    const std::string name = toUtf8(edit(kScreenNameEdit)->text());
    const std::string password = toUtf8(edit(kPasswordEdit)->text());
    const std::string email = toUtf8(edit(kEmailEdit)->text());
    const std::vector<BoxRequest> refusals = registrationRefusals(name, password, email);
    for (BoxRequest box : refusals) {
        box.owner = this;
        context_.boxes.show(box);
    }
    if (refusals.empty()) {
        sentScreenName_ = edit(kScreenNameEdit)->text();
        context_.sender.sendLine(registerPlayerMessage(name, password, email));
    }
}

void registerDlg::poll()
{
    if (context_.state.session.registrationDone == 0)
        return;
    context_.state.session.registrationDone = 0;
    accept();
}

} // namespace tessaly
