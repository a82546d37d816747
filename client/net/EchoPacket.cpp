#include "client/net/EchoPacket.h"

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

std::vector<std::uint8_t> buildEchoRequest(std::uint16_t identifier, std::uint32_t tickCount,
                                           std::uint8_t payloadSize)
{
    std::vector<std::uint8_t> packet(kEchoHeaderSize + payloadSize, kEchoPayloadByte);
    packet[0] = kEchoRequestType;
    packet[1] = 0;
    const std::uint16_t zero = 0;
    std::memcpy(packet.data() + 2, &zero, 2);
    std::memcpy(packet.data() + 4, &identifier, 2);
    std::memcpy(packet.data() + 6, &zero, 2);
    std::memcpy(packet.data() + 8, &tickCount, 4);
    const std::uint16_t checksum = internetChecksum(packet);
    std::memcpy(packet.data() + 2, &checksum, 2);
    return packet;
}

std::uint16_t rawIdentifierAt(std::span<const std::uint8_t> icmp)
{
    std::uint16_t id = 0;
    if (icmp.size() >= 6)
        std::memcpy(&id, icmp.data() + 4, sizeof id);
    return id;
}

bool isEchoReplyFor(std::span<const std::uint8_t> datagram, std::uint16_t identifier, DatagramLayout layout)
{
    std::size_t h = 0;
    if (layout == DatagramLayout::WithIpHeader) {
        if (datagram.empty())
            return false;
        h = static_cast<std::size_t>(datagram[0] & 15) * 4;
    }
    if (datagram.size() < h + 8)
        return false;
    const auto icmp = datagram.subspan(h);
    return icmp[0] == kEchoReplyType && rawIdentifierAt(icmp) == identifier;
}

} // namespace tessaly
