#pragma once
// ICMP sockets over POSIX: the one place that opens them, for the latency
// probe and for the network monitor.
//
// Socket choice: a raw ICMP socket first, so requests go out exactly as
// built and every ICMP message for the host arrives, including the "time
// exceeded" and "unreachable" messages that quote a request. Where raw
// sockets are refused (no CAP_NET_RAW), the unprivileged ICMP datagram
// socket is used when net.ipv4.ping_group_range admits the user; the kernel
// then replaces the identifier with the socket's own, strips the IP header
// from what it delivers, passes on only replies to this socket, and queues
// the error messages that concern it on the socket's error queue
// (IP_RECVERR, read with MSG_ERRQUEUE). Where neither may be opened the
// caller gets the raw socket's errno.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/icmp/EchoPacket.h"

namespace tessaly {

// One open ICMP socket, as the latency probe uses it.
class IcmpSocket {
public:
    virtual ~IcmpSocket() = default;
    virtual DatagramLayout layout() const = 0;
    // The identifier that replies to a request sent with `requested` carry.
    virtual std::uint16_t replyIdentifier(std::uint16_t requested) const = 0;
    // 0, or the error.
    virtual int sendTo(std::span<const std::uint8_t> packet, std::uint32_t address) = 0;
    enum class Wait { Readable, TimedOut, Failed };
    virtual Wait waitReadable(std::uint32_t timeoutMs, int& error) = 0;
    // The datagram's length in buffer, or -1 with the error set.
    virtual long receive(std::span<std::uint8_t> buffer, std::uint32_t& from, int& error) = 0;
};

class IcmpNetwork {
public:
    virtual ~IcmpNetwork() = default;
    // A dotted IPv4 address, else the first IPv4 address of the name.
    virtual bool resolve(const std::string& host, std::uint32_t& address, int& error) = 0;
    // nullptr with the error when no ICMP socket may be opened.
    virtual std::unique_ptr<IcmpSocket> open(int& error) = 0;
};

class SystemIcmpNetwork final : public IcmpNetwork {
public:
    bool resolve(const std::string& host, std::uint32_t& address, int& error) override;
    std::unique_ptr<IcmpSocket> open(int& error) override;
};

// Which socket to open: the raw one where allowed, else the datagram one
// (Any), or only the one named.
enum class IcmpSocketKind { Any, Raw, Datagram };

// An open descriptor (close it with ::close) and how its datagrams are laid
// out; fd -1 with the errno of the first refusal when none may be opened.
struct OpenedIcmpSocket {
    int fd = -1;
    DatagramLayout layout = DatagramLayout::WithIpHeader;
};
OpenedIcmpSocket openIcmpSocket(IcmpSocketKind kind, int& error);

} // namespace tessaly
