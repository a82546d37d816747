#include "platform/icmp/IcmpEcho.h"

#include <arpa/inet.h>
#include <cerrno>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

namespace tessaly {
namespace {

// ICMP message types.
constexpr std::uint8_t kUnreachableType = 3, kSourceQuenchType = 4, kTimeExceededType = 11, kParameterProblemType = 12;

// Raw sockets see every echo reply of the host, so each port has its own
// identifier; the datagram socket's kernel picks one of its own anyway.
std::uint16_t nextIdentifier()
{
    static std::atomic<unsigned> ports{0};
    return static_cast<std::uint16_t>((static_cast<unsigned>(::getpid()) + ++ports * 0x1F3u) & 0xFFFFu);
}

// The kernel's time of arrival of a received message, else now.
std::chrono::system_clock::time_point arrival(msghdr& message)
{
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
        }
    }
    return std::chrono::system_clock::now();
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
    const int on = 1;
    ::setsockopt(socket.fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    if (socket.layout == DatagramLayout::IcmpOnly) {
        // The errors that concern this socket's requests come on its error
        // queue, with the address of the router that sent them.
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

EchoSent SystemEchoPort::send(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data)
{
    EchoSent sent{++sequence_, ipstatus::kSuccess};
    const std::vector<std::uint8_t> packet = buildEchoPacket(identifier_, sent.sequence, data);
    const int hops = ttl;
    ::setsockopt(socket_.fd, IPPROTO_IP, IP_TTL, &hops, sizeof hops);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    Sent& slot = sent_[sent.sequence % sent_.size()];
    slot = Sent{sent.sequence, Clock::now(), true};
    // The errno of a failed send, else 0.
    const auto sendOnce = [&] {
        return ::sendto(socket_.fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                        sizeof to) < 0 ? errno : 0;
    };
    int error = sendOnce();
    // An error answering an earlier request is also left pending on the
    // datagram socket, and the next send fails with it (and takes it) while
    // its details still wait on the error queue: that failure is not this
    // request's, so it is sent once more.
    if (error != 0 && errorQueued())
        error = sendOnce();
    if (error != 0) {
        sent.status = statusForSendError(error);
        slot.open = false;
    }
    return sent;
}

bool SystemEchoPort::errorQueued() const
{
    pollfd socket{socket_.fd, 0, 0};
    return ::poll(&socket, 1, 0) > 0 && (socket.revents & POLLERR) != 0;
}

std::optional<EchoAnswer> SystemEchoPort::receive(std::uint32_t timeoutMs, std::stop_token stop)
{
    // A stop request wakes the wait below through the event descriptor.
    const std::stop_callback wake(stop, [this] {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    });
    using Steady = std::chrono::steady_clock;
    const Steady::time_point deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    // The socket is looked at once even with no time to wait.
    for (bool first = true; !stop.stop_requested(); first = false) {
        // Rounded up, so the wait never ends a little before the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
        if (left <= 0 && !first)
            break;
        std::array<pollfd, 2> waits{{{socket_.fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}}};
        const int n = ::poll(waits.data(), waits.size(), static_cast<int>(std::max<long long>(left, 0)));
        if (n < 0 && errno != EINTR)
            break;
        if (n <= 0 || (waits[1].revents & POLLIN))
            continue;
        const std::optional<EchoAnswer> answer =
            (waits[0].revents & POLLERR) ? readErrorQueue() : readAnswer();
        if (answer)
            return answer;
    }
    std::uint64_t drained = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &drained, sizeof drained);
    return std::nullopt;
}

std::optional<std::uint32_t> SystemEchoPort::closeRequest(std::uint16_t sequence, Clock::time_point arrived)
{
    Sent& slot = sent_[sequence % sent_.size()];
    if (!slot.open || slot.sequence != sequence)
        return std::nullopt;
    slot.open = false;
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(arrived - slot.at).count();
    return static_cast<std::uint32_t>(std::max<long long>(us, 0));   // a clock set back: no negative trips
}

std::optional<EchoAnswer> SystemEchoPort::readAnswer()
{
    std::array<std::uint8_t, 1024> buffer{};
    std::array<char, 256> control{};
    sockaddr_in sender{};
    iovec io{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    const ssize_t n = ::recvmsg(socket_.fd, &message, MSG_DONTWAIT);
    if (n < 0)
        return std::nullopt;   // a pending socket error; the error queue tells the rest
    const auto icmp = icmpPart(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)),
                               socket_.layout);
    const IcmpAnswer answer = readIcmpAnswer(icmp);
    // The datagram socket's kernel has already matched the identifier.
    const bool ours = socket_.layout == DatagramLayout::IcmpOnly || answer.identifier == identifier_;
    if (!ours || answer.kind == IcmpAnswer::Kind::Other)
        return std::nullopt;
    const std::optional<std::uint32_t> roundTrip = closeRequest(answer.sequence, arrival(message));
    if (!roundTrip)
        return std::nullopt;
    EchoAnswer result{answer.sequence, {}};
    result.result.from = sender.sin_addr.s_addr;
    result.result.status = answer.kind == IcmpAnswer::Kind::EchoReply ? ipstatus::kSuccess
                                                                      : statusForIcmpError(answer.type, answer.code);
    result.result.roundTripUs = *roundTrip;
    return result;
}

std::optional<EchoAnswer> SystemEchoPort::readErrorQueue()
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
        return std::nullopt;
    const Clock::time_point arrived = arrival(message);
    const std::uint16_t sequence =
        rawSequenceAt(std::span<const std::uint8_t>(quoted.data(), static_cast<std::size_t>(n)));
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        const std::optional<std::uint32_t> roundTrip = closeRequest(sequence, arrived);
        if (!roundTrip)
            return std::nullopt;
        EchoAnswer result{sequence, {}};
        const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
        if (error->ee_origin == SO_EE_ORIGIN_ICMP) {
            result.result.status = statusForIcmpError(error->ee_type, error->ee_code);
            const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
            result.result.from = offender->sin_family == AF_INET ? offender->sin_addr.s_addr : 0;
        } else {
            result.result.status = statusForSendError(static_cast<int>(error->ee_errno));
        }
        result.result.roundTripUs = *roundTrip;
        return result;
    }
    return std::nullopt;
}

EchoResult EchoPort::echo(std::uint32_t address, std::uint8_t ttl, std::uint32_t timeoutMs,
                          std::span<const std::uint8_t> data, std::stop_token stop)
{
    using Clock = std::chrono::steady_clock;
    const EchoSent sent = send(address, ttl, data);
    if (sent.status != ipstatus::kSuccess)
        return EchoResult{sent.status, 0, 0};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!stop.stop_requested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        const std::optional<EchoAnswer> answer = receive(static_cast<std::uint32_t>(left), stop);
        if (!answer)
            break;
        if (answer->sequence == sent.sequence)
            return answer->result;
    }
    return EchoResult{};
}

} // namespace tessaly
