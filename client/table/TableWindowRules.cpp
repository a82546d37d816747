#include "client/table/TableWindowRules.h"

#include <algorithm>

#include "client/table/TableState.h"

namespace tessaly {

bool addOpenTable(std::vector<std::string>& names, const std::string& name)
{
    const auto place = std::lower_bound(names.begin(), names.end(), name);
    if (place != names.end() && *place == name)
        return false;
    names.insert(place, name);
    return true;
}

void removeOpenTable(std::vector<std::string>& names, const std::string& name)
{
    names.erase(std::remove(names.begin(), names.end(), name), names.end());
}

bool leavingFoldsTheHand(const TableState& table)
{
    // userSeat is the window's own field; one outside the seats has no cards.
    const bool inHand = table.userSeat >= 0 && table.userSeat < static_cast<int>(table.ownCardsLive.size()) &&
                        table.ownCardsLive[static_cast<std::size_t>(table.userSeat)] == 1;
    return inHand && table.userSeatedHere == 1;
}

void resetClosedTable(TableState& table)
{
    table.reset();
    table.userSeatedHere = 0;
    table.closed = 1;
    table.reset();
    table.seatOccupied.fill(0);
    for (auto& name : table.playerName)
        name.clear();
}

} // namespace tessaly
