#pragma once
// The game port: accepts connections, frames their messages for the room
// and queues the room's lines for them. Nothing here ever blocks: a client
// that does not read fills its own queue and is dropped, it cannot hold up
// the tables.

#include "server/game/Room.h"
#include "server/net/ConnectionLog.h"
#include "server/net/EventLoop.h"
#include "server/net/LineFramer.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace tessaly::house {

struct GameServerLimits {
    std::size_t connectionsPerAddress = 32;
    std::size_t maxConnections = 512;
    std::size_t maxQueuedBytes = 4 << 20;
    // A connection may send this many messages a second on average, in
    // bursts of up to kBurst; further ones are dropped.
    double messagesPerSecond = 60;
    double burst = 200;
};

class GameServer : public RoomOutput {
public:
    GameServer(EventLoop& loop, GameServerLimits limits, std::string logDir);
    ~GameServer() override;

    // Binds and listens; returns the port (the chosen one for port 0).
    int listen(const std::string& address, int port);
    void attach(Room& room) { room_ = &room; }

    void send(ConnId conn, const std::string& line) override;
    void close(ConnId conn) override;

    // Writes what it can of every queue, then closes all connections.
    void closeAll(std::chrono::milliseconds flushFor);
    std::size_t connectionCount() const { return connections_.size(); }

private:
    struct Connection {
        ConnId id;
        int fd;
        std::string peer;
        LineFramer framer;
        std::string out;
        bool closing = false;
        double tokens;
        std::chrono::steady_clock::time_point refilled;
        std::unique_ptr<ConnectionLog> log;
    };

    void accept();
    void onReady(ConnId id, EventLoop::Ready r);
    void readFrom(Connection& c);
    bool flush(Connection& c);
    void drop(ConnId id);

    EventLoop& loop_;
    GameServerLimits limits_;
    std::string logDir_;
    Room* room_ = nullptr;
    int listenFd_ = -1;
    ConnId nextId_ = 1;
    std::map<ConnId, std::unique_ptr<Connection>> connections_;
    std::map<std::string, std::size_t> perAddress_;
};

} // namespace tessaly::house
