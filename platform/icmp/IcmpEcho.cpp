#include "platform/icmp/IcmpEcho.h"

#include <arpa/inet.h>
#include <cerrno>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <vector>

namespace tessaly {
namespace {

// ICMP message types.
constexpr std::uint8_t kUnreachableType = 3, kSourceQuenchType = 4, kTimeExceededType = 11, kParameterProblemType = 12;

using Clock = std::chrono::steady_clock;

std::uint32_t elapsedMs(Clock::time_point since)
{
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Raw sockets see every echo reply of the host, so each port has its own
// identifier; the datagram socket's kernel picks one of its own anyway.
std::uint16_t nextIdentifier()
{
    static std::atomic<unsigned> ports{0};
    return static_cast<std::uint16_t>((static_cast<unsigned>(::getpid()) + ++ports * 0x1F3u) & 0xFFFFu);
}

} // namespace

int statusForIcmpError(std::uint8_t type, std::uint8_t code)
{
    using namespace ipstatus;
    switch (type) {
    case kTimeExceededType: return code == 0 ? kTtlExpiredTransit : kTtlExpiredReassembly;
    case kSourceQuenchType: return kSourceQuench;
    case kParameterProblemType: return kParamProblem;
    case kUnreachableType:
        switch (code) {
        case 0:    // net unreachable
        case 6:    // net unknown
        case 9:    // net administratively prohibited
        case 11:   // net unreachable for the type of service
            return kDestNetUnreachable;
        case 2: return kDestProtUnreachable;
        case 3: return kDestPortUnreachable;
        case 4: return kPacketTooBig;
        case 5: return kBadRoute;   // source route failed
        default: return kDestHostUnreachable;
        }
    default: return kGeneralFailure;
    }
}

int statusForSendError(int error)
{
    using namespace ipstatus;
    switch (error) {
    case ENETUNREACH: return kDestNetUnreachable;
    case EHOSTUNREACH:
    case EHOSTDOWN: return kDestHostUnreachable;
    case ENOBUFS:
    case ENOMEM: return kNoResources;
    case EMSGSIZE: return kPacketTooBig;
    default: return kGeneralFailure;
    }
}

std::unique_ptr<SystemEchoPort> SystemEchoPort::open(IcmpSocketKind kind, int& error)
{
    const OpenedIcmpSocket socket = openIcmpSocket(kind, error);
    if (socket.fd < 0)
        return nullptr;
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        error = errno;
        ::close(socket.fd);
        return nullptr;
    }
    if (socket.layout == DatagramLayout::IcmpOnly) {
        // The errors that concern this socket's requests come on its error
        // queue, with the address of the router that sent them.
        const int on = 1;
        ::setsockopt(socket.fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
    }
    return std::unique_ptr<SystemEchoPort>(new SystemEchoPort(socket, wake));
}

SystemEchoPort::SystemEchoPort(OpenedIcmpSocket socket, int wakeFd)
    : socket_(socket), wakeFd_(wakeFd), identifier_(nextIdentifier())
{
}

SystemEchoPort::~SystemEchoPort()
{
    ::close(socket_.fd);
    ::close(wakeFd_);
}

EchoResult SystemEchoPort::echo(std::uint32_t address, std::uint8_t ttl, std::uint32_t timeoutMs,
                                std::span<const std::uint8_t> data, std::stop_token stop)
{
    EchoResult result;
    const std::uint16_t sequence = ++sequence_;
    const std::vector<std::uint8_t> packet = buildEchoPacket(identifier_, sequence, data);
    const int hops = ttl;
    ::setsockopt(socket_.fd, IPPROTO_IP, IP_TTL, &hops, sizeof hops);

    // A stop request wakes the wait below through the event descriptor.
    const std::stop_callback wake(stop, [this] {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    });

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    const Clock::time_point start = Clock::now();
    if (::sendto(socket_.fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        result.status = statusForSendError(errno);
        return result;
    }
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
    while (!stop.stop_requested()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        std::array<pollfd, 2> waits{{{socket_.fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}}};
        const int n = ::poll(waits.data(), waits.size(), static_cast<int>(left));
        if (n < 0 && errno != EINTR)
            break;
        if (n <= 0 || (waits[1].revents & POLLIN))
            continue;
        const bool answered = (waits[0].revents & POLLERR) ? readErrorQueue(sequence, result)
                                                          : readAnswer(sequence, result);
        if (answered) {
            result.roundTripMs = elapsedMs(start);
            return result;
        }
    }
    std::uint64_t drained = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &drained, sizeof drained);
    return EchoResult{};
}

bool SystemEchoPort::readAnswer(std::uint16_t sequence, EchoResult& result)
{
    std::array<std::uint8_t, 1024> buffer{};
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    const ssize_t n = ::recvfrom(socket_.fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&sender), &length);
    if (n < 0)
        return false;   // a pending socket error; the error queue tells the rest
    const auto icmp = icmpPart(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)),
                               socket_.layout);
    const IcmpAnswer answer = readIcmpAnswer(icmp);
    // The datagram socket's kernel has already matched the identifier.
    const bool ours = answer.sequence == sequence &&
                      (socket_.layout == DatagramLayout::IcmpOnly || answer.identifier == identifier_);
    if (!ours || answer.kind == IcmpAnswer::Kind::Other)
        return false;
    result.from = sender.sin_addr.s_addr;
    result.status = answer.kind == IcmpAnswer::Kind::EchoReply ? ipstatus::kSuccess
                                                               : statusForIcmpError(answer.type, answer.code);
    return true;
}

bool SystemEchoPort::readErrorQueue(std::uint16_t sequence, EchoResult& result)
{
    // The queued error carries the request it answers (from its ICMP header
    // on) and, in a control message, the ICMP type, code and sender.
    std::array<std::uint8_t, 576> quoted{};
    std::array<char, 512> control{};
    iovec io{quoted.data(), quoted.size()};
    msghdr message{};
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    const ssize_t n = ::recvmsg(socket_.fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (n < 0)
        return false;
    if (rawSequenceAt(std::span<const std::uint8_t>(quoted.data(), static_cast<std::size_t>(n))) != sequence)
        return false;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
        if (error->ee_origin == SO_EE_ORIGIN_ICMP) {
            result.status = statusForIcmpError(error->ee_type, error->ee_code);
            const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
            result.from = offender->sin_family == AF_INET ? offender->sin_addr.s_addr : 0;
        } else {
            result.status = statusForSendError(static_cast<int>(error->ee_errno));
        }
        return true;
    }
    return false;
}

} // namespace tessaly
