#include "client/table/BettingControls.h"

#include <QAbstractButton>
#include <QWidget>

#include "client/table/BetPresets.h"

namespace tessaly {

using namespace betting;

std::vector<ControlTemplate> bettingControls()
{
    constexpr unsigned hidden = ctl::Hidden;
    auto mark = [](int id, int y) {
        return ControlTemplate{.id = id, .kind = ControlKind::CheckBox, .rect = {3, y, 9, 9}, .flags = hidden};
    };
    // The labels' texts are drawn with the table; these only take the clicks.
    auto label = [](int id, int y, const char* text) {
        return ControlTemplate{
            .id = id, .kind = ControlKind::HotSpotButton, .rect = {13, y, 111, 10}, .text = text, .flags = hidden};
    };
    auto action = [](int id, UnitRect rect, const char* text) {
        return ControlTemplate{.id = id, .kind = ControlKind::SkinButton, .rect = rect, .text = text, .flags = hidden};
    };
    auto push = [](int id, UnitRect rect, const char* text) {
        return ControlTemplate{.id = id, .kind = ControlKind::PushButton, .rect = rect, .text = text, .flags = hidden};
    };
    // The pot presets sit in a row over the slider's left end.
    auto preset = [](int index, int x) {
        return ControlTemplate{.id = kHalfPot + index, .kind = ControlKind::PushButton, .rect = {x, 272, 24, 11},
                               .text = betPresetLabel(kBetPresets[static_cast<std::size_t>(index)]), .flags = hidden};
    };
    const UnitRect left{264, 298, 61, 18};
    const UnitRect middle{326, 298, 61, 18};
    const UnitRect right{388, 298, 61, 18};
    const UnitRect offerLeft{326, 320, 61, 13};
    const UnitRect offerRight{388, 320, 61, 13};
    return {
        mark(kFoldCheckMark, 292),
        mark(kAutoPostMark, 302),
        mark(kMuckLosingMark, 313),
        mark(kDealMeOutMark, 323),
        label(kFoldCheckLabel, 291, kFoldCheckText),
        label(kAutoPostLabel, 302, kAutoPostText),
        label(kMuckLosingLabel, 312, kMuckLosingText),
        label(kDealMeOutLabel, 323, kDealMeOutText),
        {.id = kRaiseSlider, .kind = ControlKind::Trackbar, .rect = {264, 284, 132, 11}, .flags = hidden},
        {.id = kAmountBox, .kind = ControlKind::AmountEdit, .rect = {400, 284, 50, 12}, .flags = hidden},
        action(kLeftAction, left, "Check"),
        action(kMiddleAction, middle, "Bet"),
        action(kRightAction, right, "Fold"),
        action(kLeftPost, left, "All In"),
        action(kRightPost, middle, "Sit Out"),
        push(kImBack, {264, 320, 60, 13}, "I am back"),
        push(kShow, offerLeft, "Show?"),
        push(kMuck, offerRight, "Muck?"),
        push(kShowLost, offerLeft, "Show (You lost)"),
        push(kMuckLost, offerRight, "Muck (You lost)"),
        preset(0, 264),
        preset(1, 289),
        preset(2, 314),
        preset(3, 339),
    };
}

void showControl(QWidget* control, bool shown)
{
    if (control != nullptr)
        control->setVisible(shown);
}

void setCaption(QAbstractButton* button, const QString& caption)
{
    if (button == nullptr)
        return;
    button->setText(caption);
    button->setAccessibleName(caption);
}

} // namespace tessaly
