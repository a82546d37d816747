#pragma once
// The table window from the keyboard: the hotkeys of the active table
// (each acts only on a control that is shown and enabled), the keys in the
// buttons' tips and accessible descriptions, a Tab order that starts with
// the action buttons, and one focusable spot per seat over its player box,
// named after what the seat holds, whose Menu key (or Shift+F10) opens the
// player menu.

#include <QObject>
#include <functional>
#include <vector>

#include "client/table/Hotkeys.h"
#include "platform/gui/DialogBuilder.h"

class QAbstractButton;
class QShortcut;
class QWidget;

namespace tessaly {

class BetPresetButtons;
class SeatSpot;
struct TableState;

struct TableKeyboardContext {
    const ControlMap& controls;
    const TableState& table;
    const TablePreferences& preferences;
    BetPresetButtons& presets;
    std::function<void(TableCommand)> ask;   // the commands that only say something
    std::function<void(int seat)> askSeat;   // Alt+1 to Alt+0
    std::function<void(int seat, QWidget* spot)> seatMenu;
};

class TableKeyboard : public QObject {
    Q_OBJECT
public:
    TableKeyboard(QWidget& window, TableKeyboardContext context);
    ~TableKeyboard() override;

    // The keys follow the preferences.
    void frameStep();
    // The seat spots follow the table: called when its picture changed.
    void describeSeats();
    // What a hotkey does.
    void run(TableCommand command);

    QWidget* seatSpot(int seat) const;

private:
    void bindKeys();
    void describeKeys();
    void orderTabs();
    void press(int control);
    QAbstractButton* shownButton(int control) const;

    QWidget& window_;
    TableKeyboardContext context_;
    int revision_ = -1;
    std::vector<QShortcut*> shortcuts_;
    std::vector<SeatSpot*> spots_;   // 10-seat layout first, then the 6-seat one
};

} // namespace tessaly
