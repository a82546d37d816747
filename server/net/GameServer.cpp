#include "server/net/GameServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tessaly::house {
namespace {

constexpr std::size_t kReadChunk = 16384;
constexpr int kReadsPerWake = 4;

std::string peerAddress(const sockaddr_storage& addr)
{
    char host[INET6_ADDRSTRLEN] = "?";
    if (addr.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(addr).sin_addr, host, sizeof host);
    else if (addr.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(addr).sin6_addr, host, sizeof host);
    return host;
}

} // namespace

GameServer::GameServer(EventLoop& loop, GameServerLimits limits, std::string logDir)
    : loop_(loop), limits_(limits), logDir_(std::move(logDir))
{
}

GameServer::~GameServer()
{
    for (auto& [id, c] : connections_) {
        loop_.unwatch(c->fd);
        ::close(c->fd);
    }
    if (listenFd_ >= 0) {
        loop_.unwatch(listenFd_);
        ::close(listenFd_);
    }
}

int GameServer::listen(const std::string& address, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(address.c_str(), service.c_str(), &hints, &found) != 0 || !found)
        throw std::runtime_error("cannot use the address " + address);
    const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int yes = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
        bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 128) != 0) {
        const std::string why = std::strerror(errno);
        freeaddrinfo(found);
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot listen on " + address + " port " + service + ": " + why);
    }
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    listenFd_ = fd;
    loop_.watch(fd, false, [this](EventLoop::Ready) { accept(); });
    return bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6&>(bound).sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in&>(bound).sin_port);
}

void GameServer::accept()
{
    for (;;) {
        sockaddr_storage addr{};
        socklen_t length = sizeof addr;
        const int fd = accept4(listenFd_, reinterpret_cast<sockaddr*>(&addr), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // EAGAIN, or a connection that went away meanwhile
        const std::string peer = peerAddress(addr);
        if (connections_.size() >= limits_.maxConnections || perAddress_[peer] >= limits_.connectionsPerAddress) {
            ::close(fd);
            continue;
        }
        const int yes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        auto c = std::make_unique<Connection>();
        c->id = nextId_++;
        c->fd = fd;
        c->peer = peer;
        c->tokens = limits_.burst;
        c->refilled = loop_.now();
        if (!logDir_.empty())
            c->log = std::make_unique<ConnectionLog>(logDir_, c->id, peer);
        const ConnId id = c->id;
        ++perAddress_[peer];
        connections_.emplace(id, std::move(c));
        loop_.watch(fd, false, [this, id](EventLoop::Ready r) { onReady(id, r); });
        if (room_)
            room_->connected(id);
    }
}

void GameServer::onReady(ConnId id, EventLoop::Ready r)
{
    auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    if (r.write && !flush(*it->second))
        return;
    if (r.read || r.error) {
        it = connections_.find(id);
        if (it != connections_.end())
            readFrom(*it->second);
    }
}

void GameServer::readFrom(Connection& c)
{
    const ConnId id = c.id;
    char buffer[kReadChunk];
    std::vector<std::string> messages;
    for (int i = 0; i < kReadsPerWake; ++i) {
        const ssize_t n = recv(c.fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            drop(id);
            return;
        }
        if (n < 0)
            break;
        c.framer.feed(std::string_view(buffer, static_cast<std::size_t>(n)), messages);
        if (static_cast<std::size_t>(n) < sizeof buffer)
            break;
    }
    for (const std::string& m : messages) {
        auto it = connections_.find(id);
        if (it == connections_.end())
            return;
        Connection& conn = *it->second;
        const auto now = loop_.now();
        const double elapsed = std::chrono::duration<double>(now - conn.refilled).count();
        conn.tokens = std::min(limits_.burst, conn.tokens + elapsed * limits_.messagesPerSecond);
        conn.refilled = now;
        if (conn.log)
            conn.log->received(m);
        if (conn.tokens < 1 || conn.closing) {
            if (conn.log)
                conn.log->note("dropped: too many messages");
            continue;
        }
        conn.tokens -= 1;
        if (room_)
            room_->handle(id, m);
    }
}

bool GameServer::flush(Connection& c)
{
    while (!c.out.empty()) {
        const ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                break;
            drop(c.id);
            return false;
        }
        c.out.erase(0, static_cast<std::size_t>(n));
    }
    if (c.out.empty() && c.closing) {
        drop(c.id);
        return false;
    }
    loop_.setWantWrite(c.fd, !c.out.empty());
    return true;
}

void GameServer::send(ConnId conn, const std::string& line)
{
    const auto it = connections_.find(conn);
    if (it == connections_.end() || it->second->closing)
        return;
    Connection& c = *it->second;
    if (c.log)
        c.log->sent(line);
    c.out += line;
    if (c.out.size() > limits_.maxQueuedBytes) {
        if (c.log)
            c.log->note("dropped: the client does not read");
        // The room may be walking its watchers right now: the connection
        // goes once this call has returned.
        c.out.clear();
        c.closing = true;
        loop_.after(Millis(0), [this, conn] { drop(conn); });
        return;
    }
    loop_.setWantWrite(c.fd, true);
}

void GameServer::close(ConnId conn)
{
    const auto it = connections_.find(conn);
    if (it == connections_.end())
        return;
    it->second->closing = true;
    loop_.setWantWrite(it->second->fd, true);
}

void GameServer::drop(ConnId id)
{
    const auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    std::unique_ptr<Connection> c = std::move(it->second);
    connections_.erase(it);
    loop_.unwatch(c->fd);
    ::close(c->fd);
    if (--perAddress_[c->peer] == 0)
        perAddress_.erase(c->peer);
    if (room_)
        room_->disconnected(id);
}

void GameServer::closeAll(std::chrono::milliseconds flushFor)
{
    const auto deadline = loop_.now() + flushFor;
    while (loop_.now() < deadline) {
        std::vector<pollfd> fds;
        for (const auto& [id, c] : connections_) {
            if (!c->out.empty())
                fds.push_back({c->fd, POLLOUT, 0});
        }
        if (fds.empty())
            break;
        poll(fds.data(), fds.size(), 50);
        std::vector<ConnId> ids;
        for (const auto& [id, c] : connections_)
            ids.push_back(id);
        for (ConnId id : ids) {
            const auto it = connections_.find(id);
            if (it != connections_.end() && !it->second->out.empty())
                flush(*it->second);
        }
    }
    std::vector<ConnId> ids;
    for (const auto& [id, c] : connections_)
        ids.push_back(id);
    for (ConnId id : ids)
        drop(id);
}

} // namespace tessaly::house
