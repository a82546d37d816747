#include "client/table/ActionBar.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <tuple>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/BettingRules.h"
#include "client/ui/AmountEdit.h"
#include "client/ui/AmountText.h"
#include "client/ui/SkinButton.h"
#include "platform/MessageBoxes.h"
#include "platform/gui/AccessibleValues.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

using namespace betting;

constexpr const char* kFreeCheckQuestion = "It is free to check.\rAre you sure you want to fold ?";
constexpr const char* kFreeCheckCaption = "Warning";

QString qText(const std::string& text) { return QString::fromStdString(text); }

} // namespace

ActionBar::ActionBar(const ControlMap& controls, BettingContext& context, QObject* parent)
    : QObject(parent), context_(context), left_(controls.control<SkinButton>(kLeftAction)),
      middle_(controls.control<SkinButton>(kMiddleAction)), right_(controls.control<SkinButton>(kRightAction)),
      leftPost_(controls.control<SkinButton>(kLeftPost)), rightPost_(controls.control<SkinButton>(kRightPost)),
      slider_(controls.trackbar(kRaiseSlider)), box_(controls.control<AmountEdit>(kAmountBox)),
      dealMeOutMark_(controls.checkBox(kDealMeOutMark)), imBack_(controls.control(kImBack)), guard_(context.clock)
{
    const std::pair<SkinButton*, void (ActionBar::*)()> buttons[] = {
        {left_, &ActionBar::leftClicked},         {middle_, &ActionBar::middleClicked},
        {right_, &ActionBar::fold},               {leftPost_, &ActionBar::leftPostClicked},
        {rightPost_, &ActionBar::rightPostClicked},
    };
    for (const auto& [button, handler] : buttons) {
        if (button == nullptr)
            continue;
        button->setBitmaps(kActionFace, qRgb(255, 0, 240), 0, 0);
        button->setAccessibleName(button->text());
        connect(button, &QAbstractButton::clicked, this, handler);
    }
    if (slider_ != nullptr) {
        slider_->setAccessibleName(QStringLiteral("Raise amount"));
        setAccessibleAmount(*slider_, 0.0, QString());
        // The trackbar reported its moves while it had the focus; a value
        // set by the program, with the focus elsewhere, is no move.
        connect(slider_, &QSlider::valueChanged, this, [this](int position) {
            if (slider_->hasFocus())
                sliderMoved(position);
        });
    }
    if (box_ != nullptr) {
        box_->setAccessibleName(QStringLiteral("Amount"));
        box_->setGrouping(false);
        // Only the user's keys edit the amount; what the bar writes is no
        // typed amount.
        connect(box_, &AmountEdit::valueEdited, this, [this] {
            if (box_->hasFocus())
                amountTyped();
        });
    }
}

void ActionBar::promptStep()
{
    TableState& T = context_.table;
    if (T.userSeatedHere == 0 || T.userToAct == 0)
        hideAll();
    else if (T.promptSetUp != 1)
        setUp();
    resetForArrivedAction();
}

void ActionBar::hideAll()
{
    for (QWidget* control : std::initializer_list<QWidget*>{leftPost_, rightPost_, left_, middle_, right_,
                                                            slider_, box_})
        showControl(control, false);
}

void ActionBar::setUp()
{
    hideAll();
    const PromptControls shown = promptControls(context_.table);
    showPrompt(shown);
    if (shown.boxText) {
        writeBox(*shown.boxText);
        readSliderAs(typedAmount(*shown.boxText));
        if (box_ != nullptr)
            box_->selectAll();
    }
    takeFocus();
    context_.table.promptSetUp = 1;
}

