#include "client/table/RebuyDialog.h"

#include <QLabel>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "client/table/TableTexts.h"
#include "client/ui/AmountEdit.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

enum Control {
    kOk = 1,
    kReload = 1002,
    kSmallBlind = 1086,
    kBigBlind = 1087,
    kBalance = 1088,
    kAmount = 1089,
    kTableName = 1090,
    kStakes = 1091,
    kMinimum = 1092,
    kGameType = 1093,
    kMaximum = 1094,
    kTableGroup = 1097,
    kMyGroup = 1098,
};

const DialogTemplate kRebuyTemplate{
    .resource = 165,
    .caption = "    Tessaly Quick Rebuy",
    .width = 200,
    .height = 204,
    .controls = {
        {.kind = ControlKind::Static, .rect = {7, 6, 186, 10}, .text = "- Tessaly Quick Rebuy -",
         .flags = ctl::AlignCenter, .font = FontSpec{"Verdana", 10, 700}},
        {.kind = ControlKind::Static, .rect = {7, 18, 186, 8}, .text = "Re-deposit added on start of next hand.",
         .flags = ctl::AlignCenter},
        groupBox(kTableGroup, {7, 30, 186, 98}, "Table Information"),
        rowLabel(48, "Game Type:"),
        rowFigure(kGameType, 48),
        rowLabel(59, "Table Name:"),
        rowFigure(kTableName, 59),
        rowLabel(70, "Stakes:"),
        rowFigure(kStakes, 70),
        rowLabel(81, "Small Blind:"),
        rowFigure(kSmallBlind, 81),
        rowLabel(92, "Big Blind:"),
        rowFigure(kBigBlind, 92),
        rowLabel(103, "Minimum Buy-In:"),
        rowFigure(kMinimum, 103),
        rowLabel(114, "Max Allowed:"),
        rowFigure(kMaximum, 114),
        groupBox(kMyGroup, {7, 132, 186, 48}, "My Information"),
        rowLabel(150, "Account Balance:"),
        rowFigure(kBalance, 150),
        rowLabel(164, "Re-Buy Amount:"),
        rowAmountBox(kAmount, 164),
        {.id = kOk, .kind = ControlKind::PushButton, .rect = {7, 184, 44, 14}, .text = "OK",
         .flags = ctl::DefaultButton},
        {.id = kReload, .kind = ControlKind::PushButton, .rect = {103, 184, 90, 14}, .text = "Get More Play Money",
         .flags = ctl::Disabled},
    }};

} // namespace

dlgGetMoreChips::dlgGetMoreChips(ClientState& state, LineSender& sender, MessageBoxes& boxes, int tableId,
                                 std::string tableName)
    : QuickCashierDialog(kRebuyTemplate, state, sender, boxes, tableId, kPollMs, kReload)
{
    staticText(kBalance)->setText(QString::fromLatin1(kLoadingText));
    fillTableInformation(tableName);
    state_.session.cashierAvailable = 0.0f;
    askForFigures(kRebuyFiguresWord);
    amountBox().setFocus();
}

void dlgGetMoreChips::fillTableInformation(const std::string& tableName)
{
    const TableState& record = table();
    seat_ = record.userSeat;
    chips_ = userChips(record);
    limits_ = {record.minBuyIn, record.maxBuyIn};
    staticText(kGameType)->setText(QString::fromLatin1(gameTypeText(record.gameType)));
    staticText(kTableName)->setText(toQString(tableName));
    staticText(kStakes)->setText(toQString(record.stakesText));
    staticText(kSmallBlind)->setText(amountLabel(record.smallBlind));
    staticText(kBigBlind)->setText(amountLabel(record.bigBlind));
    staticText(kMinimum)->setText(amountLabel(limits_.minimum));
    staticText(kMaximum)->setText(amountLabel(limits_.maximum));
}

void dlgGetMoreChips::poll()
{
    SessionValues& session = state_.session;
    if (session.cashierReplyState[kRebuyFiguresWord] != 0)
        return;
    staticText(kBalance)->setText(amountLabel(session.cashierAvailable));
    session.cashierReplyState[kRebuyFiguresWord] = 2;
    amountBox().setValue(rebuyDefault(session.playMoneyBalance, chips_, limits_));
    amountBox().selectAll();
    offerRefill();
}

void dlgGetMoreChips::accept()
{
    const auto amount = static_cast<float>(amountBox().value());
    if (std::optional<BoxRequest> refusal = rebuyAmountRefusal(amount, state_.session.playMoneyBalance, chips_, limits_)) {
        refuse(*refusal);
        return;
    }
    sender_.sendLine(quickChipsMessage(tableId(), seat_, amount));
    QuickCashierDialog::accept();
}

} // namespace tessaly
