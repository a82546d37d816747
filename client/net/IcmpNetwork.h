#pragma once
// The probe's system side: ICMP sockets over POSIX and the monotonic clock.
//
// Socket choice: a raw ICMP socket first, so the request goes out exactly as
// built and the first datagram that arrives decides, as the probe expects.
// Where raw sockets are refused (no CAP_NET_RAW), the unprivileged ICMP
// datagram socket is used when net.ipv4.ping_group_range admits the user;
// the kernel then replaces the identifier with the socket's own, strips the
// IP header from what it delivers and passes on only replies to this socket.
// Where neither may be opened the probe fails quietly with the raw socket's
// errno and start-up goes on.

#include "client/net/LatencyProbe.h"

namespace tessaly {

class SystemIcmpNetwork final : public IcmpNetwork {
public:
    bool resolve(const std::string& host, std::uint32_t& address, int& error) override;
    std::unique_ptr<IcmpSocket> open(int& error) override;
};

class SystemProbeClock final : public ProbeClock {
public:
    std::uint64_t frequency() override;
    std::uint64_t counter() override;
    std::uint32_t tickCount() override;
};

} // namespace tessaly
