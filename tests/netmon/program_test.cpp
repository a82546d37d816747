// The program Linkscope in report mode: against loopback, and against a
// small routed network of namespaces (the monitor, two routers and the
// destination) where the machine allows it.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "netmon/RouteVerdict.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line; stdout is returned, stderr goes to a file.
Outcome run(const std::string& command)
{
    const std::string errFile = "/tmp/linkscope-test-" + std::to_string(::getpid()) + ".err";
    Outcome result;
    FILE* pipe = ::popen((command + " 2>" + errFile).c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    result.err = err.str();
    std::remove(errFile.c_str());
    return result;
}

std::string linkscope()
{
    const char* dist = std::getenv("TESSALY_DIST_DIR");
    return std::string(dist == nullptr ? "build/dist" : dist) + "/Linkscope";
}

QJsonObject parse(const std::string& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    return document.object();
}

std::vector<std::string> hopAddresses(const QJsonObject& report)
{
    std::vector<std::string> addresses;
    for (const QJsonValue& hop : report["route"].toObject()["hops"].toArray())
        addresses.push_back(hop.toObject()["ip"].toString().toStdString());
    return addresses;
}

std::string text(const QJsonObject& object, const char* key)
{
    return object[key].toString().toStdString();
}

TEST(LinkscopeReport, JsonHoldsTheSevenServersAgainstLoopback)
{
    const Outcome r = run("TESSALY_MONITOR_HOSTS='127.0.0.1,localhost,no-such-host.invalid,127.0.0.2,127.0.0.3,"
                      "127.0.0.4,127.0.0.5' " + linkscope() + " --report --cycles 1 --json");
    const QJsonObject report = parse(r.out);
    const QJsonArray servers = report["servers"].toArray();
    ASSERT_EQ(servers.size(), 7);
    EXPECT_EQ(text(servers[0].toObject(), "ip"), "127.0.0.1");
    EXPECT_FALSE(servers[2].toObject()["resolved"].toBool());
    if (r.status == 1) {   // this user may open no ICMP socket
        EXPECT_TRUE(report.contains("problem"));
        return;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(text(servers[0].toObject(), "connection"), "Excellent (100%)");
    EXPECT_EQ(servers[6].toObject()["sent"].toInt(), 1);
    EXPECT_EQ(hopAddresses(report), std::vector<std::string>({"127.0.0.1"}));
}

TEST(LinkscopeReport, RejectsUnknownArguments)
{
    const Outcome r = run(linkscope() + " --cycles 3");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: Linkscope"), std::string::npos);
}

// mon 10.77.1.2 -- 10.77.1.1 r1 10.77.2.1 -- 10.77.2.2 r2 10.77.3.1 -- 10.77.3.2 dst
class RoutedNetwork : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "building the namespace network needs root";
        if (run("ip netns list").status != 0)
            GTEST_SKIP() << "ip netns does not work here";
        const std::string id = std::to_string(::getpid());
        mon_ = "lsmon" + id;
        r1_ = "lsr1" + id;
        r2_ = "lsr2" + id;
        dst_ = "lsdst" + id;
        // Each link joins two namespaces with a veth pair: (namespace,
        // interface, address) at both ends.
        struct End {
            const std::string& ns;
            const char* device;
            const char* address;
        };
        const std::pair<End, End> links[] = {
            {{mon_, "m0", "10.77.1.2/24"}, {r1_, "in0", "10.77.1.1/24"}},
            {{r1_, "out0", "10.77.2.1/24"}, {r2_, "in0", "10.77.2.2/24"}},
            {{r2_, "out0", "10.77.3.1/24"}, {dst_, "d0", "10.77.3.2/24"}},
        };
        std::string script = "set -e\n";
        for (const std::string& n : {mon_, r1_, r2_, dst_})
            script += "ip netns add " + n + "; ip -n " + n + " link set lo up\n";
        for (const auto& [a, b] : links) {
            script += "ip -n " + a.ns + " link add name " + a.device + " type veth peer name " + b.device +
                      " netns " + b.ns + "\n";
            for (const End& end : {a, b})
                script += "ip -n " + end.ns + " addr add " + end.address + " dev " + end.device + "; ip -n " +
                          end.ns + " link set " + end.device + " up\n";
        }
        // The routers forward; no ICMP type is rate-limited, so none of their
        // "time exceeded" and "unreachable" messages the test waits for is
        // lost. (A zero icmp_ratelimit is not enough: each limited message
        // then empties the per-sender bucket that "net unreachable" for a
        // missing route draws from, a second's worth per message.)
        for (const std::string& router : {r1_, r2_})
            script += "ip netns exec " + router + " sh -c 'echo 1 >/proc/sys/net/ipv4/ip_forward; "
                      "echo 0 >/proc/sys/net/ipv4/icmp_ratemask'\n";
        script += "ip netns exec " + mon_ + " sh -c 'echo 0 2147483647 >/proc/sys/net/ipv4/ping_group_range'\n";
        const std::pair<const std::string&, const char*> routes[] = {
            {mon_, "default via 10.77.1.1"},
            {r1_, "10.77.3.0/24 via 10.77.2.2"},
            {r2_, "10.77.1.0/24 via 10.77.2.1"},
            {dst_, "default via 10.77.3.1"},
        };
        for (const auto& [ns, route] : routes)
            script += "ip -n " + ns + " route add " + route + "\n";
        // `ip netns exec` reads these in place of /etc/hosts and
        // /etc/resolv.conf: names for the hops, and no name server to wait for.
        etc_ = "/etc/netns/" + mon_;
        run("mkdir -p " + etc_);
        std::ofstream(etc_ + "/hosts") << "127.0.0.1 localhost\n10.77.1.1 router-one\n10.77.2.2 router-two\n"
                                          "10.77.3.2 room-server\n";
        std::ofstream(etc_ + "/resolv.conf") << "nameserver 127.0.0.1\noptions timeout:1 attempts:1\n";
        const std::string file = "/tmp/linkscope-net-" + id + ".sh";
        std::ofstream(file) << script;
        const Outcome built = run("sh " + file);
        std::remove(file.c_str());
        ASSERT_EQ(built.status, 0) << built.err;
        built_ = true;
    }
    void TearDown() override
    {
        for (const std::string& n : {mon_, r1_, r2_, dst_})
            if (!n.empty())
                run("ip netns del " + n);
        if (!etc_.empty())
            run("rm -rf " + etc_);
    }

    Outcome report(const char* socketKind, int cycles = 2)
    {
        // Row 0 the destination; row 1 beyond every route (r1 answers
        // "net unreachable"); row 2 no name at all.
        return run("ip netns exec " + mon_ + " env TESSALY_MONITOR_ICMP=" + socketKind +
                   " QT_LOGGING_RULES=tessaly.trace=true"
                   " TESSALY_MONITOR_HOSTS=10.77.3.2,10.77.9.9,no-such-host.invalid,10.77.1.1,10.77.2.2,10.77.3.1,"
                   "10.77.1.2 " + linkscope() + " --report --cycles " + std::to_string(cycles) + " --json");
    }

    void shell(const std::string& command)
    {
        const Outcome r = run(command);
        ASSERT_EQ(r.status, 0) << command << "\n" << r.err;
    }

    std::string mon_, r1_, r2_, dst_, etc_;
    bool built_ = false;
};

