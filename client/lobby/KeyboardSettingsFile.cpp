#include "client/lobby/KeyboardSettingsFile.h"

#include <fstream>
#include <sstream>

namespace tessaly {

KeyboardSettingsFile::KeyboardSettingsFile(const std::filesystem::path& programDirectory)
    : path_(programDirectory / kKeyboardFileName)
{
}

TablePreferences KeyboardSettingsFile::read(bool screenReaderRunning) const
{
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    if (in)
        text << in.rdbuf();
    const std::string content = text.str();
    TablePreferences preferences;
    preferences.hotkeys = Hotkeys::fromText(content);
    preferences.speakTableEvents = speakSetting(content).value_or(screenReaderRunning);
    return preferences;
}

bool KeyboardSettingsFile::write(const TablePreferences& preferences) const
{
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << preferences.hotkeys.text() << speakSettingLine(preferences.speakTableEvents);
    return static_cast<bool>(out.flush());
}

} // namespace tessaly
