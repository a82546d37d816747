#pragma once
// Where a table's lines go: its watchers (seated people watch too), one
// connection, or the dealer's voice in the chat.

#include "server/game/TableHost.h"

#include <set>
#include <string>
#include <string_view>

namespace tessaly::house {

class TableChannel {
public:
    TableChannel(int table, TableHost& host) : table_(table), host_(host) {}

    int table() const { return table_; }
    TableHost& host() { return host_; }
    AccountStore& accounts() { return host_.accounts(); }

    void watch(ConnId conn) { watchers_.insert(conn); }
    void unwatch(ConnId conn) { watchers_.erase(conn); }
    const std::set<ConnId>& watchers() const { return watchers_; }

    void broadcast(const std::string& line);
    // conn 0 is a bot, who is told nothing.
    void sendTo(ConnId conn, const std::string& line);
    void dealerSays(const std::string& text);
    void chat(std::string_view sender, std::string_view text);

private:
    int table_;
    TableHost& host_;
    std::set<ConnId> watchers_;
};

} // namespace tessaly::house
