#pragma once
// The lobby's side of playing by keyboard and by ear: the table
// preferences read at start-up, Options > "Keyboard..." and Options >
// "Speak table events", each saved to "keyboard.txt" at once. Every change
// counts up the preferences' revision, so the open tables follow it.

#include <filesystem>
#include <functional>

class QAction;
class QWidget;

namespace tessaly {

class MessageBoxes;
struct TablePreferences;

class LobbyKeyboard {
public:
    LobbyKeyboard(TablePreferences& preferences, std::filesystem::path programDirectory, MessageBoxes& boxes,
                  std::function<bool()> screenReaderRunning);

    // Reads the file; the menu item's check mark follows.
    void readAtStartup(QAction* speakItem);
    // The dialog, modal; OK applies and saves.
    void openDialog(QWidget* parent, QAction* speakItem);
    void toggleSpeech(QAction* speakItem);

private:
    void apply(const TablePreferences& chosen, QAction* speakItem);

    TablePreferences& preferences_;
    std::filesystem::path programDirectory_;
    MessageBoxes& boxes_;
    std::function<bool()> screenReaderRunning_;
};

} // namespace tessaly
