#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "client/net/LatencyProbe.h"
#include "client/net/SystemProbeClock.h"
#include "platform/icmp/EchoPacket.h"
#include "platform/icmp/IcmpNetwork.h"
#include "tests/support/FakeIcmpNetwork.h"

namespace tessaly {
namespace {

using testing::FakeIcmpNetwork;
using testing::FakeProbeClock;
using testing::IcmpScript;
using testing::ipDatagram;

std::uint16_t ownIdentifier()
{
    return static_cast<std::uint16_t>(::getpid() & 0xFFFF);
}

TEST(EchoPacket, LaysOutTheRequest)
{
    const std::vector<std::uint8_t> p = buildEchoRequest(0xBEEF, 0xA1B2C3D4, 32);
    ASSERT_EQ(p.size(), 44u);
    EXPECT_EQ(p[0], 8);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(rawIdentifierAt(p), 0xBEEF);
    std::uint16_t sequence = 1;
    std::uint32_t stamp = 0;
    std::memcpy(&sequence, p.data() + 6, 2);
    std::memcpy(&stamp, p.data() + 8, 4);
    EXPECT_EQ(sequence, 0);
    EXPECT_EQ(stamp, 0xA1B2C3D4u);
    for (std::size_t i = 12; i < p.size(); ++i)
        EXPECT_EQ(p[i], 69) << i;
    // A correct checksum makes the whole packet sum to zero.
    EXPECT_EQ(internetChecksum(p), 0);
    EXPECT_EQ(buildEchoRequest(1, 2, 8).size(), 20u);
    EXPECT_EQ(buildEchoRequest(1, 2, 255).size(), 267u);
}

TEST(EchoPacket, ChecksumFollowsTheOnesComplementSum)
{
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::uint16_t sum;   // as the words read from memory on this machine
    };
    // The RFC 1071 example 00 01 f2 03 f4 f5 f6 f7 sums to ddf2 in network
    // order; read as little-endian words the complement is 0d22.
    const Case cases[] = {
        {{}, 0xFFFF},
        {{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}, 0x0D22},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0x0000},   // carries fold back in
        {{0x01}, 0xFFFE},                     // a trailing byte is added alone
        {{0x00, 0x00, 0x01}, 0xFFFE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(internetChecksum(c.bytes), c.sum) << c.bytes.size();
}

TEST(EchoPacket, AcceptsOnlyThisProcesssEchoReply)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> datagram;
        DatagramLayout layout;
        bool valid;
    };
    std::vector<std::uint8_t> options = ipDatagram(0, 0x1234, 24);
    std::vector<std::uint8_t> bare(8, 0);
    std::memcpy(bare.data() + 4, "\x34\x12", 2);
    std::vector<std::uint8_t> tooShort = ipDatagram(0, 0x1234);
    tooShort.resize(27);
    const Case cases[] = {
        {"echo reply", ipDatagram(0, 0x1234), DatagramLayout::WithIpHeader, true},
        {"header with options", options, DatagramLayout::WithIpHeader, true},
        {"another process's reply", ipDatagram(0, 0x4321), DatagramLayout::WithIpHeader, false},
        {"destination unreachable", ipDatagram(3, 0x1234), DatagramLayout::WithIpHeader, false},
        {"echo request", ipDatagram(8, 0x1234), DatagramLayout::WithIpHeader, false},
        {"shorter than h + 8", tooShort, DatagramLayout::WithIpHeader, false},
        {"empty", {}, DatagramLayout::WithIpHeader, false},
        {"datagram socket, no IP header", bare, DatagramLayout::IcmpOnly, true},
        {"datagram socket, 7 bytes", std::vector<std::uint8_t>(bare.begin(), bare.end() - 1), DatagramLayout::IcmpOnly,
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isEchoReplyFor(c.datagram, 0x1234, c.layout), c.valid) << c.what;
}

TEST(LatencyGate, RefusesOnlyAValidSlowReply)
{
    EXPECT_FALSE(latencyGateRefuses(true, ProbeResult{1, 1000}));
    EXPECT_TRUE(latencyGateRefuses(true, ProbeResult{1, 1001}));
    EXPECT_FALSE(latencyGateRefuses(false, ProbeResult{1, 5000}));
    EXPECT_FALSE(latencyGateRefuses(true, ProbeResult{1, 0}));
}

class ProbeSteps : public ::testing::Test {
protected:
    bool run(std::uint8_t payload = 32)
    {
        return probe.probe("reference.example", result, 10, 5000, payload);
    }

