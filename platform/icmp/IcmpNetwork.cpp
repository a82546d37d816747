#include "platform/icmp/IcmpNetwork.h"

#include <arpa/inet.h>
#include <cerrno>
#include <linux/icmp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace tessaly {
namespace {

class PosixIcmpSocket final : public IcmpSocket {
public:
    PosixIcmpSocket(int fd, DatagramLayout layout) : fd_(fd), layout_(layout) {}
    ~PosixIcmpSocket() override { ::close(fd_); }
    PosixIcmpSocket(const PosixIcmpSocket&) = delete;
    PosixIcmpSocket& operator=(const PosixIcmpSocket&) = delete;

    DatagramLayout layout() const override { return layout_; }

    std::uint16_t replyIdentifier(std::uint16_t requested) const override
    {
        if (layout_ == DatagramLayout::WithIpHeader)
            return requested;
        // The datagram socket's "port" is the identifier the kernel wrote
        // into the request, in the same raw byte order.
        sockaddr_in local{};
        socklen_t length = sizeof local;
        if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) != 0)
            return requested;
        return local.sin_port;
    }

    int sendTo(std::span<const std::uint8_t> packet, std::uint32_t address) override
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        const ssize_t sent = ::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                                      sizeof to);
        return sent < 0 ? errno : 0;
    }

    Wait waitReadable(std::uint32_t timeoutMs, int& error) override
    {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            const int n = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
            if (n > 0)
                return Wait::Readable;
            if (n == 0)
                return Wait::TimedOut;
            if (errno != EINTR) {   // a signal is no reason to give up the wait
                error = errno;
                return Wait::Failed;
            }
        }
    }

    long receive(std::span<std::uint8_t> buffer, std::uint32_t& from, int& error) override
    {
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender),
                                     &length);
        if (n < 0) {
            error = errno;
            return -1;
        }
        from = sender.sin_addr.s_addr;
        return static_cast<long>(n);
    }

private:
    int fd_;
    DatagramLayout layout_;
};

} // namespace

bool SystemIcmpNetwork::resolve(const std::string& host, std::uint32_t& address, int& error)
{
    in_addr numeric{};
    if (::inet_aton(host.c_str(), &numeric) != 0) {
        address = numeric.s_addr;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_RAW;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0 || found == nullptr) {
        error = status != 0 ? status : EAI_NONAME;
        return false;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return true;
}

OpenedIcmpSocket openIcmpSocket(IcmpSocketKind kind, int& error)
{
    if (kind != IcmpSocketKind::Datagram) {
        const int raw = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (raw >= 0) {
            // Over loopback the raw socket also receives our own requests;
            // they are not answers, so echo requests are filtered out.
            icmp_filter filter{};
            filter.data = 1u << ICMP_ECHO;
            ::setsockopt(raw, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
            return {raw, DatagramLayout::WithIpHeader};
        }
        error = errno;
        if (kind == IcmpSocketKind::Raw)
            return {};
    }
    const int datagram = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (datagram < 0) {
        if (kind == IcmpSocketKind::Datagram)
            error = errno;
        return {};
    }
    return {datagram, DatagramLayout::IcmpOnly};
}

std::unique_ptr<IcmpSocket> SystemIcmpNetwork::open(int& error)
{
    const OpenedIcmpSocket opened = openIcmpSocket(IcmpSocketKind::Any, error);
    if (opened.fd < 0)
        return nullptr;
    return std::make_unique<PosixIcmpSocket>(opened.fd, opened.layout);
}

} // namespace tessaly
