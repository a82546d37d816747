#pragma once
// When a table whose turn it is may come forward. A window that jumps to the
// front while the user types or clicks elsewhere takes the keys and the click
// meant for that other window, so a table that is not the active window
// comes forward only when the user has been idle in the suite's other
// windows for a second; until then it asks for attention (the taskbar's
// urgency hint) and comes forward at the first idle moment. Free of Qt.

#include <chrono>
#include <optional>

namespace tessaly {

using SteadyTime = std::chrono::steady_clock::time_point;

// How long after a key or a button press the user counts as busy.
inline constexpr std::chrono::milliseconds kInputQuietTime{1000};

struct ForwardInputs {
    SteadyTime now;
    // The last key or mouse button press in another window of the suite.
    std::optional<SteadyTime> lastInputElsewhere;
    // A mouse button is down: a click or a drag is under way.
    bool buttonHeld = false;
    // The active window is another table that waits for the user too: the
    // user is deciding there and is not to be interrupted.
    bool activeTableWaits = false;
    // The user has just acted at the table in front, which hands the front
    // to the next waiting table at once.
    bool handedOver = false;
};

enum class Forward { Raise, AskAttention };

Forward comingForward(const ForwardInputs& in);

} // namespace tessaly
