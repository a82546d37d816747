#pragma once
// The table's hotkeys: which key does what at the active table. Keys are
// written as the desktop's portable key names ("F1", "Alt+C", "Ctrl+F3").
// A key may belong to one command only, and never to one that typing in the
// chat needs: plain and shifted characters, Return, Tab, Escape, the arrows
// and the editing keys stay the chat's. Alt+1 to Alt+0 (the seats), Menu
// and Shift+F10 (the seat's menu) are fixed.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

enum class TableCommand {
    Fold,
    CheckCall,   // check, call, or post the blind asked for
    BetRaise,    // bet or raise to the amount in the box
    AllIn,
    HalfPot,
    ThreeQuarterPot,
    Pot,
    Max,
    SitOut,      // "Deal Me Out", or "I am back" while sitting out
    MyCards,     // what the screen reader says on request
    Board,
    PotAndCall,
    Repeat,
};
inline constexpr int kTableCommandCount = 13;

struct TableCommandInfo {
    TableCommand command;
    const char* id;            // the word in the settings file
    const char* name;          // what the user reads in the dialog and tips
    const char* defaultKey;
};
const std::array<TableCommandInfo, kTableCommandCount>& tableCommands();
const TableCommandInfo& commandInfo(TableCommand command);

// Why `key` cannot be a hotkey at all (the chat's keys, the fixed keys, an
// empty or unknown name); nullopt when it can.
std::optional<std::string> unusableKeyReason(std::string_view key);

class Hotkeys {
public:
    Hotkeys();   // the defaults

    const std::string& key(TableCommand command) const;
    std::optional<TableCommand> command(std::string_view key) const;

    // Gives `command` the key; an unusable key, or one another command
    // holds, is refused with the reason and nothing changes.
    std::optional<std::string> assign(TableCommand command, std::string_view key);

    // "fold=F1" lines, one per command, in the commands' order.
    std::string text() const;
    // Reads what text() wrote. Unknown commands and keys that assign()
    // refuses are skipped: those commands keep their defaults.
    static Hotkeys fromText(std::string_view text);

    bool operator==(const Hotkeys&) const = default;

private:
    std::array<std::string, kTableCommandCount> keys_;
};

// The keyboard and speech choices every table window reads; the lobby
// writes them at start-up and from its Options menu.
struct TablePreferences {
    Hotkeys hotkeys;
    bool speakTableEvents = false;
    int revision = 0;   // counts the changes, so that open windows notice them

    bool operator==(const TablePreferences&) const = default;
};

// The table settings kept beside the hotkeys: "speak=on" or "speak=off";
// nullopt when the text says neither (the screen reader decides).
std::optional<bool> speakSetting(std::string_view text);
std::string speakSettingLine(bool speak);

} // namespace tessaly
