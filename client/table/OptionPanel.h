#pragma once
// The four pre-action options under the table ("Fold/Check Any Bet", "Auto
// Post Blind", "Muck Losing Hands", "Deal Me Out"): click areas over their
// drawn texts that toggle the options in the table's record, check marks
// that show them, and "I am back", the return from sitting out.

#include <QObject>
#include <cstdint>
#include <vector>

#include "client/table/BettingControls.h"
#include "client/table/TableState.h"
#include "platform/gui/DialogBuilder.h"

class QCheckBox;

namespace tessaly {

class OptionPanel : public QObject {
    Q_OBJECT
public:
    OptionPanel(const ControlMap& controls, BettingContext& context, QObject* parent = nullptr);

    // Labels and marks are there only while the user sits at the table.
    void showStep(bool seated);
    // The marks follow their options (the automatic answer turns "Fold/Check
    // Any Bet" off); "I am back" shows while the user sits out.
    void markStep();

private:
    struct Option {
        QCheckBox* mark;
        QWidget* label;
        std::int32_t TableState::*flag;
    };

    void toggle(const Option& option);
    void dealMeOutToggled();
    void imBack();
    // Back in the game: "IM_BACK:" with chips on the table, else the
    // question; `getChips` runs on OK.
    void comeBack(const std::function<void()>& getChips);

    BettingContext& context_;
    std::vector<Option> options_;
    QWidget* imBack_;
};

} // namespace tessaly
