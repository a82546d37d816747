#pragma once
// The rules of opening and leaving a table window that need no window: the
// list of open table names, the question before leaving, and the reset of
// the table's record once its window has gone.

#include <string>
#include <vector>

namespace tessaly {

class LineSender;
struct SessionValues;
struct TableState;

inline constexpr const char* kOneTableOnlyMessage = "We are sorry, but you can only be seated at one table";
inline constexpr const char* kTableMessageCaption = "Tessaly Message";

// Adds the name to the open-table list, which stays sorted and free of
// duplicates. False when the name was there already: that table is open.
bool addOpenTable(std::vector<std::string>& names, const std::string& name);
void removeOpenTable(std::vector<std::string>& names, const std::string& name);

// The user is seated here and still in the hand: leaving folds him, so he
// is asked first.
bool leavingFoldsTheHand(const TableState& table);

// The record after its window has closed: a fresh hand, nobody seated, no
// names, marked closed.
void resetClosedTable(TableState& table);

// What a click on a free seat leads to.
enum class JoinOutcome {
    NeedsLogin,       // the seat waits in pendingJoin/pendingSeat; the login dialog opens
    BalanceAsked,     // userSeat set, "ACCOUNT_BALANCE_PM:" sent; the buy-in follows the answer
    SeatedElsewhere,  // refused: the user sits at another table
};
JoinOutcome requestSeat(SessionValues& session, TableState& table, int seat, LineSender& sender);

// The seat steps of a table window's 600 ms tick. With the balance in, the
// foreground window takes it (clearing the flag and the pending join) and
// opens the buy-in dialog: true. A seat chosen before login is then taken
// up for this table, asking for the balance until it arrives.
bool seatTick(SessionValues& session, TableState& table, bool foreground, LineSender& sender);

} // namespace tessaly
