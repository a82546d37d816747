#pragma once
// Options > "Keyboard...": the table hotkeys, one key field per command,
// "Speak table events", and the fixed keys. A key that is taken, or that
// typing in the chat needs, is refused with a message and the field goes
// back to the command's key.

#include <QDialog>
#include <array>

#include "client/table/Hotkeys.h"

class QCheckBox;
class QKeySequenceEdit;

namespace tessaly {

class MessageBoxes;

inline constexpr const char* kKeyboardCaption = "Keyboard";
// What the dialog says about the keys that cannot be changed.
inline constexpr const char* kFixedKeysText =
    "At the table: Tab and Shift+Tab move between the controls, the action buttons first; Space presses the "
    "button in focus; Return in the amount box bets or raises. Alt+1 to Alt+9 and Alt+0 say what seats 1 to 10 "
    "hold; on a seat, the Menu key or Shift+F10 opens the player menu (\"Take Player Notes\"). The hotkeys act "
    "only at the active table, on a button that is shown. In the lobby: the arrow keys move through the tables "
    "and the player list follows; Return or Space opens the table.";

class KeyboardDialog : public QDialog {
    Q_OBJECT
public:
    KeyboardDialog(const TablePreferences& preferences, MessageBoxes& boxes, QWidget* parent = nullptr);

    // What OK gives back.
    const TablePreferences& chosen() const { return chosen_; }
    // The key field's entry, as when the user presses `key` in it. False
    // when the key was refused.
    bool setKey(TableCommand command, const QString& key);
    QKeySequenceEdit* keyField(TableCommand command) const;

private:
    void restoreDefaults();
    void showKeys();

    MessageBoxes& boxes_;
    TablePreferences chosen_;
    std::array<QKeySequenceEdit*, kTableCommandCount> fields_{};
    QCheckBox* speak_;
};

} // namespace tessaly
