#pragma once
// A scripted ICMP network and clock for the latency probe: it records the
// request and hands back the datagrams and errors a test lines up.

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/net/LatencyProbe.h"

namespace tessaly::testing {

struct IcmpScript {
    bool resolves = true;
    int resolveError = -2;
    bool opens = true;
    int openError = 1;
    DatagramLayout layout = DatagramLayout::WithIpHeader;
    std::optional<std::uint16_t> kernelIdentifier;   // set: an ICMP datagram socket's own identifier
    int sendError = 0;
    IcmpSocket::Wait wait = IcmpSocket::Wait::Readable;
    int waitError = 0;
    int receiveError = 0;                             // non-zero: the receive fails
    std::vector<std::uint8_t> datagram;
    std::uint32_t from = 0;

    // What the probe did.
    std::string resolvedHost;
    std::uint32_t sentTo = 0;
    std::vector<std::uint8_t> sent;
    std::uint32_t waitedMs = 0;
    int socketsOpened = 0;
};

class FakeIcmpSocket final : public IcmpSocket {
public:
    explicit FakeIcmpSocket(IcmpScript& script) : s_(script) {}
    DatagramLayout layout() const override { return s_.layout; }
    std::uint16_t replyIdentifier(std::uint16_t requested) const override
    {
        return s_.kernelIdentifier.value_or(requested);
    }
    int sendTo(std::span<const std::uint8_t> packet, std::uint32_t address) override
    {
        s_.sent.assign(packet.begin(), packet.end());
        s_.sentTo = address;
        return s_.sendError;
    }
    Wait waitReadable(std::uint32_t timeoutMs, int& error) override
    {
        s_.waitedMs = timeoutMs;
        error = s_.waitError;
        return s_.wait;
    }
    long receive(std::span<std::uint8_t> buffer, std::uint32_t& from, int& error) override
    {
        if (s_.receiveError != 0) {
            error = s_.receiveError;
            return -1;
        }
        const std::size_t n = std::min(buffer.size(), s_.datagram.size());
        std::memcpy(buffer.data(), s_.datagram.data(), n);
        from = s_.from;
        return static_cast<long>(n);
    }

private:
    IcmpScript& s_;
};

class FakeIcmpNetwork final : public IcmpNetwork {
public:
    explicit FakeIcmpNetwork(IcmpScript& script) : s_(script) {}
    bool resolve(const std::string& host, std::uint32_t& address, int& error) override
    {
        s_.resolvedHost = host;
        if (!s_.resolves) {
            error = s_.resolveError;
            return false;
        }
        address = 0x0100007F;
        return true;
    }
    std::unique_ptr<IcmpSocket> open(int& error) override
    {
        if (!s_.opens) {
            error = s_.openError;
            return nullptr;
        }
        ++s_.socketsOpened;
        return std::make_unique<FakeIcmpSocket>(s_);
    }

private:
    IcmpScript& s_;
};

// Counts in microseconds; each counter() call advances by the next step.
class FakeProbeClock final : public ProbeClock {
public:
    std::uint64_t frequency() override { return hz; }
    std::uint64_t counter() override
    {
        const std::uint64_t now = position;
        if (!steps.empty()) {
            position += steps.front();
            steps.erase(steps.begin());
        }
        return now;
    }
    std::uint32_t tickCount() override { return ticks; }

    std::uint64_t hz = 1000000;
    std::uint64_t position = 5000;
    std::vector<std::uint64_t> steps;
    std::uint32_t ticks = 0x11223344;
};

// An echo reply as a raw socket delivers it: a 20-byte IPv4 header, then
// type, code, checksum, identifier (raw memory order), sequence.
inline std::vector<std::uint8_t> ipDatagram(std::uint8_t type, std::uint16_t identifier, std::size_t ipHeader = 20)
{
    std::vector<std::uint8_t> d(ipHeader + 8 + 32, 69);
    d[0] = static_cast<std::uint8_t>(0x40 | (ipHeader / 4));
    d[ipHeader] = type;
    d[ipHeader + 1] = 0;
    std::memcpy(d.data() + ipHeader + 4, &identifier, 2);
    return d;
}

} // namespace tessaly::testing
