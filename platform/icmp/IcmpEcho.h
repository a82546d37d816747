#pragma once
// ICMP echoes with a time to live, and their outcomes as IP status codes:
// what the network monitor's workers send, one socket per worker.
//
// An echo is answered by the destination (status 0, its address and the
// round trip), or by a router on the way with an error message that quotes
// the request ("time exceeded in transit" 11013, "net unreachable" 11002,
// "host unreachable" 11003 ...; the router's address), or not at all within
// the timeout (11010). Errors of the local send map to codes too, and
// anything without a code of its own is the general failure 11050.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
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
    std::uint32_t roundTripUs = 0;         // microseconds
};

// The code of an ICMP error message (type, code) that quotes our request.
int statusForIcmpError(std::uint8_t type, std::uint8_t code);
// The code of a failed local send (an errno).
int statusForSendError(int error);

// One request on its way: its sequence number, or the status of a send
// that failed at once (then nothing will answer it).
struct EchoSent {
    std::uint16_t sequence = 0;
    int status = ipstatus::kSuccess;
};

// An answer to one of a port's requests, by its sequence number.
struct EchoAnswer {
    std::uint16_t sequence = 0;
    EchoResult result;
};

// Sending and receiving are apart, so a worker can keep several requests on
// their way (several hops of a route) and take their answers as they come.
class EchoPort {
public:
    virtual ~EchoPort() = default;
    virtual EchoSent send(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data) = 0;
    // The next answer to any request of this port, its round trip measured
    // from its own send; nullopt when none came within timeoutMs or a stop
    // was requested.
    virtual std::optional<EchoAnswer> receive(std::uint32_t timeoutMs, std::stop_token stop) = 0;

    // One request and the wait for its own answer up to timeoutMs (answers
    // to earlier requests are passed over). A stop request ends the wait at
    // once (the result is then "timed out" and means nothing).
    EchoResult echo(std::uint32_t address, std::uint8_t ttl, std::uint32_t timeoutMs,
                    std::span<const std::uint8_t> data, std::stop_token stop);
};

class SystemEchoPort final : public EchoPort {
public:
    // nullptr with the errno of the refusal when no socket of that kind may
    // be opened.
    static std::unique_ptr<SystemEchoPort> open(IcmpSocketKind kind, int& error);
    ~SystemEchoPort() override;
    SystemEchoPort(const SystemEchoPort&) = delete;
    SystemEchoPort& operator=(const SystemEchoPort&) = delete;

    EchoSent send(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data) override;
    std::optional<EchoAnswer> receive(std::uint32_t timeoutMs, std::stop_token stop) override;

    DatagramLayout layout() const { return socket_.layout; }

private:
    // Round trips run from the send to the kernel's time of arrival, so an
    // answer read late (its worker busy with a name lookup) is not made
    // longer; the kernel stamps arrivals on the wall clock.
    using Clock = std::chrono::system_clock;
    struct Sent {
        std::uint16_t sequence = 0;
        Clock::time_point at;
        bool open = false;
    };

    SystemEchoPort(OpenedIcmpSocket socket, int wakeFd);
    // An answer to one of our open requests in the datagram waiting on the
    // socket, or on its error queue.
    std::optional<EchoAnswer> readAnswer();
    std::optional<EchoAnswer> readErrorQueue();
    // True when an error waits on the socket's error queue.
    bool errorQueued() const;
    // Closes the request and gives its round trip; nullopt when it is not
    // one of ours, or was answered already.
    std::optional<std::uint32_t> closeRequest(std::uint16_t sequence, Clock::time_point arrived);

    OpenedIcmpSocket socket_;
    int wakeFd_;
    std::uint16_t identifier_;
    std::uint16_t sequence_ = 0;
    // The latest requests, by sequence modulo the size: far more than a
    // worker keeps on their way at once.
    std::array<Sent, 64> sent_{};
};

} // namespace tessaly
