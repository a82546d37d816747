#pragma once
// Everything the client knows: the 50 table records and the process-wide
// session values. The application owns the one instance and passes it by
// reference to the dispatcher and to every window; a test makes its own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "client/net/Protocol.h"
#include "client/table/FixedText.h"
#include "client/table/Hotkeys.h"
#include "client/table/TableState.h"

namespace tessaly {

// One entry of the player list of the table last asked for, shown under
// "#", "Name" and "$".
struct PlayerListEntry {
    FixedText<128> number;
    FixedText<256> name;
    FixedText<128> amount;

    bool operator==(const PlayerListEntry&) const = default;
};

struct SessionValues {
    std::int32_t loggedIn = 0;
    FixedText<256> screenName;           // written by the login dialog
    std::int32_t registrationDone = 0;
    float playMoneyBalance = 0.0f;
    float balanceSecondAmount = 0.0f;    // second amount of "YOUR_MONEY_PM:", kept and not used
    std::int32_t balanceArrived = 0;     // cleared by the table window that opens a buy-in
    std::int32_t seatedSomewhere = 0;
    FixedText<256> cashierEmail;
    float cashierAvailable = 0.0f;
    float cashierInAction = 0.0f;
    float cashierTotal = 0.0f;
    // One word per view waiting for the cashier figures: the view sets its
    // word to 1 when it asks, the figures set all four to 0, the view shows
    // them and sets its word to 2.
    std::array<std::int32_t, 4> cashierReplyState{};
    std::array<PlayerListEntry, kMaxPlayerListEntries> playerList{};
    std::int32_t playerListCount = 0;
    std::int32_t playerListReady = 0;    // cleared by the lobby after showing the list
    std::int32_t tableCount = 0;
    std::int32_t tableListRequested = 0; // set by whoever sends "LIST_TABLES", cleared by the lobby
    std::int32_t tableListComplete = 0;  // cleared when "LIST_TABLES" is sent
    FixedText<128> serverTimeText;
    std::int32_t liveUsers = 0;
    std::int32_t liveTables = 0;
    std::vector<std::string> openTableNames;   // tables whose windows are open
    std::int32_t pendingJoin = 0;        // a seat click made before login, resumed after it
    std::int32_t pendingSeat = 0;
    // "Draw smiley's (chat box)": read by the chat views, restored from
    // "settings.txt" at start-up.
    std::int32_t smileysShown = 1;

    bool operator==(const SessionValues&) const = default;
};

struct ClientState {
    std::array<TableState, kTableCount> tables{};
    SessionValues session;
    TablePreferences preferences;

    bool operator==(const ClientState&) const = default;
};

} // namespace tessaly
