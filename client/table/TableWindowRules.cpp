#include "client/table/TableWindowRules.h"

#include <algorithm>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "platform/sys/Trace.h"

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

JoinOutcome requestSeat(SessionValues& session, TableState& table, int seat, LineSender& sender)
{
    if (session.loggedIn != 1) {
        session.pendingJoin = 1;
        session.pendingSeat = seat;
        return JoinOutcome::NeedsLogin;
    }
    if (session.seatedSomewhere != 0)
        return JoinOutcome::SeatedElsewhere;
    table.userSeat = seat;
    trace("JOINING SEAT: %d", seat);
    sender.sendLine(accountBalanceMessage(session.screenName.str()));
    return JoinOutcome::BalanceAsked;
}

bool seatTick(SessionValues& session, TableState& table, bool foreground, LineSender& sender)
{
    bool openBuyIn = false;
    if (session.balanceArrived != 0) {
        if (foreground) {
            session.balanceArrived = 0;
            session.pendingJoin = 0;
            openBuyIn = true;
        } else {
            trace("TABLE_ID: GET FOREGROUND WINDOW NO MATCH");
        }
    }
    if (session.pendingJoin != 0 && session.loggedIn == 1) {
        table.userSeat = session.pendingSeat;
        if (session.balanceArrived == 0)
            sender.sendLine(accountBalanceMessage(session.screenName.str()));
    }
    return openBuyIn;
}

} // namespace tessaly
