#include "client/table/BetPresetButtons.h"

#include <QAbstractButton>

#include "client/table/ActionBar.h"
#include "client/table/BettingControls.h"

namespace tessaly {

BetPresetButtons::BetPresetButtons(const ControlMap& controls, BettingContext& context, ActionBar& bar,
                                   QObject* parent)
    : QObject(parent), context_(context), bar_(bar), slider_(controls.control(betting::kRaiseSlider))
{
    for (std::size_t i = 0; i < kBetPresets.size(); ++i) {
        auto* button = qobject_cast<QAbstractButton*>(controls.control(betting::kHalfPot + static_cast<int>(i)));
        buttons_[i] = button;
        if (button == nullptr)
            continue;
        button->setAccessibleName(QString::fromUtf8(betPresetLabel(kBetPresets[i])));
        connect(button, &QAbstractButton::clicked, this, [this, preset = kBetPresets[i]] { choose(preset); });
    }
}

void BetPresetButtons::frameStep()
{
    const TableState& T = context_.table;
    const bool shown = slider_ != nullptr && !slider_->isHidden() && T.userToAct == 1 && betPresetsShown(T);
    for (QAbstractButton* button : buttons_)
        if (button != nullptr && button->isHidden() == shown)
            button->setVisible(shown);
}

void BetPresetButtons::choose(BetPreset preset)
{
    const TableState& T = context_.table;
    if (T.userToAct != 1 || !betPresetsShown(T))
        return;
    bar_.fillAmount(betPresetAmount(preset, T));
}

QAbstractButton* BetPresetButtons::button(BetPreset preset) const
{
    for (std::size_t i = 0; i < kBetPresets.size(); ++i)
        if (kBetPresets[i] == preset)
            return buttons_[i];
    return nullptr;
}

} // namespace tessaly
