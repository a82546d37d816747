#pragma once
// The table's voice for screen readers. Each frame it looks for the
// user's new cards and for a new prompt (a betting turn, a blind, a show or muck offer): the window comes
// forward and, with "Speak table events" on, the prompt is spoken. On
// request it says the user's cards, the board, the pot and the amount to
// call, a seat, or the last announcement again.

#include <QObject>
#include <functional>
#include <string>

#include "client/table/Hotkeys.h"

class QWidget;

namespace tessaly {

class Announcer;
struct HandEvent;
struct TableState;

struct TableSpeechContext {
    const TableState& table;
    const TablePreferences& preferences;
    std::function<void()> bringForward;
};

class TableSpeech : public QObject {
    Q_OBJECT
public:
    TableSpeech(QWidget& window, TableSpeechContext context);

    void frameStep();
    // Alt+C, Alt+B, Alt+P, Alt+R: spoken whatever the setting says.
    void ask(TableCommand command);
    void askSeat(int seat);
    // Speaks an event of the hand when the setting is on.
    void tell(const std::string& text);
    void handEvent(const HandEvent& event);

    const Announcer& announcer() const { return *announcer_; }

private:
    void say(const std::string& text);

    TableSpeechContext context_;
    Announcer* announcer_;
    // The user's cards and the prompt pending at the last frame.
    struct Dealt {
        bool live = false;
        int first = 0, second = 0;
        bool operator==(const Dealt&) const = default;
    } dealt_;
    struct Asked {
        bool asked = false;
        int kind = 0, brag = 0, lost = 0;
        bool operator==(const Asked&) const = default;
    } prompt_;
};

} // namespace tessaly
