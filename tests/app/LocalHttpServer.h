#pragma once
// A tiny HTTP/1.0 peer on loopback for the version-file and download
// tests: it answers each GET from a table of paths, one connection at a
// time, on a thread of its own so that a blocking client can talk to it.
// An answer may announce another length than it sends (a body cut short)
// and may send its body in pieces, calling `beforePiece` before each.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tessaly::testing {

class LocalHttpServer {
public:
    struct Answer {
        int status = 200;
        std::string body;
        bool silent = false;   // accept, read the request, never answer
        std::optional<std::size_t> announcedLength{};   // Content-Length, if not the body's
        std::size_t pieceSize = 0;                      // 0: the body in one piece
        std::function<void(std::size_t sentSoFar)> beforePiece{};
    };

    LocalHttpServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 8);
        socklen_t length = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~LocalHttpServer()
    {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void route(const std::string& path, Answer answer)
    {
        std::lock_guard lock(mutex_);
        routes_[path] = std::move(answer);
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::vector<std::string> requestedPaths() const
    {
        std::lock_guard lock(mutex_);
        return requested_;
    }

private:
    void serve()
    {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                answer(client);
                ::close(client);
            }
        }
    }

    void answer(int client)
    {
        std::string request;
        char chunk[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd p{client, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                return;
            const ssize_t n = ::read(client, chunk, sizeof chunk);
            if (n <= 0)
                return;
            request.append(chunk, static_cast<std::size_t>(n));
        }
        const std::size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Answer a{404, "<html>Not here</html>"};
        {
            std::lock_guard lock(mutex_);
            requested_.push_back(path);
            if (const auto it = routes_.find(path); it != routes_.end())
                a = it->second;
        }
        if (a.silent) {
            while (!stop_) {
                pollfd p{client, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0 && ::read(client, chunk, sizeof chunk) <= 0)
                    return;
            }
            return;
        }
        const std::string head = "HTTP/1.0 " + std::to_string(a.status) + " X\r\nContent-Length: " +
                                 std::to_string(a.announcedLength.value_or(a.body.size())) +
                                 "\r\nConnection: close\r\n\r\n";
        if (!sendAll(client, head))
            return;
        const std::size_t piece = a.pieceSize == 0 ? a.body.size() : a.pieceSize;
        for (std::size_t at = 0; at < a.body.size(); at += piece) {
            if (a.beforePiece)
                a.beforePiece(at);
            if (!sendAll(client, std::string_view(a.body).substr(at, piece)))
                return;
        }
    }

    static bool sendAll(int client, std::string_view data)
    {
        for (std::size_t sent = 0; sent < data.size();) {
            const ssize_t n = ::send(client, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    int fd_ = -1;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Answer> routes_;
    std::vector<std::string> requested_;
    std::thread thread_;
};

// A loopback port with nothing listening on it.
inline std::string closedPortUrl()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t length = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
    ::close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
}

} // namespace tessaly::testing
