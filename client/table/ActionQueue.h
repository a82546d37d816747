#pragma once
// The tables waiting for the user's action, oldest first: the lobby lists
// them with the time each has left, and the next-table key brings the first
// forward. The table windows report on their frame step whether their table
// waits; a table joins the queue when its wait starts and leaves it when the
// user has acted (or the turn has passed). Free of Qt.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "client/table/ComingForward.h"

namespace tessaly {

// The house gives a player this long to act before it acts for him.
inline constexpr std::chrono::seconds kTurnTime{20};

struct WaitingTable {
    int tableId = 0;
    std::string name;
    SteadyTime since;
};

class ActionQueue {
public:
    // The table's state as its window sees it on a frame step.
    void report(int tableId, const std::string& name, bool waiting, SteadyTime now);
    // The window closed.
    void remove(int tableId);

    // Oldest first; tables whose turns began together by table id.
    const std::vector<WaitingTable>& waiting() const { return waiting_; }
    bool waits(int tableId) const;
    // The table to bring forward next: the oldest other than `current`.
    std::optional<int> next(std::optional<int> current) const;
    // Bumped whenever the queue changes, for views that redraw on change.
    unsigned version() const { return version_; }

private:
    std::vector<WaitingTable> waiting_;
    unsigned version_ = 0;
};

// Whole seconds left to act, counted down from kTurnTime, never below 0.
int secondsLeft(SteadyTime since, SteadyTime now);
// One line of the lobby's list: the table's name and its time left.
std::string queueLine(const WaitingTable& table, SteadyTime now);

} // namespace tessaly
