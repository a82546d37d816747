#pragma once
// ICMP echo requests and the answers to them, as pure functions over bytes:
// the latency probe's request, the monitor's echoes with a sequence number,
// and the reading of echo replies and of the error messages that quote a
// request (time exceeded, destination unreachable).
//
// Multi-byte fields are written in the machine's own byte order, as they lie
// in memory; a reply echoes them back unchanged, so the identifier and the
// sequence of a reply are compared as the same raw 16 bits.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

inline constexpr std::size_t kEchoHeaderSize = 12;   // type, code, checksum, identifier, sequence, timestamp
inline constexpr std::uint8_t kEchoRequestType = 8;
inline constexpr std::uint8_t kEchoReplyType = 0;
inline constexpr std::uint8_t kEchoPayloadByte = 69;  // "E"
inline constexpr std::size_t kIcmpHeaderSize = 8;     // type, code, checksum, identifier, sequence

// The Internet checksum: one's-complement sum of the 16-bit words as read
// from memory, a trailing odd byte added alone, carries folded twice.
std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes);

// Type 8, code 0, checksum, identifier, sequence, then the data as given.
std::vector<std::uint8_t> buildEchoPacket(std::uint16_t identifier, std::uint16_t sequence,
                                          std::span<const std::uint8_t> data);

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
// The 16 bits at offset 6 (the sequence), as they lie in memory.
std::uint16_t rawSequenceAt(std::span<const std::uint8_t> icmp);

// What one ICMP message (without IP header) says about one of our echo
// requests. An error message quotes the request's IP header and its first
// 8 bytes, so identifier and sequence are those of the request it answers.
struct IcmpAnswer {
    enum class Kind { EchoReply, Error, Other } kind = Kind::Other;
    std::uint8_t type = 0;
    std::uint8_t code = 0;
    std::uint16_t identifier = 0;   // raw memory order
    std::uint16_t sequence = 0;     // raw memory order
};
IcmpAnswer readIcmpAnswer(std::span<const std::uint8_t> icmp);

// The ICMP message inside a datagram of the given layout; empty when the
// datagram is too short for its own IP header.
std::span<const std::uint8_t> icmpPart(std::span<const std::uint8_t> datagram, DatagramLayout layout);

} // namespace tessaly