    IcmpScript script;
    FakeIcmpNetwork network{script};
    FakeProbeClock clock;
    LatencyProbe probe{network, clock};
    ProbeResult result{7, 7};
};

TEST_F(ProbeSteps, TimesAValidReplyAndReportsItsSender)
{
    script.datagram = ipDatagram(0, ownIdentifier());
    script.from = 0x0A0B0C0D;
    clock.steps = {1234567};   // 1,234.567 ms between send and receive
    ASSERT_TRUE(run());
    EXPECT_EQ(result.address, 0x0A0B0C0Du);
    EXPECT_EQ(result.roundTripMs, 1234u);   // truncated
    EXPECT_EQ(script.resolvedHost, "reference.example");
    EXPECT_EQ(script.sentTo, 0x0100007Fu);
    EXPECT_EQ(script.waitedMs, 5000u);
    ASSERT_EQ(script.sent.size(), 44u);
    EXPECT_EQ(rawIdentifierAt(script.sent), ownIdentifier());
    std::uint32_t stamp = 0;
    std::memcpy(&stamp, script.sent.data() + 8, 4);
    EXPECT_EQ(stamp, clock.ticks);
}

TEST_F(ProbeSteps, DatagramSocketRepliesCarryTheKernelsIdentifier)
{
    script.layout = DatagramLayout::IcmpOnly;
    script.kernelIdentifier = static_cast<std::uint16_t>(ownIdentifier() ^ 0x5A5A);
    std::vector<std::uint8_t> reply(40, 69);
    reply[0] = 0;
    std::memcpy(reply.data() + 4, &*script.kernelIdentifier, 2);
    script.datagram = reply;
    EXPECT_TRUE(run());
}

TEST_F(ProbeSteps, EachFailureLeavesItsErrorAndTheResultUntouched)
{
    struct Case {
        const char* what;
        void (*arrange)(IcmpScript&);
        std::uint8_t payload;
        int error;
    };
    const Case cases[] = {
        {"payload below 8", [](IcmpScript&) {}, 7, kProbeNoBufferSpace},
        {"unresolvable host", [](IcmpScript& s) { s.resolves = false; s.resolveError = -2; }, 32, -2},
        {"no ICMP socket allowed", [](IcmpScript& s) { s.opens = false; s.openError = 1; }, 32, 1},
        {"send fails", [](IcmpScript& s) { s.sendError = 101; }, 32, 101},
        {"wait fails", [](IcmpScript& s) { s.wait = IcmpSocket::Wait::Failed; s.waitError = 9; }, 32, 9},
        {"no reply in time", [](IcmpScript& s) { s.wait = IcmpSocket::Wait::TimedOut; }, 32, kProbeTimedOut},
        {"receive fails", [](IcmpScript& s) { s.receiveError = 104; }, 32, 104},
        {"another process's reply",
         [](IcmpScript& s) { s.datagram = ipDatagram(0, static_cast<std::uint16_t>(ownIdentifier() + 1)); }, 32,
         kProbeUnexpectedReply},
        {"time exceeded", [](IcmpScript& s) { s.datagram = ipDatagram(11, ownIdentifier()); }, 32,
         kProbeUnexpectedReply},
    };
    for (const Case& c : cases) {
        IcmpScript fresh;
        fresh.datagram = ipDatagram(0, ownIdentifier());
        script = fresh;
        c.arrange(script);
        result = ProbeResult{7, 7};
        EXPECT_FALSE(run(c.payload)) << c.what;
        EXPECT_EQ(probe.lastError(), c.error) << c.what;
        EXPECT_EQ(result.address, 7u) << c.what;
        EXPECT_EQ(result.roundTripMs, 7u) << c.what;
    }
}

TEST_F(ProbeSteps, WithoutACounterNothingIsSent)
{
    clock.hz = 0;
    script.datagram = ipDatagram(0, ownIdentifier());
    EXPECT_FALSE(run());
    EXPECT_EQ(script.socketsOpened, 0);
    EXPECT_TRUE(script.sent.empty());
}

// The real socket against loopback: where this machine lets us open an ICMP
// socket the echo must come back; where it does not, the probe must fail
// quietly with the socket's error.
TEST(SystemLatencyProbe, ProbesLoopbackOrFailsQuietly)
{
    SystemIcmpNetwork network;
    SystemProbeClock clock;
    LatencyProbe probe(network, clock);
    int error = 0;
    const bool canOpen = network.open(error) != nullptr;
    ProbeResult result;
    const bool ok = probe.probe("127.0.0.1", result, kGateProbeCount, 2000, kGatePayloadSize);
    if (canOpen) {
        ASSERT_TRUE(ok) << "last error " << probe.lastError();
        EXPECT_EQ(result.address, 0x0100007Fu);
        EXPECT_FALSE(latencyGateRefuses(ok, result));
    } else {
        EXPECT_FALSE(ok);
        EXPECT_EQ(probe.lastError(), error);
    }
}

TEST(SystemLatencyProbe, ResolvesDottedAddressesAndRefusesBadNames)
{
    SystemIcmpNetwork network;
    std::uint32_t address = 0;
    int error = 0;
    ASSERT_TRUE(network.resolve("127.0.0.1", address, error));
    EXPECT_EQ(address, 0x0100007Fu);
    EXPECT_FALSE(network.resolve("no-such-host.invalid", address, error));
    EXPECT_NE(error, 0);
}

} // namespace
} // namespace tessaly
