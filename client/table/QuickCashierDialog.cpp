#include "client/table/QuickCashierDialog.h"

#include <QLabel>
#include <QPushButton>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/BuyInRules.h"
#include "client/table/ClientState.h"
#include "client/ui/AmountEdit.h"
#include "client/ui/AmountText.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/AccessibleValues.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

// Columns inside the group boxes, in dialog units.
constexpr int kLabelX = 16;
constexpr int kLabelWidth = 72;
constexpr int kFigureX = 92;
constexpr int kFigureWidth = 96;
constexpr int kRowHeight = 8;

QString withoutColon(std::string_view label)
{
    QString text = toQString(label).trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

} // namespace

ControlTemplate rowLabel(int y, const char* text, unsigned flags)
{
    return {.kind = ControlKind::Static, .rect = {kLabelX, y, kLabelWidth, kRowHeight}, .text = text,
            .flags = flags};
}

ControlTemplate rowFigure(int id, int y, unsigned flags)
{
    return {.id = id, .kind = ControlKind::Static, .rect = {kFigureX, y, kFigureWidth, kRowHeight}, .flags = flags};
}

ControlTemplate rowAmountBox(int id, int y)
{
    return {.id = id, .kind = ControlKind::AmountEdit, .rect = {kFigureX, y - 2, 60, 12}};
}

ControlTemplate groupBox(int id, UnitRect rect, const char* text)
{
    return {.id = id, .kind = ControlKind::GroupBox, .rect = rect, .text = text, .font = FontSpec{"Verdana", 12}};
}

QString amountLabel(float amount) { return QString::fromStdString(amountText(amount)); }

QuickCashierDialog::QuickCashierDialog(const DialogTemplate& dialog, ClientState& state, LineSender& sender,
                                       MessageBoxes& boxes, int tableId, int pollMs, int reloadButton)
    : DialogWindow(dialog, skinDialogBuilder()), state_(state), sender_(sender), boxes_(boxes), tableId_(tableId),
      reloadButton_(reloadButton), poll_(this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    nameControls(dialog);
    for (const ControlTemplate& control : dialog.controls) {
        if (control.kind == ControlKind::AmountEdit)
            amount_ = this->control<AmountEdit>(control.id);
    }
    amount_->setGrouping(false);
    connect(button(reloadButton_), &QPushButton::clicked, this, &QuickCashierDialog::reloadMoney);
    poll_.setObjectName(QStringLiteral("quickCashierPoll"));
    poll_.setInterval(pollMs);
    connect(&poll_, &QTimer::timeout, this, &QuickCashierDialog::poll);
}

void QuickCashierDialog::nameControls(const DialogTemplate& dialog)
{
    std::string_view rowLabelText;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == -1) {
            rowLabelText = control.text;
            continue;
        }
        QWidget* widget = this->control(control.id);
        switch (control.kind) {
        case ControlKind::Static: nameWithCaption(*static_cast<QLabel*>(widget), withoutColon(rowLabelText)); break;
        case ControlKind::AmountEdit: widget->setAccessibleName(QStringLiteral("Amount")); break;
        default: widget->setAccessibleName(toQString(control.text)); break;
        }
    }
    // The labels have no id; each is named by its own text.
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->accessibleName().isEmpty())
            label->setAccessibleName(label->text());
    }
}

void QuickCashierDialog::askForFigures(std::size_t word)
{
    SessionValues& session = state_.session;
    session.cashierReplyState[word] = 1;
    sender_.sendLine(quickCashierMessage(session.screenName));
    poll_.start();
}

void QuickCashierDialog::offerRefill()
{
    const SessionValues& session = state_.session;
    button(reloadButton_)->setEnabled(playMoneyRefillOffered(session.cashierAvailable, session.cashierInAction));
}

std::string QuickCashierDialog::amountBoxText() const
{
    QString text = amount_->text();
    text.replace(amount_->format().decimal, QLatin1Char('.'));
    return toUtf8(text);
}

void QuickCashierDialog::refuse(BoxRequest box)
{
    box.owner = this;
    boxes_.show(box);
}

const TableState& QuickCashierDialog::table() const { return state_.tables.at(static_cast<std::size_t>(tableId_)); }

void QuickCashierDialog::reloadMoney() { sender_.sendLine(reloadMoneyMessage(state_.session.screenName)); }

void QuickCashierDialog::done(int result)
{
    poll_.stop();
    DialogWindow::done(result);
}

} // namespace tessaly
