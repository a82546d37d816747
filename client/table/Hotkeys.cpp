#include "client/table/Hotkeys.h"

#include <algorithm>
#include <vector>

namespace tessaly {
namespace {

constexpr std::array<TableCommandInfo, kTableCommandCount> kCommands{{
    {TableCommand::Fold, "fold", "Fold", "F1"},
    {TableCommand::CheckCall, "check-call", "Check, Call or Post Blind", "F2"},
    {TableCommand::BetRaise, "bet-raise", "Bet or Raise", "F3"},
    {TableCommand::AllIn, "all-in", "All In", "F4"},
    {TableCommand::HalfPot, "half-pot", "\u00bd Pot", "F5"},
    {TableCommand::ThreeQuarterPot, "three-quarter-pot", "\u00be Pot", "F6"},
    {TableCommand::Pot, "pot", "Pot", "F7"},
    {TableCommand::Max, "max", "Max", "F8"},
    {TableCommand::SitOut, "sit-out", "Sit Out or I am back", "F9"},
    {TableCommand::MyCards, "my-cards", "Say my cards", "Alt+C"},
    {TableCommand::Board, "board", "Say the board", "Alt+B"},
    {TableCommand::PotAndCall, "pot-and-call", "Say the pot and the amount to call", "Alt+P"},
    {TableCommand::Repeat, "repeat", "Repeat the last announcement", "Alt+R"},
}};

std::size_t indexOf(TableCommand command) { return static_cast<std::size_t>(command); }

std::vector<std::string_view> splitKey(std::string_view key)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    // "Ctrl++" names the plus key: a '+' right after a separator is the key.
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '+' && i > start) {
            parts.push_back(key.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(key.substr(start));
    return parts;
}

bool isFunctionKey(std::string_view base)
{
    if (base.size() < 2 || base.size() > 3 || base[0] != 'F')
        return false;
    return std::all_of(base.begin() + 1, base.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

const std::array<TableCommandInfo, kTableCommandCount>& tableCommands() { return kCommands; }

const TableCommandInfo& commandInfo(TableCommand command) { return kCommands[indexOf(command)]; }

std::optional<std::string> unusableKeyReason(std::string_view key)
{
    const std::vector<std::string_view> parts = splitKey(key);
    const std::string_view base = parts.back();
    if (base.empty())
        return std::string("Press the key you want to use.");
    bool ctrl = false, alt = false, meta = false, shift = false;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::string_view m = parts[i];
        ctrl = ctrl || m == "Ctrl";
        alt = alt || m == "Alt";
        meta = meta || m == "Meta";
        shift = shift || m == "Shift";
    }
    const std::string name(key);
    if (base == "Menu" || (base == "F10" && shift && !ctrl && !alt && !meta))
        return name + " opens the menu of the seat in focus.";
    if (alt && !ctrl && !meta && !shift && base.size() == 1 && base[0] >= '0' && base[0] <= '9')
        return name + " says what a seat holds.";
    if (isFunctionKey(base))
        return std::nullopt;
    if (!ctrl && !alt && !meta)
        return name + " is a key that typing in the chat needs: choose a function key or a key with Alt or Ctrl.";
    if (ctrl && !alt && !meta && base.size() == 1 && std::string_view("ACVXYZ").find(base[0]) != std::string_view::npos)
        return name + " edits the text in the chat: choose a function key or a key with Alt or Ctrl.";
    return std::nullopt;
}

Hotkeys::Hotkeys()
{
    for (const TableCommandInfo& c : kCommands)
        keys_[indexOf(c.command)] = c.defaultKey;
}

const std::string& Hotkeys::key(TableCommand command) const { return keys_[indexOf(command)]; }

std::optional<TableCommand> Hotkeys::command(std::string_view key) const
{
    for (const TableCommandInfo& c : kCommands)
        if (keys_[indexOf(c.command)] == key)
            return c.command;
    return std::nullopt;
}

std::optional<std::string> Hotkeys::assign(TableCommand command, std::string_view key)
{
    if (std::optional<std::string> reason = unusableKeyReason(key))
        return reason;
    if (const std::optional<TableCommand> holder = this->command(key); holder && *holder != command)
        return std::string(key) + " is already the key of \"" + commandInfo(*holder).name + "\".";
    keys_[indexOf(command)] = std::string(key);
    return std::nullopt;
}

std::string Hotkeys::text() const
{
    std::string text;
    for (const TableCommandInfo& c : kCommands)
        text += std::string(c.id) + "=" + keys_[indexOf(c.command)] + "\n";
    return text;
}

Hotkeys Hotkeys::fromText(std::string_view text)
{
    // Read into an empty map, so a saved swap (F1 and F2 exchanged) does
    // not clash with the defaults on the way.
    Hotkeys keys;
    keys.keys_.fill(std::string());
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        for (const TableCommandInfo& c : kCommands)
            if (line.substr(0, equals) == c.id && keys.key(c.command).empty())
                keys.assign(c.command, line.substr(equals + 1));
    }
    // A command the text left out takes its default unless another holds it.
    for (const TableCommandInfo& c : kCommands)
        if (keys.key(c.command).empty() && !keys.command(c.defaultKey))
            keys.keys_[indexOf(c.command)] = c.defaultKey;
    return keys;
}

std::optional<bool> speakSetting(std::string_view text)
{
    for (std::string_view line : {std::string_view("speak=on"), std::string_view("speak=off")}) {
        const std::size_t at = text.find(line);
        if (at != std::string_view::npos && (at == 0 || text[at - 1] == '\n'))
            return line == "speak=on";
    }
    return std::nullopt;
}

std::string speakSettingLine(bool speak) { return speak ? "speak=on\n" : "speak=off\n"; }

} // namespace tessaly
