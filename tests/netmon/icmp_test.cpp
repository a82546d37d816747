#include <gtest/gtest.h>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "netmon/PingWorker.h"
#include "platform/icmp/EchoPacket.h"
#include "platform/icmp/IcmpEcho.h"
#include "tests/support/ScriptedMonitor.h"

namespace tessaly {
namespace {

using testing::ipv4;

const std::uint32_t kLoopback = ipv4(127, 0, 0, 1);

// An ICMP error message as a router sends it (without the outer IP
// header): type, code, then the request's IP header and its first 8 bytes.
std::vector<std::uint8_t> errorQuoting(std::uint8_t type, std::uint8_t code, const std::vector<std::uint8_t>& request)
{
    std::vector<std::uint8_t> message(8, 0);
    message[0] = type;
    message[1] = code;
    std::vector<std::uint8_t> ip(20, 0);
    ip[0] = 0x45;
    ip[9] = 1;
    message.insert(message.end(), ip.begin(), ip.end());
    message.insert(message.end(), request.begin(), request.begin() + 8);
    return message;
}

TEST(IcmpAnswer, ReadsRepliesAndTheRequestThatAnErrorQuotes)
{
    const std::uint8_t data[4] = {1, 2, 3, 4};
    const std::vector<std::uint8_t> request = buildEchoPacket(0x1234, 0x0042, data);
    std::vector<std::uint8_t> reply = request;
    reply[0] = kEchoReplyType;
    const std::vector<std::uint8_t> quotedReply = errorQuoting(11, 0, reply);   // not a request of ours
    std::vector<std::uint8_t> truncated = errorQuoting(11, 0, request);
    truncated.pop_back();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> icmp;
        IcmpAnswer::Kind kind;
        std::uint8_t type;
    };
    const Case cases[] = {
        {"echo reply", reply, IcmpAnswer::Kind::EchoReply, 0},
        {"time exceeded", errorQuoting(11, 0, request), IcmpAnswer::Kind::Error, 11},
        {"host unreachable", errorQuoting(3, 1, request), IcmpAnswer::Kind::Error, 3},
        {"an error quoting a reply", quotedReply, IcmpAnswer::Kind::Other, 11},
        {"redirect", errorQuoting(5, 1, request), IcmpAnswer::Kind::Other, 5},
        {"truncated quote", truncated, IcmpAnswer::Kind::Other, 11},
        {"seven bytes", std::vector<std::uint8_t>(reply.begin(), reply.begin() + 7), IcmpAnswer::Kind::Other, 0},
    };
    for (const Case& c : cases) {
        const IcmpAnswer answer = readIcmpAnswer(c.icmp);
        EXPECT_EQ(answer.kind, c.kind) << c.what;
        EXPECT_EQ(answer.type, c.type) << c.what;
        if (c.kind != IcmpAnswer::Kind::Other) {
            EXPECT_EQ(answer.identifier, 0x1234) << c.what;
            EXPECT_EQ(answer.sequence, 0x0042) << c.what;
        }
    }
}

TEST(IcmpStatus, MapsIcmpErrorsAndSendErrorsToIpStatusCodes)
{
    struct Case {
        std::uint8_t type, code;
        int status;
    };
    const Case cases[] = {
        {11, 0, 11013}, {11, 1, 11014}, {3, 0, 11002}, {3, 6, 11002}, {3, 1, 11003}, {3, 7, 11003},
        {3, 10, 11003}, {3, 13, 11003}, {3, 2, 11004}, {3, 3, 11005}, {3, 4, 11009}, {12, 0, 11015},
        {4, 0, 11016},  {5, 0, 11050},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statusForIcmpError(c.type, c.code), c.status) << int(c.type) << "/" << int(c.code);
    EXPECT_EQ(statusForSendError(ENETUNREACH), 11002);
    EXPECT_EQ(statusForSendError(EHOSTUNREACH), 11003);
    EXPECT_EQ(statusForSendError(EPERM), 11050);
}

EchoResult echoOnce(EchoPort& port, std::uint32_t address, std::uint32_t timeoutMs = 2000, std::uint8_t ttl = 128,
                    std::stop_token stop = {})
{
    return port.echo(address, ttl, timeoutMs, netmon::echoRequestData(), stop);
}

TEST(SystemEchoPort, LoopbackAnswersOverWhicheverSocketIsAllowed)
{
    int error = 0;
    auto port = SystemEchoPort::open(IcmpSocketKind::Any, error);
    if (!port)
        GTEST_SKIP() << "no ICMP socket may be opened here: " << std::strerror(error);
    for (std::uint8_t ttl : {1, 128}) {
        const EchoResult result = echoOnce(*port, kLoopback, 2000, ttl);
        EXPECT_EQ(result.status, 0) << int(ttl);
        EXPECT_EQ(result.from, kLoopback);
        EXPECT_LT(result.roundTripUs, 2000000u);
    }
}

// Runs `body` on a thread of its own in a fresh network namespace with the
// loopback up, ICMP datagram sockets allowed for every group and `ignore`
// written to icmp_echo_ignore_all. False (and why) where that is not possible.
bool inFreshNetwork(const std::function<void()>& body, std::string& why, bool ignoreEchoes = false)
{
    bool ran = false;
    std::thread([&] {
        if (::unshare(CLONE_NEWNET) != 0) {
            why = std::string("no network namespace: ") + std::strerror(errno);
            return;
        }
        const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ifreq lo{};
        std::strcpy(lo.ifr_name, "lo");
        lo.ifr_flags = IFF_UP;
        const bool up = ::ioctl(s, SIOCSIFFLAGS, &lo) == 0;
        ::close(s);
        std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "0 2147483647";
        std::ofstream("/proc/sys/net/ipv4/icmp_echo_ignore_all") << (ignoreEchoes ? "1" : "0");
        if (!up) {
            why = "cannot bring the loopback up";
            return;
        }
        body();
        ran = true;
    }).join();
    return ran;
}

TEST(SystemEchoPort, EachSocketKindEchoesAndReportsAMissingRoute)
{
    for (const IcmpSocketKind kind : {IcmpSocketKind::Raw, IcmpSocketKind::Datagram}) {
        const char* name = kind == IcmpSocketKind::Raw ? "raw" : "datagram";
        std::string why;
        const bool ran = inFreshNetwork(
            [&] {
                int error = 0;
                auto port = SystemEchoPort::open(kind, error);
                ASSERT_TRUE(port) << name << ": " << std::strerror(error);
                EXPECT_EQ(port->layout(),
                          kind == IcmpSocketKind::Raw ? DatagramLayout::WithIpHeader : DatagramLayout::IcmpOnly);
                const EchoResult reply = echoOnce(*port, kLoopback);
                EXPECT_EQ(reply.status, 0) << name;
                EXPECT_EQ(reply.from, kLoopback) << name;
                EXPECT_EQ(echoOnce(*port, ipv4(10, 1, 2, 3)).status, ipstatus::kDestNetUnreachable) << name;

                // Two requests on their way at once: each answer names its own.
                const auto data = netmon::echoRequestData();
                const EchoSent first = port->send(kLoopback, 64, data);
                const EchoSent second = port->send(kLoopback, 64, data);
                std::vector<std::uint16_t> answered;
                for (int i = 0; i < 2; ++i)
                    if (const auto answer = port->receive(2000, {}))
                        answered.push_back(answer->sequence);
                EXPECT_EQ(answered, (std::vector<std::uint16_t>{first.sequence, second.sequence})) << name;
            },
            why);
        if (!ran)
            GTEST_SKIP() << why;
    }
}

TEST(SystemEchoPort, ASilentHostTimesOutAndAStopEndsTheWaitAtOnce)
{
    std::string why;
    const bool ran = inFreshNetwork(
        [&] {
            int error = 0;
            auto port = SystemEchoPort::open(IcmpSocketKind::Any, error);
            ASSERT_TRUE(port);
            EXPECT_EQ(echoOnce(*port, kLoopback, 200).status, ipstatus::kReqTimedOut);

            std::stop_source stop;
            EchoResult result{ipstatus::kSuccess, 1, 1};
            std::thread waiting([&] { result = echoOnce(*port, kLoopback, 600000, 128, stop.get_token()); });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));   // let the wait begin
            stop.request_stop();
            waiting.join();   // ten minutes if the stop went unheard
            EXPECT_EQ(result.status, ipstatus::kReqTimedOut);
        },
        why, true);
    if (!ran)
        GTEST_SKIP() << why;
}

} // namespace
} // namespace tessaly
