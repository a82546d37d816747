#pragma once
// The rules of opening and leaving a table window that need no window: the
// list of open table names, the question before leaving, and the reset of
// the table's record once its window has gone.

#include <string>
#include <vector>

namespace tessaly {

struct TableState;

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

} // namespace tessaly
