#pragma once
// One ICMP echo with a time to live, and its outcome as an IP status code:
// what the network monitor's workers send, one socket per worker.
//
// An echo is answered by the destination (status 0, its address and the
// round trip), or by a router on the way with an error message that quotes
// the request ("time exceeded in transit" 11013, "net unreachable" 11002,
// "host unreachable" 11003 ...; the router's address), or not at all within
// the timeout (11010). Errors of the local send map to codes too, and
// anything without a code of its own is the general failure 11050.

#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>

#include "platform/icmp/IcmpNetwork.h"

namespace tessaly {

namespace ipstatus {
inline constexpr int kSuccess = 0;
inline constexpr int kBase = 11000;
inline constexpr int kDestNetUnreachable = 11002;
inline constexpr int kDestHostUnreachable = 11003;
inline constexpr int kDestProtUnreachable = 11004;
inline constexpr int kDestPortUnreachable = 11005;
inline constexpr int kNoResources = 11006;
inline constexpr int kPacketTooBig = 11009;
inline constexpr int kReqTimedOut = 11010;
inline constexpr int kBadRoute = 11012;
inline constexpr int kTtlExpiredTransit = 11013;
inline constexpr int kTtlExpiredReassembly = 11014;
inline constexpr int kParamProblem = 11015;
inline constexpr int kSourceQuench = 11016;
inline constexpr int kLast = 11022;
inline constexpr int kGeneralFailure = 11050;
} // namespace ipstatus

struct EchoResult {
    int status = ipstatus::kReqTimedOut;   // 0 when the destination answered
    std::uint32_t from = 0;                // who answered, network byte order
    std::uint32_t roundTripMs = 0;
};

// The code of an ICMP error message (type, code) that quotes our request.
int statusForIcmpError(std::uint8_t type, std::uint8_t code);
// The code of a failed local send (an errno).
int statusForSendError(int error);

class EchoPort {
public:
    virtual ~EchoPort() = default;
    // Sends one echo request with this time to live and data and waits for
    // its answer up to timeoutMs. A stop request ends the wait at once (the
    // result is then "timed out" and means nothing).
    virtual EchoResult echo(std::uint32_t address, std::uint8_t ttl, std::uint32_t timeoutMs,
                            std::span<const std::uint8_t> data, std::stop_token stop) = 0;
};

class SystemEchoPort final : public EchoPort {
public:
    // nullptr with the errno of the refusal when no socket of that kind may
    // be opened.
    static std::unique_ptr<SystemEchoPort> open(IcmpSocketKind kind, int& error);
    ~SystemEchoPort() override;
    SystemEchoPort(const SystemEchoPort&) = delete;
    SystemEchoPort& operator=(const SystemEchoPort&) = delete;

    EchoResult echo(std::uint32_t address, std::uint8_t ttl, std::uint32_t timeoutMs,
                    std::span<const std::uint8_t> data, std::stop_token stop) override;

    DatagramLayout layout() const { return socket_.layout; }

private:
    SystemEchoPort(OpenedIcmpSocket socket, int wakeFd);
    // True when the datagram waiting on the socket answers `sequence`.
    bool readAnswer(std::uint16_t sequence, EchoResult& result);
    bool readErrorQueue(std::uint16_t sequence, EchoResult& result);

    OpenedIcmpSocket socket_;
    int wakeFd_;
    std::uint16_t identifier_;
    std::uint16_t sequence_ = 0;
};

} // namespace tessaly
