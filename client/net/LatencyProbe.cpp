#include "client/net/LatencyProbe.h"

#include <unistd.h>

#include <array>

namespace tessaly {

bool latencyGateRefuses(bool probed, const ProbeResult& result)
{
    return probed && result.roundTripMs > kGateLimitMs;
}

LatencyProbe::LatencyProbe(IcmpNetwork& network, ProbeClock& clock) : network_(network), clock_(clock) {}

bool LatencyProbe::fail(int error)
{
    lastError_ = error;
    return false;
}

bool LatencyProbe::probe(const std::string& host, ProbeResult& result, int /*count*/, std::uint32_t timeoutMs,
                         std::uint8_t payloadSize)
{
    if (payloadSize < 8)
        return fail(kProbeNoBufferSpace);
    if (!setupDone_) {
        frequency_ = clock_.frequency();
        setupDone_ = true;
    }
    if (frequency_ == 0)
        return false;

    int error = 0;
    std::uint32_t address = 0;
    if (!network_.resolve(host, address, error))
        return fail(error);
    const std::unique_ptr<IcmpSocket> socket = network_.open(error);
    if (!socket)
        return fail(error);

    const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    const std::vector<std::uint8_t> packet = buildEchoRequest(identifier, clock_.tickCount(), payloadSize);

    const std::uint64_t start = clock_.counter();
    if ((error = socket->sendTo(packet, address)) != 0)
        return fail(error);
    switch (socket->waitReadable(timeoutMs, error)) {
    case IcmpSocket::Wait::Failed:
        return fail(error);
    case IcmpSocket::Wait::TimedOut:
        return fail(kProbeTimedOut);
    case IcmpSocket::Wait::Readable:
        break;
    }
    std::array<std::uint8_t, 1024> datagram{};
    std::uint32_t from = 0;
    const long length = socket->receive(datagram, from, error);
    const std::uint64_t end = clock_.counter();
    if (length < 0)
        return fail(error);

    const std::span<const std::uint8_t> received(datagram.data(), static_cast<std::size_t>(length));
    if (!isEchoReplyFor(received, socket->replyIdentifier(identifier), socket->layout()))
        return fail(kProbeUnexpectedReply);
    result.address = from;
    result.roundTripMs = static_cast<std::uint32_t>(((end - start) * 1000) / frequency_);
    return true;
}

} // namespace tessaly