TEST_F(RoutedNetwork, TheTraceShowsBothRoutersAndTheDestinationOverEachSocket)
{
    for (const char* kind : {"raw", "datagram"}) {
        const Outcome r = report(kind);
        ASSERT_EQ(r.status, 0) << kind << "\n" << r.out << r.err;
        const QJsonObject result = parse(r.out);
        EXPECT_EQ(hopAddresses(result), std::vector<std::string>({"10.77.1.1", "10.77.2.2", "10.77.3.2"})) << kind << r.out;
        const QJsonArray hops = result["route"].toObject()["hops"].toArray();
        ASSERT_EQ(hops.size(), 3) << kind;
        EXPECT_EQ(text(hops[0].toObject(), "address"), "router-one") << kind;
        EXPECT_EQ(text(hops[2].toObject(), "address"), "room-server") << kind;
        EXPECT_EQ(hops[2].toObject()["hop"].toInt(), 3) << kind;
        const QJsonArray servers = result["servers"].toArray();
        ASSERT_EQ(servers.size(), 7);
        EXPECT_EQ(text(servers[0].toObject(), "connection"), "Excellent (100%)") << kind;
        EXPECT_EQ(servers[1].toObject()["lost"].toInt(), 2) << kind;
        EXPECT_EQ(text(servers[1].toObject(), "connection"), "Very Poor (0%)") << kind;
        // Every echo beyond the routes is answered "net unreachable", none times out.
        const std::regex unreachable("IP_DEST_NET_UNREACHABLE \\(11002\\)");
        EXPECT_EQ(std::distance(std::sregex_iterator(r.err.begin(), r.err.end(), unreachable), std::sregex_iterator()),
                  servers[1].toObject()["lost"].toInt()) << kind << r.err;
        // A router's answer to one echo does not fail the send of the next.
        for (const QJsonValue& hop : hops)
            EXPECT_EQ(hop.toObject()["lost"].toInt(), 0) << kind << r.out << r.err;
        EXPECT_EQ(servers[4].toObject()["sent"].toInt(), 2) << kind;
        EXPECT_EQ(servers[4].toObject()["lost"].toInt(), 0) << kind;
    }
}

