#include "client/lobby/LobbyKeyboard.h"

#include <QAction>

#include "client/lobby/KeyboardDialog.h"
#include "client/lobby/KeyboardSettingsFile.h"

namespace tessaly {

LobbyKeyboard::LobbyKeyboard(TablePreferences& preferences, std::filesystem::path programDirectory,
                             MessageBoxes& boxes, std::function<bool()> screenReaderRunning)
    : preferences_(preferences), programDirectory_(std::move(programDirectory)), boxes_(boxes),
      screenReaderRunning_(std::move(screenReaderRunning))
{
}

void LobbyKeyboard::readAtStartup(QAction* speakItem)
{
    const bool screenReader = screenReaderRunning_ && screenReaderRunning_();
    TablePreferences read = KeyboardSettingsFile(programDirectory_).read(screenReader);
    read.revision = preferences_.revision + 1;
    preferences_ = read;
    if (speakItem != nullptr) {
        speakItem->setCheckable(true);
        speakItem->setChecked(preferences_.speakTableEvents);
    }
}

void LobbyKeyboard::openDialog(QWidget* parent, QAction* speakItem)
{
    KeyboardDialog dialog(preferences_, boxes_, parent);
    if (dialog.exec() == QDialog::Accepted)
        apply(dialog.chosen(), speakItem);
}

void LobbyKeyboard::toggleSpeech(QAction* speakItem)
{
    TablePreferences chosen = preferences_;
    chosen.speakTableEvents = !chosen.speakTableEvents;
    apply(chosen, speakItem);
}

void LobbyKeyboard::apply(const TablePreferences& chosen, QAction* speakItem)
{
    const int revision = preferences_.revision;
    preferences_ = chosen;
    preferences_.revision = revision + 1;
    KeyboardSettingsFile(programDirectory_).write(preferences_);
    if (speakItem != nullptr)
        speakItem->setChecked(preferences_.speakTableEvents);
}

} // namespace tessaly
