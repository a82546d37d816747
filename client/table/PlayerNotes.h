#pragma once
// Private notes on other players: one window per player name, its text kept
// in "notes/<name>.txt" (NotesFileName.h) and written whenever the window
// closes.
//
//     PlayerNotes notes(boxes);          // lives as long as the program
//     notes.open("ann");                 // opens her notes, or brings them forward

#include <QPointer>
#include <map>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/gui/DialogWindow.h"

class QPlainTextEdit;
class QToolButton;

namespace tessaly {

class PlayerNotesWindow;

// The process-wide map from player name to open notes window.
class PlayerNotes {
public:
    explicit PlayerNotes(MessageBoxes& boxes) : boxes_(boxes) {}
    // Saves and closes every window still open.
    ~PlayerNotes();
    PlayerNotes(const PlayerNotes&) = delete;
    PlayerNotes& operator=(const PlayerNotes&) = delete;

    // The name's window: the open one shown and put on top, else a new one.
    PlayerNotesWindow* open(const std::string& name);
    PlayerNotesWindow* find(const std::string& name) const;

    // New windows start on top when this is set.
    bool onTopByDefault = false;

private:
    friend class PlayerNotesWindow;
    void forget(const std::string& name);
    // Puts every window that keeps on top back on top, but `except`.
    void restackOnTop(const PlayerNotesWindow* except);

    MessageBoxes& boxes_;
    std::map<std::string, QPointer<PlayerNotesWindow>> windows_;
};

// Dialog 198: the notes box filling the window, the pin that keeps it on top.
class PlayerNotesWindow : public DialogWindow {
    Q_OBJECT
public:
    static constexpr int kNotesBox = 1110;
    static constexpr int kNotTopIcon = 199;
    static constexpr int kOnTopIcon = 200;

    const std::string& playerName() const { return name_; }
    QPlainTextEdit* notesBox() const;
    QToolButton* pinButton() const { return pin_; }
    bool keepsOnTop() const { return onTop_; }
    void setKeepOnTop(bool on);

    // Writes the notes box to the player's file, whole or not at all; on
    // failure says so and returns false.
    bool save();

    // Escape closes the window as its close box does, saving the notes.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class PlayerNotes;
    PlayerNotesWindow(PlayerNotes& registry, std::string name, bool onTop);
    void load();
    void layOut();
    void applyKeepOnTop();

    PlayerNotes& registry_;
    std::string name_;   // emptied once saved on closing
    bool onTop_ = false;
    QToolButton* pin_;
};

} // namespace tessaly