// Holds packets between two namespaces for a while: a tunnel device in each
// (the link's two ends), and a thread that writes what one end sends to the
// other after `oneWay`. A delay on a link where the kernel has no netem.
class DelayRelay {
public:
    DelayRelay(const std::string& a, const std::string& b, std::chrono::milliseconds oneWay)
        : oneWay_(oneWay), ends_{openTunnel(a), openTunnel(b)}, wake_(::eventfd(0, EFD_CLOEXEC))
    {
        if (ends_[0] >= 0 && ends_[1] >= 0)
            thread_ = std::thread([this] { relay(); });
    }
    ~DelayRelay()
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
        if (thread_.joinable())
            thread_.join();
        for (const int fd : {ends_[0], ends_[1], wake_})
            if (fd >= 0)
                ::close(fd);
    }
    bool open() const { return thread_.joinable(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Held {
        Clock::time_point due;
        int to;
        std::vector<char> packet;
    };

    // A tunnel device "t0" in the namespace, opened from a thread that
    // enters it (the device stays where it was made).
    static int openTunnel(const std::string& ns)
    {
        int fd = -1;
        std::thread([&] {
            const int space = ::open(("/var/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
            if (space < 0 || ::setns(space, CLONE_NEWNET) != 0)
                return;
            ::close(space);
            fd = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
            ifreq request{};
            request.ifr_flags = IFF_TUN | IFF_NO_PI;
            std::strcpy(request.ifr_name, "t0");
            if (fd >= 0 && ::ioctl(fd, TUNSETIFF, &request) != 0) {
                ::close(fd);
                fd = -1;
            }
        }).join();
        return fd;
    }

    void relay()
    {
        std::deque<Held> held;
        for (;;) {
            int wait = -1;
            if (!held.empty())
                wait = static_cast<int>(std::max<long>(
                    0, std::chrono::ceil<std::chrono::milliseconds>(held.front().due - Clock::now()).count()));
            pollfd fds[3] = {{ends_[0], POLLIN, 0}, {ends_[1], POLLIN, 0}, {wake_, POLLIN, 0}};
            if (::poll(fds, 3, wait) < 0 || (fds[2].revents & POLLIN))
                return;
            for (int end = 0; end < 2; ++end) {
                if (!(fds[end].revents & POLLIN))
                    continue;
                std::vector<char> packet(2048);
                const ssize_t n = ::read(ends_[end], packet.data(), packet.size());
                if (n > 0) {
                    packet.resize(static_cast<std::size_t>(n));
                    held.push_back({Clock::now() + oneWay_, ends_[1 - end], std::move(packet)});
                }
            }
            while (!held.empty() && held.front().due <= Clock::now()) {
                [[maybe_unused]] const ssize_t n = ::write(held.front().to, held.front().packet.data(),
                                                           held.front().packet.size());
                held.pop_front();
            }
        }
    }

    std::chrono::milliseconds oneWay_;
    int ends_[2];
    int wake_;
    std::thread thread_;
};

// One hop's loss and average, as Linkscope or mtr reports it.
struct HopFigure {
    std::string ip;
    double loss = 0;
    double average = 0;
};

// The route network under trouble: Linkscope's report against mtr's on the
// same route, hop by hop.
class TroubledRoute : public RoutedNetwork {
protected:
    void SetUp() override
    {
        if (::geteuid() == 0 && (run("command -v mtr").status != 0 || run("command -v iptables").status != 0))
            GTEST_SKIP() << "needs mtr (mtr-tiny) and iptables: scripts/install-deps installs them";
        RoutedNetwork::SetUp();
    }

    void in(const std::string& ns, const std::string& command) { shell("ip netns exec " + ns + " " + command); }

    // Linkscope's report on the route to the destination (row 0).
    QJsonObject linkscopeReport()
    {
        const Outcome r = report("raw", 8);
        EXPECT_EQ(r.status, 0) << r.err;
        return parse(r.out);
    }

    std::vector<HopFigure> linkscopeHops(const QJsonObject& report)
    {
        std::vector<HopFigure> hops;
        for (const QJsonValue& value : report["route"].toObject()["hops"].toArray()) {
            const QJsonObject hop = value.toObject();
            hops.push_back({hop["ip"].toString().toStdString(), hop["loss"].toDouble(), hop["avg"].toDouble()});
            // An average lies between best and worst, whatever was lost.
            if (hop["sent"].toInt() > hop["lost"].toInt()) {
                EXPECT_LE(hop["best"].toDouble(), hop["avg"].toDouble());
                EXPECT_LE(hop["avg"].toDouble(), hop["worst"].toDouble());
            }
        }
        return hops;
    }

    std::vector<HopFigure> mtrHops()
    {
        const Outcome r = run("ip netns exec " + mon_ + " mtr --report -n -c 30 -i 0.2 10.77.3.2");
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<HopFigure> hops;
        const std::regex line(R"(^\s*\d+\.\|--\s+(\S+)\s+([\d.]+)%\s+\d+\s+[\d.]+\s+([\d.]+))");
        std::istringstream lines(r.out);
        for (std::string text; std::getline(lines, text);)
            if (std::smatch m; std::regex_search(text, m, line))
                hops.push_back({m[1], std::stod(m[2]), std::stod(m[3])});
        return hops;
    }

    // Both tools see the same hops, with loss within 10 points and averages
    // within 2 ms.
    void agreeWithMtr(const std::vector<HopFigure>& ours, const char* what)
    {
        const std::vector<HopFigure> theirs = mtrHops();
        ASSERT_EQ(ours.size(), theirs.size()) << what;
        for (std::size_t h = 0; h < ours.size(); ++h) {
            std::cout << what << " hop " << h + 1 << " " << ours[h].ip << ": Linkscope loss " << ours[h].loss
                      << "% avg " << ours[h].average << " ms | mtr loss " << theirs[h].loss << "% avg "
                      << theirs[h].average << " ms\n";
            EXPECT_EQ(ours[h].ip, theirs[h].ip) << what;
            EXPECT_LE(std::abs(ours[h].loss - theirs[h].loss), 10.0) << what << " hop " << h + 1;
            EXPECT_LE(std::abs(ours[h].average - theirs[h].average), 2.0) << what << " hop " << h + 1;
        }
    }

    static std::string verdictOf(const QJsonObject& report, int hop)
    {
        return report["route"].toObject()["hops"].toArray()[hop - 1].toObject()["verdict"].toString().toStdString();
    }
};

TEST_F(TroubledRoute, ARouterThatAnswersEveryOtherEchoOnlyLimitsItsReplies)
{
    // r1 drops every other "time exceeded" of its own; it forwards all.
    in(r1_, "iptables -A OUTPUT -p icmp --icmp-type time-exceeded -m statistic --mode nth --every 2 --packet 0 -j DROP");
    const QJsonObject report = linkscopeReport();
    const std::vector<HopFigure> hops = linkscopeHops(report);
    ASSERT_EQ(hops.size(), 3u);
    EXPECT_NEAR(hops[0].loss, 50, 10);
    EXPECT_EQ(hops[1].loss, 0);
    EXPECT_EQ(hops[2].loss, 0);
    EXPECT_EQ(verdictOf(report, 1), tessaly::netmon::kLimitsRepliesText);
    EXPECT_EQ(report["route"].toObject()["verdict"].toString().toStdString(),
              std::string("hop 1: ") + tessaly::netmon::kLimitsRepliesText);
    agreeWithMtr(hops, "limited replies");
}

TEST_F(TroubledRoute, LossOnTheLastLinkIsLossFromHopThreeOn)
{
    // r2 forwards only three of every four echo requests to the destination.
    in(r2_, "iptables -A FORWARD -o out0 -p icmp --icmp-type echo-request -m statistic --mode nth --every 4 --packet 0 -j DROP");
    const QJsonObject report = linkscopeReport();
    const std::vector<HopFigure> hops = linkscopeHops(report);
    ASSERT_EQ(hops.size(), 3u);
    EXPECT_EQ(hops[0].loss, 0);
    EXPECT_EQ(hops[1].loss, 0);
    EXPECT_NEAR(hops[2].loss, 25, 12);
    EXPECT_EQ(verdictOf(report, 3), tessaly::netmon::lossFromText(3));
    EXPECT_EQ(report["route"].toObject()["verdict"].toString().toStdString(), tessaly::netmon::lossFromText(3));
    agreeWithMtr(hops, "lossy last link");
}

TEST_F(TroubledRoute, DelayOnTheSecondLinkIsDelayAddedAtHopTwo)
{
    // The link r1 - r2 becomes a tunnel through a relay that holds every
    // packet 25 ms each way.
    DelayRelay relay(r1_, r2_, std::chrono::milliseconds(25));
    ASSERT_TRUE(relay.open()) << "no tunnel devices here";
    shell("ip -n " + r1_ + " link del out0");
    for (const auto& [ns, address, route] :
         {std::tuple{r1_, "10.77.2.1/24", "10.77.3.0/24 via 10.77.2.2"},
          std::tuple{r2_, "10.77.2.2/24", "10.77.1.0/24 via 10.77.2.1"}})
        shell("ip -n " + ns + " addr add " + address + " dev t0 && ip -n " + ns + " link set t0 up && ip -n " + ns +
              " route add " + route);
    const QJsonObject report = linkscopeReport();
    const std::vector<HopFigure> hops = linkscopeHops(report);
    ASSERT_EQ(hops.size(), 3u);
    EXPECT_LT(hops[0].average, 5);
    EXPECT_NEAR(hops[1].average, 50, 5);
    EXPECT_NEAR(hops[2].average, 50, 5);
    EXPECT_EQ(verdictOf(report, 2), tessaly::netmon::delayAddedText(2));
    EXPECT_EQ(report["route"].toObject()["verdict"].toString().toStdString(), tessaly::netmon::delayAddedText(2));
    agreeWithMtr(hops, "delayed link");
}

} // namespace
