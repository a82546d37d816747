#pragma once
// The betting controls of the table window: the action buttons, the raise
// slider and amount box, the four pre-action options, the show/muck offers
// and "I am back". bettingControls() gives their place in dialog 155;
// ActionBar, OptionPanel and OfferButtons drive them on the window's
// ControlMap.

#include <functional>
#include <vector>

#include "client/table/MisclickGuard.h"

#include "platform/gui/DialogTemplate.h"

class QAbstractButton;
class QLineEdit;
class QString;
class QWidget;

namespace tessaly {

class LineSender;
class MessageBoxes;
struct TableState;

namespace betting {
enum Control {
    kFoldCheckMark = 1016,
    kAutoPostMark = 1018,
    kMuckLosingMark = 1019,
    kDealMeOutMark = 1025,
    kFoldCheckLabel = 1035,
    kAutoPostLabel = 1036,
    kMuckLosingLabel = 1037,
    kDealMeOutLabel = 1038,
    kRaiseSlider = 1020,
    kAmountBox = 1024,
    kLeftAction = 1021,
    kMiddleAction = 1022,
    kRightAction = 1023,
    kLeftPost = 1046,
    kRightPost = 1047,
    kShow = 1052,
    kMuck = 1053,
    kShowLost = 1054,
    kMuckLost = 1055,
    kImBack = 1058,
    kHalfPot = 1200,   // the pot presets, 1200-1203 in the order of kBetPresets
};

// The bitmap under the five action buttons, keyed in RGB(255, 0, 240).
inline constexpr int kActionFace = 163;

// The texts of the four pre-action options, by label.
inline constexpr const char* kFoldCheckText = "Fold/Check Any Bet";
inline constexpr const char* kAutoPostText = "Auto Post Blind";
inline constexpr const char* kMuckLosingText = "Muck Losing Hands";
inline constexpr const char* kDealMeOutText = "Deal Me Out";

inline constexpr const char* kGetMoreChipsMessage = "To return to the table, you must get more Chips.";
inline constexpr const char* kGetMoreChipsCaption = "Tessaly Message";
} // namespace betting

// The controls in dialog units, all hidden at start, for the window's
// template.
std::vector<ControlTemplate> bettingControls();

// What the betting parts share with the table window.
struct BettingContext {
    TableState& table;
    int tableId;
    LineSender& sender;
    MessageBoxes& boxes;
    QWidget* owner;                          // owner of the boxes
    std::function<QLineEdit*()> chatInput;   // may return nullptr
    std::function<void()> getMoreChips;      // the "Get More Chips" command, with its checks
    std::function<void()> openRebuy;         // the re-buy dialog without the checks ("I am back")
    MisclickGuard::Clock clock = MisclickGuard::steadyMilliseconds;
};

// Shows or hides a control that may be missing from the map.
void showControl(QWidget* control, bool shown);
// A button's caption, which is also what a screen reader reads out.
void setCaption(QAbstractButton* button, const QString& caption);

} // namespace tessaly
