#include "platform/icmp/EchoPacket.h"

#include <cstring>

namespace tessaly {

std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint16_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        sum += word;
    }
    if (i < bytes.size())
        sum += bytes[i];
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::vector<std::uint8_t> buildEchoPacket(std::uint16_t identifier, std::uint16_t sequence,
                                          std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> packet(kIcmpHeaderSize + data.size(), 0);
    packet[0] = kEchoRequestType;
    std::memcpy(packet.data() + 4, &identifier, 2);
    std::memcpy(packet.data() + 6, &sequence, 2);
    if (!data.empty())
        std::memcpy(packet.data() + kIcmpHeaderSize, data.data(), data.size());
    const std::uint16_t checksum = internetChecksum(packet);
    std::memcpy(packet.data() + 2, &checksum, 2);
    return packet;
}

std::vector<std::uint8_t> buildEchoRequest(std::uint16_t identifier, std::uint32_t tickCount,
                                           std::uint8_t payloadSize)
{
    // The tick count leads the data, in the place of the monitor's first bytes.
    std::vector<std::uint8_t> data(kEchoHeaderSize - kIcmpHeaderSize + payloadSize, kEchoPayloadByte);
    std::memcpy(data.data(), &tickCount, 4);
    return buildEchoPacket(identifier, 0, data);
}

std::uint16_t rawIdentifierAt(std::span<const std::uint8_t> icmp)
{
    std::uint16_t id = 0;
    if (icmp.size() >= 6)
        std::memcpy(&id, icmp.data() + 4, sizeof id);
    return id;
}

std::uint16_t rawSequenceAt(std::span<const std::uint8_t> icmp)
{
    std::uint16_t sequence = 0;
    if (icmp.size() >= 8)
        std::memcpy(&sequence, icmp.data() + 6, sizeof sequence);
    return sequence;
}

std::span<const std::uint8_t> icmpPart(std::span<const std::uint8_t> datagram, DatagramLayout layout)
{
    if (layout == DatagramLayout::IcmpOnly)
        return datagram;
    if (datagram.empty())
        return {};
    const std::size_t h = static_cast<std::size_t>(datagram[0] & 15) * 4;
    return datagram.size() < h ? std::span<const std::uint8_t>{} : datagram.subspan(h);
}

bool isEchoReplyFor(std::span<const std::uint8_t> datagram, std::uint16_t identifier, DatagramLayout layout)
{
    if (layout == DatagramLayout::WithIpHeader && datagram.empty())
        return false;
    const auto icmp = icmpPart(datagram, layout);
    if (icmp.size() < kIcmpHeaderSize)
        return false;
    return icmp[0] == kEchoReplyType && rawIdentifierAt(icmp) == identifier;
}

IcmpAnswer readIcmpAnswer(std::span<const std::uint8_t> icmp)
{
    constexpr std::uint8_t kUnreachable = 3, kSourceQuench = 4, kTimeExceeded = 11, kParameterProblem = 12;
    IcmpAnswer answer;
    if (icmp.size() < kIcmpHeaderSize)
        return answer;
    answer.type = icmp[0];
    answer.code = icmp[1];
    if (answer.type == kEchoReplyType) {
        answer.kind = IcmpAnswer::Kind::EchoReply;
        answer.identifier = rawIdentifierAt(icmp);
        answer.sequence = rawSequenceAt(icmp);
        return answer;
    }
    if (answer.type != kUnreachable && answer.type != kSourceQuench && answer.type != kTimeExceeded &&
        answer.type != kParameterProblem)
        return answer;
    // The quoted request: its IP header, then at least 8 bytes of the echo.
    const auto quoted = icmpPart(icmp.subspan(kIcmpHeaderSize), DatagramLayout::WithIpHeader);
    if (quoted.size() < kIcmpHeaderSize || quoted[0] != kEchoRequestType)
        return answer;
    answer.kind = IcmpAnswer::Kind::Error;
    answer.identifier = rawIdentifierAt(quoted);
    answer.sequence = rawSequenceAt(quoted);
    return answer;
}

} // namespace tessaly
