#pragma once
// The echo request of the start-up latency probe and the checks on what comes
// back, as pure functions over bytes.
//
// Multi-byte fields are written in the machine's own byte order, as they lie
// in memory; a reply echoes them back unchanged, so the identifier of a reply
// is compared as the same raw 16 bits.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

inline constexpr std::size_t kEchoHeaderSize = 12;   // type, code, checksum, identifier, sequence, timestamp
inline constexpr std::uint8_t kEchoRequestType = 8;
inline constexpr std::uint8_t kEchoReplyType = 0;
inline constexpr std::uint8_t kEchoPayloadByte = 69;  // "E"

// The Internet checksum: one's-complement sum of the 16-bit words as read
// from memory, a trailing odd byte added alone, carries folded twice.
std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes);

// Type 8, code 0, checksum, identifier, sequence 0, the tick count, then
// payloadSize bytes of 69: payloadSize + 12 bytes in all.
std::vector<std::uint8_t> buildEchoRequest(std::uint16_t identifier, std::uint32_t tickCount,
                                           std::uint8_t payloadSize);

// Where the ICMP message starts in a received datagram.
enum class DatagramLayout {
    WithIpHeader,   // raw sockets: the IPv4 header comes first, its length in the low nibble
    IcmpOnly,       // ICMP datagram sockets: the kernel strips the IP header
};

// True when the datagram is an echo reply (type 0) carrying the identifier.
// Code, checksum, sequence and payload are not examined.
bool isEchoReplyFor(std::span<const std::uint8_t> datagram, std::uint16_t identifier, DatagramLayout layout);

// The 16 bits at offset 4 of an ICMP message, as they lie in memory.
std::uint16_t rawIdentifierAt(std::span<const std::uint8_t> icmp);

} // namespace tessaly