void ActionBar::showPrompt(const PromptControls& shown)
{
    const std::tuple<int, SkinButton*, const std::optional<std::string>*> captions[] = {
        {kLeftAction, left_, &shown.left},         {kMiddleAction, middle_, &shown.middle},
        {kRightAction, right_, &shown.right},      {kLeftPost, leftPost_, &shown.leftPost},
        {kRightPost, rightPost_, &shown.rightPost},
    };
    for (const auto& [id, button, caption] : captions) {
        if (!caption->has_value())
            continue;
        const QString text = qText(**caption);
        const auto last = promptCaptions_.find(id);
        if (last != promptCaptions_.end() && last->second != text)
            guard_.meaningChanged(id);
        promptCaptions_[id] = text;
        setCaption(button, text);
        showControl(button, true);
    }
    showControl(slider_, shown.boxText.has_value());
    showControl(box_, shown.boxText.has_value());
}

// The focus goes to the most likely answer: check or call, the blind, and
// fold when calling means all in. The user's chat typing is never
// interrupted: a bet prompt takes the focus only from an empty chat line,
// the others only when the chat line does not have it.
void ActionBar::takeFocus()
{
    const QLineEdit* chat = context_.chatInput ? context_.chatInput() : nullptr;
    const int kind = context_.table.promptKind;
    const bool take = kind == kPromptCheckOrBet ? (chat == nullptr || chat->text().isEmpty())
                                                : (chat == nullptr || !chat->hasFocus());
    QWidget* likely = nullptr;
    switch (kind) {
    case kPromptCheckOrBet:
    case kPromptCallOrRaise:
    case kPromptCallOnly: likely = left_; break;
    case kPromptAllInOrFold: likely = rightPost_; break;
    case kPromptBigBlind:
    case kPromptSmallBlind: likely = leftPost_; break;
    default: break;
    }
    if (take && likely != nullptr)
        likely->setFocus(Qt::OtherFocusReason);
}

void ActionBar::resetForArrivedAction()
{
    TableState& T = context_.table;
    if (T.actionArrived != 1 || T.promptKind == kPromptCallOnly)
        return;
    if (slider_ != nullptr)
        slider_->setValue(0);
    T.actionArrived = 0;
    setMiddleCaption(betToLabel(betOrRaiseWord(T), T.minRaiseTo));
}

void ActionBar::sliderMoved(int position)
{
    TableState& T = context_.table;
    const float amount = sliderAmount(T, position);
    writeBox(amountText(amount));
    readSliderAs(amount);
    T.raiseToCopy = amount;
    if (T.gameType != kGamePotLimit && position == kSliderTop)
        setMiddleCaption(allInSliderLabel(amount));
    else
        setMiddleCaption(betToLabel(betOrRaiseWord(T), amount));
}

void ActionBar::amountTyped()
{
    showAmount(typedAmount(box_->text().toStdString()));
}

void ActionBar::fillAmount(float amount)
{
    writeBox(amountText(amount));
    showAmount(amount);
}

void ActionBar::showAmount(double v)
{
    TableState& T = context_.table;
    T.raiseToCopy = static_cast<float>(v);
    readSliderAs(v);
    const std::optional<long> position = typedSliderPosition(v, T);
    if (position && slider_ != nullptr)
        slider_->setValue(static_cast<int>(std::clamp<long>(*position, 0, kSliderTop)));
    if (position == kSliderTop)
        setMiddleCaption(allInBoxLabel(T.raiseToCopy));
    else
        setMiddleCaption(betToLabel(betOrRaiseWord(T), T.raiseToCopy));
}

// A screen reader reads the slider as the amount it stands for.
void ActionBar::readSliderAs(double amount)
{
    if (slider_ != nullptr)
        setAccessibleAmount(*slider_, amount, qText(amountText(static_cast<float>(amount))));
}

void ActionBar::writeBox(const std::string& text)
{
    if (box_ != nullptr)
        box_->setText(qText(text));
}

void ActionBar::setMiddleCaption(const std::string& caption)
{
    setCaption(middle_, qText(caption));
}

