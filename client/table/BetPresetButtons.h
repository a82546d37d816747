#pragma once
// "½ Pot", "¾ Pot", "Pot" and "Max" over the raise slider: each fills the
// amount box with its amount for the pending prompt, and shows only with
// the slider of a no-limit or pot-limit game.

#include <QObject>
#include <array>

#include "client/table/BetPresets.h"
#include "platform/gui/DialogBuilder.h"

class QAbstractButton;
class QWidget;

namespace tessaly {

class ActionBar;
struct BettingContext;

class BetPresetButtons : public QObject {
    Q_OBJECT
public:
    BetPresetButtons(const ControlMap& controls, BettingContext& context, ActionBar& bar, QObject* parent = nullptr);

    // After the action bar's step: shown while the slider is.
    void frameStep();
    void choose(BetPreset preset);
    QAbstractButton* button(BetPreset preset) const;

private:
    BettingContext& context_;
    ActionBar& bar_;
    QWidget* slider_;
    std::array<QAbstractButton*, kBetPresets.size()> buttons_{};
};

} // namespace tessaly
