#include "client/lobby/CashierDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "client/ui/AmountText.h"
#include "client/ui/SkinControls.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

constexpr int kScreenNameText = 1100;
constexpr int kAvailableText = 1101;
constexpr int kInActionText = 1102;
constexpr int kTotalText = 1103;
constexpr int kEmailText = 1104;
constexpr int kExitButton = 1005;

const char* const kLoading = "Loading...";

ControlTemplate label(int y, int width, const char* text)
{
    return {.kind = ControlKind::Static, .rect = {12, y, width, 8}, .text = text};
}

ControlTemplate value(int id, int x, int y, int height = 8)
{
    return {.id = id, .kind = ControlKind::Static, .rect = {x, y, 156 - x, height}};
}

const DialogTemplate kCashierTemplate{
    .resource = 172,
    .caption = "Tessaly Cashier",
    .width = 166,
    .height = 164,
    .font = {"Arial", 8},
    .controls = {
        {.id = 1105, .kind = ControlKind::GroupBox, .rect = {4, 4, 158, 60}, .text = "Your Information",
         .font = FontSpec{"Verdana", 12}},
        label(25, 46, "ScreenName:"),
        value(kScreenNameText, 60, 25),
        label(39, 46, "E-Mail:"),
        value(kEmailText, 60, 39, 18),
        {.id = 1106, .kind = ControlKind::GroupBox, .rect = {4, 70, 158, 64}, .text = "Account Balance Play Money",
         .font = FontSpec{"Verdana", 12}},
        label(91, 56, "Total Available:"),
        value(kAvailableText, 72, 91),
        label(105, 56, "In Action:"),
        value(kInActionText, 72, 105),
        label(119, 56, "Total Money:"),
        value(kTotalText, 72, 119),
        {.id = kExitButton, .kind = ControlKind::PushButton, .rect = {53, 142, 60, 15}, .text = "Exit Cashier",
         .flags = ctl::DefaultButton},
    }};

// The longest prefix of `text` that fits `width` pixels, at least one
// character so that a line never stays empty.
qsizetype fittingPrefix(const QString& text, const QFontMetrics& metrics, int width)
{
    qsizetype length = text.size();
    while (length > 1 && metrics.horizontalAdvance(text.left(length)) > width)
        --length;
    return length;
}

} // namespace

QString twoLineAddress(const QString& address, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(address) <= width)
        return address;
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString local = address.left(at + 1);
        const QString domain = address.mid(at + 1);
        if (metrics.horizontalAdvance(local) <= width && metrics.horizontalAdvance(domain) <= width)
            return local + QLatin1Char('\n') + domain;
    }
    const qsizetype first = fittingPrefix(address, metrics, width);
    return address.left(first) + QLatin1Char('\n') + metrics.elidedText(address.mid(first), Qt::ElideRight, width);
}

dlgCashier::dlgCashier(ClientState& state, LineSender& sender, QWidget* parent)
    : DialogWindow(kCashierTemplate, skinDialogBuilder(), parent), state_(state), sender_(sender), poll_(this)
{
    connect(button(kExitButton), &QPushButton::clicked, this, &QDialog::accept);
    // The e-mail label is laid out by twoLineAddress; a label that wrapped
    // by itself would only break at spaces, which addresses do not have.
    staticText(kEmailText)->setWordWrap(false);

    poll_.setObjectName(QStringLiteral("cashierPoll"));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &dlgCashier::poll);
}

void dlgCashier::setVisible(bool visible)
{
    if (visible && !isVisible())
        opening();
    DialogWindow::setVisible(visible);
    if (!visible)
        poll_.stop();
}

void dlgCashier::opening()
{
    SessionValues& session = state_.session;
    poll_.start();
    session.cashierTotal = 0.0f;
    session.cashierReplyState[kCashierReplyWord] = 1;
    for (int id : {kEmailText, kAvailableText, kInActionText, kTotalText})
        staticText(id)->setText(QString::fromLatin1(kLoading));
    staticText(kEmailText)->setToolTip(QString());
    staticText(kScreenNameText)->setText(toQString(session.screenName));
    sender_.sendLine(quickCashierMessage(session.screenName));
}

void dlgCashier::poll()
{
    SessionValues& session = state_.session;
    if (session.cashierReplyState[kCashierReplyWord] != 0)
        return;
    showEmail(toQString(session.cashierEmail));
    staticText(kAvailableText)->setText(QString::fromStdString(amountText(session.cashierAvailable)));
    staticText(kInActionText)->setText(QString::fromStdString(amountText(session.cashierInAction)));
    staticText(kTotalText)->setText(QString::fromStdString(amountText(session.cashierTotal)));
    session.cashierReplyState[kCashierReplyWord] = 2;
}

void dlgCashier::showEmail(const QString& address)
{
    QLabel* label = staticText(kEmailText);
    const QString shown = twoLineAddress(address, label->fontMetrics(), label->contentsRect().width());
    label->setText(shown);
    // The whole address where the label could not show all of it.
    label->setToolTip(shown == address ? QString() : address);
}

} // namespace tessaly