void ActionBar::betOrRaise()
{
    TableState& T = context_.table;
    if (isFixedLimit(T.gameType))
        writeBox(formatC("%.2f", static_cast<double>(T.minRaiseTo)));
    const std::string text = box_ != nullptr ? box_->text().toStdString() : std::string();
    const BetDecision decision = decideBet(text, T);
    switch (decision.outcome) {
    case BetOutcome::NotANumber:
        context_.boxes.show({kNotANumberMessage, kBetCaption, BoxIcon::None, BoxButtons::Ok, false, context_.owner});
        return;
    case BetOutcome::Insufficient:
        context_.boxes.show({kInsufficientMessage, kBetCaption, BoxIcon::Information, BoxButtons::Ok, false,
                             context_.owner});
        return;
    case BetOutcome::Raise: answer(raiseReplyMessage(context_.tableId, decision.amount)); return;
    case BetOutcome::AllIn: answer(replyMessage(context_.tableId, kReplyAllIn)); return;
    case BetOutcome::BadAmount:
        context_.boxes.show({kBadAmountMessage, kBetCaption, BoxIcon::Information, BoxButtons::Ok, false,
                             context_.owner});
        return;
    }
}

void ActionBar::leftClicked()
{
    if (!accepts(kLeftAction))
        return;
    const int kind = context_.table.promptKind;
    if (kind == kPromptCheckOrBet)
        answer(replyMessage(context_.tableId, kReplyCheck));
    else if (kind == kPromptCallOrRaise || kind == kPromptCallOnly)
        answer(replyMessage(context_.tableId, kReplyCall));
}

void ActionBar::middleClicked()
{
    if (!accepts(kMiddleAction))
        return;
    const int kind = context_.table.promptKind;
    if (kind == kPromptCallOnly)
        answer(replyMessage(context_.tableId, kReplyAllIn));
    else if (kind == kPromptCheckOrBet || kind == kPromptCallOrRaise)
        betOrRaise();
}

void ActionBar::fold()
{
    if (!accepts(kRightAction))
        return;
    TableState& T = context_.table;
    T.userToAct = 0;
    T.promptSetUp = 0;
    int reply = kReplyFold;
    if (T.callAmount == 0.0f) {
        const BoxAnswer choice = context_.boxes.show(
            {kFreeCheckQuestion, kFreeCheckCaption, BoxIcon::Information, BoxButtons::YesNo, false, context_.owner});
        reply = choice == BoxAnswer::Yes ? kReplyFold : kReplyCheck;
    }
    context_.sender.sendLine(replyMessage(context_.tableId, reply));
}

void ActionBar::leftPostClicked()
{
    if (!accepts(kLeftPost))
        return;
    const TableState& T = context_.table;
    if (T.promptKind == kPromptAllInOrFold)
        answer(replyMessage(context_.tableId, kReplyAllIn));
    else if (T.promptKind == kPromptBigBlind)
        answer(postBigBlindMessage(context_.tableId, T.userSeat));
    else if (T.promptKind == kPromptSmallBlind)
        answer(postSmallBlindMessage(context_.tableId, T.userSeat));
}

void ActionBar::rightPostClicked()
{
    if (!accepts(kRightPost))
        return;
    const int kind = context_.table.promptKind;
    if (kind == kPromptAllInOrFold)
        answer(replyMessage(context_.tableId, kReplyFold));
    else if (kind == kPromptBigBlind || kind == kPromptSmallBlind)
        sitOut();
}

// The prompt stays open: the server's next message decides.
void ActionBar::sitOut()
{
    context_.table.sittingOut = 1;
    if (dealMeOutMark_ != nullptr)
        dealMeOutMark_->setChecked(true);
    showControl(imBack_, true);
    context_.sender.sendLine(noPostMessage(context_.tableId));
}

void ActionBar::answer(const std::string& message)
{
    context_.table.userToAct = 0;
    context_.table.promptSetUp = 0;
    context_.sender.sendLine(message);
}

} // namespace tessaly
