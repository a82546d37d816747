#pragma once
// The action bar of the table window: the three action buttons, the two
// post buttons, the raise slider and the raise amount box. Each frame it
// turns them into the choices of the pending prompt; each click answers the
// prompt through the sender. A button whose caption differs from the one
// it showed at the last prompt ignores clicks for half a second.

#include <QObject>
#include <QString>
#include <map>

#include "client/table/BettingControls.h"
#include "client/table/MisclickGuard.h"
#include "platform/gui/DialogBuilder.h"

class QCheckBox;
class QSlider;

namespace tessaly {

class AmountEdit;
class SkinButton;
struct PromptControls;

class ActionBar : public QObject {
    Q_OBJECT
public:
    // Gives the five buttons their face and the controls their names, and
    // switches digit grouping off in the amount box.
    ActionBar(const ControlMap& controls, BettingContext& context, QObject* parent = nullptr);

    // The frame's prompt set-up (after the window has handled bringToFront):
    // hides the controls when no prompt is pending, shows and labels them
    // once per prompt, then resets the slider for a newly arrived prompt.
    void promptStep();
    // Bet or raise to the amount in the box (the middle button for prompt
    // kinds 0 and 2).
    void betOrRaise();
    // Puts a chosen amount into the box as if typed: the slider follows and
    // the middle button reads it. Nothing is sent.
    void fillAmount(float amount);

private:
    void hideAll();
    void setUp();
    void showPrompt(const PromptControls& shown);
    void takeFocus();
    void resetForArrivedAction();
    void sliderMoved(int position);
    void amountTyped();
    void showAmount(double amount);
    void readSliderAs(double amount);
    bool accepts(int control) const { return guard_.accepts(control); }
    void writeBox(const std::string& text);
    void setMiddleCaption(const std::string& caption);

    void leftClicked();
    void middleClicked();
    void fold();
    void leftPostClicked();
    void rightPostClicked();
    void sitOut();
    // Every answer first closes the prompt, so the next frame hides the bar.
    void answer(const std::string& message);

    BettingContext& context_;
    SkinButton* left_;
    SkinButton* middle_;
    SkinButton* right_;
    SkinButton* leftPost_;
    SkinButton* rightPost_;
    QSlider* slider_;
    AmountEdit* box_;
    QCheckBox* dealMeOutMark_;
    QWidget* imBack_;
    MisclickGuard guard_;
    std::map<int, QString> promptCaptions_;   // by control: the caption of its last prompt
};

} // namespace tessaly
