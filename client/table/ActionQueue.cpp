#include "client/table/ActionQueue.h"

#include <algorithm>

namespace tessaly {

void ActionQueue::report(int tableId, const std::string& name, bool isWaiting, SteadyTime now)
{
    if (isWaiting == waits(tableId))
        return;
    if (!isWaiting) {
        remove(tableId);
        return;
    }
    const WaitingTable entry{tableId, name, now};
    const auto later = std::upper_bound(waiting_.begin(), waiting_.end(), entry, [](const auto& a, const auto& b) {
        return a.since != b.since ? a.since < b.since : a.tableId < b.tableId;
    });
    waiting_.insert(later, entry);
    ++version_;
}

void ActionQueue::remove(int tableId)
{
    if (std::erase_if(waiting_, [tableId](const WaitingTable& t) { return t.tableId == tableId; }) > 0)
        ++version_;
}

bool ActionQueue::waits(int tableId) const
{
    return std::any_of(waiting_.begin(), waiting_.end(), [tableId](const WaitingTable& t) { return t.tableId == tableId; });
}

std::optional<int> ActionQueue::next(std::optional<int> current) const
{
    for (const WaitingTable& t : waiting_)
        if (!current || t.tableId != *current)
            return t.tableId;
    return std::nullopt;
}

int secondsLeft(SteadyTime since, SteadyTime now)
{
    const auto left = std::chrono::ceil<std::chrono::seconds>(since + kTurnTime - now);
    return std::max(0, static_cast<int>(left.count()));
}

std::string queueLine(const WaitingTable& table, SteadyTime now)
{
    return table.name + " - " + std::to_string(secondsLeft(table.since, now)) + " s";
}

} // namespace tessaly
