#include "client/table/OptionPanel.h"

#include <QAbstractButton>
#include <QCheckBox>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/BettingRules.h"
#include "platform/MessageBoxes.h"

namespace tessaly {

using namespace betting;

OptionPanel::OptionPanel(const ControlMap& controls, BettingContext& context, QObject* parent)
    : QObject(parent), context_(context), imBack_(controls.control(kImBack))
{
    const struct {
        int mark;
        int label;
        const char* text;
        std::int32_t TableState::*flag;
    } options[] = {
        {kFoldCheckMark, kFoldCheckLabel, kFoldCheckText, &TableState::autoCheckFold},
        {kAutoPostMark, kAutoPostLabel, kAutoPostText, &TableState::autoPostBlinds},
        {kMuckLosingMark, kMuckLosingLabel, kMuckLosingText, &TableState::autoMuckLosing},
        {kDealMeOutMark, kDealMeOutLabel, kDealMeOutText, &TableState::sittingOut},
    };
    for (const auto& o : options) {
        const Option option{controls.checkBox(o.mark), controls.control(o.label), o.flag};
        options_.push_back(option);
        // The keyboard reaches the option through its check mark; the label
        // only takes the mouse's clicks.
        if (option.label != nullptr)
            option.label->setFocusPolicy(Qt::NoFocus);
        const bool dealMeOut = o.flag == &TableState::sittingOut;
        // A click on a mark counts as a click on its label.
        for (QWidget* control : {static_cast<QWidget*>(option.mark), option.label}) {
            auto* button = qobject_cast<QAbstractButton*>(control);
            if (button == nullptr)
                continue;
            button->setAccessibleName(QString::fromLatin1(o.text));
            connect(button, &QAbstractButton::clicked, this, [this, option, dealMeOut] {
                toggle(option);
                if (dealMeOut)
                    dealMeOutToggled();
            });
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(imBack_)) {
        button->setAccessibleName(button->text());
        connect(button, &QAbstractButton::clicked, this, &OptionPanel::imBack);
    }
}

void OptionPanel::showStep(bool seated)
{
    for (const Option& option : options_) {
        showControl(option.mark, seated);
        showControl(option.label, seated);
    }
}

void OptionPanel::markStep()
{
    for (const Option& option : options_)
        if (option.mark != nullptr)
            option.mark->setChecked(context_.table.*option.flag != 0);
    showControl(imBack_, context_.table.sittingOut == 1);
}

void OptionPanel::toggle(const Option& option)
{
    std::int32_t& flag = context_.table.*option.flag;
    flag = flag == 0 ? 1 : 0;
    if (option.mark != nullptr)
        option.mark->setChecked(flag != 0);
}

void OptionPanel::dealMeOutToggled()
{
    const TableState& T = context_.table;
    if (T.userSeatedHere != 1)
        return;
    if (T.sittingOut != 0)
        context_.sender.sendLine(dealMeOutMessage(context_.tableId));
    else
        comeBack(context_.getMoreChips);
}

void OptionPanel::imBack()
{
    toggle(options_.back());   // "Deal Me Out" shares the sitting-out flag
    if (context_.table.sittingOut == 0)
        comeBack(context_.openRebuy);
}

void OptionPanel::comeBack(const std::function<void()>& getChips)
{
    if (userStack(context_.table) > 0.0f) {
        context_.sender.sendLine(imBackMessage(context_.tableId));
        return;
    }
    const BoxAnswer choice = context_.boxes.show(
        {kGetMoreChipsMessage, kGetMoreChipsCaption, BoxIcon::None, BoxButtons::OkCancel, false, context_.owner});
    if (choice == BoxAnswer::Ok && getChips)
        getChips();
}

} // namespace tessaly
