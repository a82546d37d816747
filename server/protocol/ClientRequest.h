#pragma once
// The client's messages as the house reads them: the keyword and its
// tab-separated fields, with the carriage return before the NUL optional
// ("LIST_TABLES" and "JOIN_GAME:" come without one).

#include <string_view>
#include <vector>

namespace tessaly::house {

enum class Request {
    Unknown,
    Login,
    Register,
    ListTables,
    RequestPlayers,
    WatchTable,
    JoinGame,
    AccountBalance,
    Reply,
    PostBigBlind,
    PostSmallBlind,
    NoPost,
    BragOkay,
    ShowLost,
    DealMeOut,
    ImBack,
    CloseWindow,
    SendMessage,
    Entropy,
    QuickCashier,
    QuickChips,
    ReloadMoney,
};

struct ClientLine {
    Request kind = Request::Unknown;
    std::string_view text;                // the whole line, without its carriage return
    std::vector<std::string_view> fields; // after the keyword; empty fields kept
};

// line: one message without its NUL. The views point into line.
ClientLine parseClientLine(std::string_view line);

// A chat line's text: everything after the sender and table fields, less
// the tab the client puts after it. Tabs inside the text are kept.
std::string_view chatTextOf(const ClientLine& line);

} // namespace tessaly::house
