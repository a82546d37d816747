#pragma once
// The start-up latency probe: one ICMP echo to a reference host, timed with
// the monotonic clock, and the gate that refuses a connection that answers
// too slowly.
//
// The socket and the clock sit behind two small interfaces so the probe's
// steps can be driven with scripted datagrams; platform/icmp/IcmpNetwork.h
// and SystemProbeClock.h have the system implementations.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/icmp/IcmpNetwork.h"

namespace tessaly {

struct ProbeResult {
    std::uint32_t address = 0;       // responder's IPv4 address, network byte order as received
    std::uint32_t roundTripMs = 0;
};

// Last-error values the probe sets itself. Every other failure keeps the
// errno of the system call that failed (for a failed name lookup, the
// resolver's EAI_ code).
inline constexpr int kProbeNoBufferSpace = 10055;     // payload below 8 bytes
inline constexpr int kProbeTimedOut = 10060;          // no datagram within the timeout
inline constexpr int kProbeUnexpectedReply = 59;      // the first datagram was not our echo reply

// What the start-up gate passes to `probe`, and its limit.
inline constexpr int kGateProbeCount = 10;
inline constexpr std::uint32_t kGateTimeoutMs = 5000;
inline constexpr std::uint8_t kGatePayloadSize = 32;
inline constexpr std::uint32_t kGateLimitMs = 1000;

inline constexpr const char* kSlowConnectionMessage =
    "We are sorry but we can't generate a fast enough connection for you. It may be because you took to "
    "long to enable your firewall to allow the connection. Please contact your internet admin to check "
    "your internet connection or try again.";
inline constexpr const char* kSlowConnectionCaption = "Tessaly Message";

// True when the client must not start: a valid reply that took longer than
// the limit. A failed probe never refuses.
bool latencyGateRefuses(bool probed, const ProbeResult& result);

class ProbeClock {
public:
    virtual ~ProbeClock() = default;
    // Counts per second of counter(); 0 when there is no such counter.
    virtual std::uint64_t frequency() = 0;
    virtual std::uint64_t counter() = 0;
    // Milliseconds, for the request's timestamp field.
    virtual std::uint32_t tickCount() = 0;
};

class LatencyProbe {
public:
    LatencyProbe(IcmpNetwork& network, ProbeClock& clock);

    // Sends exactly one echo request (count is accepted and not used) and
    // decides on the first datagram that arrives. True with result filled
    // when it was this process's echo reply; false with lastError() set.
    bool probe(const std::string& host, ProbeResult& result, int count, std::uint32_t timeoutMs,
               std::uint8_t payloadSize);

    int lastError() const { return lastError_; }

private:
    bool fail(int error);

    IcmpNetwork& network_;
    ProbeClock& clock_;
    bool setupDone_ = false;
    std::uint64_t frequency_ = 0;
    int lastError_ = 0;
};

} // namespace tessaly
