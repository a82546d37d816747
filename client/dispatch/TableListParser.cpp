#include <algorithm>
#include <cstring>
#include <iterator>

#include "client/net/Fields.h"
#include "client/dispatch/Dispatcher.h"
#include "client/table/ClientState.h"

namespace tessaly {

void parseTableList(LineFields& fields, ClientState& state)
{
    SessionValues& session = state.session;
    int r = 0;
    // Keys of records past the last one kept are read into this and dropped.
    TableState overflow;
    for (const char* key = fields.first(); key != nullptr; key = fields.next()) {
        TableState& record = r < kTableCount ? state.tables[static_cast<std::size_t>(r)] : overflow;
        const auto is = [key](const char* k) { return std::strcmp(key, k) == 0; };
        if (is("END_TABLE")) {
            session.tableListComplete = 1;
            continue;
        }
        if (is("TE:")) {
            const std::string_view time = fields.nextText();
            const int users = fields.nextInt();
            const int tables = fields.nextInt();
            if (fields.missing())
                break;
            session.serverTimeText = time;
            session.liveUsers = users;
            session.liveTables = tables;
            continue;
        }
        static constexpr const char* kValueKeys[] = {"SB:", "BB:", "MINB:", "MAXB:", "T", "G", "M",
                                                     "S", "PR", "VX:", "WT", "PF", "HR"};
        if (std::none_of(std::begin(kValueKeys), std::end(kValueKeys), is))
            continue;   // not a key: the next field is taken as the key
        const char* value = fields.next();
        if (value == nullptr)
            break;   // a key at the end of the line without its value
        if (is("SB:"))
            record.smallBlind = readMoney(value);
        else if (is("BB:"))
            record.bigBlind = readMoney(value);
        else if (is("MINB:"))
            record.minBuyIn = readMoney(value);
        else if (is("MAXB:"))
            record.maxBuyIn = readMoney(value);
        else if (is("T"))
            record.tableName = value;
        else if (is("G"))
            record.gameType = static_cast<std::int16_t>(readInt(value));
        else if (is("M"))
            record.seatCount = readInt(value);
        else if (is("S"))
            record.stakesText = value;
        else if (is("PR"))
            record.playersSeated = static_cast<std::int16_t>(readInt(value));
        else if (is("VX:"))
            record.averagePot = readInt(value);
        else if (is("HR"))
            r = std::min(r + 1, kTableCount);
        // "WT" and "PF" values are read and dropped; "HR" ends the record.
    }
    session.tableCount = r;
}

void parseTableList(char* line, ClientState& state)
{
    LineFields fields(line);
    parseTableList(fields, state);
}

} // namespace tessaly
