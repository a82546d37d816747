#include "client/table/BuyInDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "client/table/TableTexts.h"
#include "client/ui/AmountEdit.h"
#include "platform/sys/CLocale.h"
#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

enum Control {
    kGameType = 1081,
    kTableName = 1082,
    kMinimum = 1083,
    kMaximum = 1084,
    kSmallBlind = 1086,
    kBigBlind = 1087,
    kStakes = 1091,
    kBalance = 1045,
    kAmount = 1024,
    kOk = 1002,
    kCancel = 1003,
    kReload = 1004,
    kTableGroup = 1095,
    kAmountGroup = 1096,
};

// The stakes row is hidden; it shares the last visible row's place.
const DialogTemplate kBuyInTemplate{
    .resource = 161,
    .caption = "   Tessaly Buy-In Amount",
    .width = 200,
    .height = 170,
    .controls = {
        groupBox(kTableGroup, {7, 4, 186, 88}, "Table Information"),
        rowLabel(22, "Game Type:"),
        rowFigure(kGameType, 22),
        rowLabel(33, "Table Name:"),
        rowFigure(kTableName, 33),
        rowLabel(44, "Small Blind:"),
        rowFigure(kSmallBlind, 44),
        rowLabel(55, "Big Blind:"),
        rowFigure(kBigBlind, 55),
        rowLabel(66, "Minimum Buy-In:"),
        rowFigure(kMinimum, 66),
        rowLabel(77, "Maximum Buy-In:"),
        rowFigure(kMaximum, 77),
        rowLabel(77, "Stakes:", ctl::Hidden),
        rowFigure(kStakes, 77, ctl::Hidden),
        groupBox(kAmountGroup, {7, 96, 186, 48}, "Buy-In Amount ?"),
        rowLabel(114, "Account Balance:"),
        rowFigure(kBalance, 114),
        rowLabel(128, "Amount:"),
        rowAmountBox(kAmount, 128),
        {.id = kOk, .kind = ControlKind::PushButton, .rect = {7, 150, 44, 14}, .text = "OK",
         .flags = ctl::DefaultButton},
        {.id = kCancel, .kind = ControlKind::PushButton, .rect = {55, 150, 44, 14}, .text = "Cancel"},
        {.id = kReload, .kind = ControlKind::PushButton, .rect = {103, 150, 90, 14}, .text = "Get More Play Money",
         .flags = ctl::Disabled},
    }};

} // namespace

dlgPlayMoneyBuyIn::dlgPlayMoneyBuyIn(ClientState& state, LineSender& sender, MessageBoxes& boxes, int tableId,
                                     std::string tableName)
    : QuickCashierDialog(kBuyInTemplate, state, sender, boxes, tableId, kPollMs, kReload)
{
    // Enter belongs to the dialog as a whole (keyPressEvent), whichever
    // button has the focus.
    for (QPushButton* push : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        push->setAutoDefault(false);
    connect(button(kOk), &QPushButton::clicked, this, &dlgPlayMoneyBuyIn::acceptBuyIn);
    connect(button(kCancel), &QPushButton::clicked, this, &QDialog::reject);

    SessionValues& session = state_.session;
    session.balanceArrived = 0;
    // The second word waits too: left at 0 by an earlier answer, it would
    // replace "Loading..." with old figures on the first tick.
    session.cashierReplyState[kBuyInBalanceWord] = 1;
    trace("TABLE_ID: inplaymoneybuyin INIT DIALOG");
    staticText(kBalance)->setText(QString::fromLatin1(kLoadingText));
    askForFigures(kBuyInFiguresWord);
    fillTableInformation(tableName);
    offerRefill();
    amountBox().setFocus();
}

void dlgPlayMoneyBuyIn::fillTableInformation(const std::string& tableName)
{
    const TableState& record = table();
    limits_ = {record.minBuyIn, record.maxBuyIn};
    staticText(kGameType)->setText(QString::fromLatin1(gameTypeText(record.gameType)));
    staticText(kTableName)->setText(toQString(tableName));
    staticText(kSmallBlind)->setText(amountLabel(record.smallBlind));
    staticText(kBigBlind)->setText(amountLabel(record.bigBlind));
    staticText(kMinimum)->setText(QString::fromStdString(formatC("%g", static_cast<double>(limits_.minimum))));
    staticText(kMaximum)->setText(QString::fromStdString(formatC("%g", static_cast<double>(limits_.maximum))));
    staticText(kStakes)->setText(toQString(record.stakesText));
}

void dlgPlayMoneyBuyIn::setDefaultAmount()
{
    const float balance = leadingAmount(toUtf8(staticText(kBalance)->text()));
    amountBox().setValue(buyInDefault(balance, limits_));
    // Typing replaces the proposal, as in a field the focus has just entered.
    amountBox().selectAll();
    offerRefill();
}

void dlgPlayMoneyBuyIn::poll()
{
    SessionValues& session = state_.session;
    if (session.cashierReplyState[kBuyInFiguresWord] == 0) {
        staticText(kBalance)->setText(
            QString::fromStdString(formatC("%.2f", static_cast<double>(session.cashierAvailable))));
        setDefaultAmount();
        // Waits again, so that a later answer updates the dialog too.
        session.cashierReplyState[kBuyInFiguresWord] = 1;
    }
    if (session.cashierReplyState[kBuyInBalanceWord] == 0) {
        staticText(kBalance)->setText(amountLabel(session.cashierAvailable));
        session.cashierReplyState[kBuyInBalanceWord] = 2;
    }
}

void dlgPlayMoneyBuyIn::acceptBuyIn()
{
    const std::string amount = amountBoxText();
    if (std::optional<BoxRequest> refusal = buyInRefusal(amount, toUtf8(staticText(kBalance)->text()), limits_)) {
        refuse(*refusal);
        return;
    }
    sender_.sendLine(joinGameMessage(state_.session.screenName, tableId(), table().userSeat, leadingAmount(amount)));
    accept();
}

void dlgPlayMoneyBuyIn::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        acceptBuyIn();
        return;
    }
    QuickCashierDialog::keyPressEvent(event);
}

} // namespace tessaly
